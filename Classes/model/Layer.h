#pragma once

#include "Classes/model/RedrawRegion.h"
#include "Classes/model/Stroke.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

class Brush;
class PatternManager;

// A canvas in the canvas format (premultiplied BGRA words, y growing upward, so
// the first memory row is the painting's bottom edge) and the memory under it.
struct LayerCanvas {
    // Declared before the context so that it outlives it.
    std::unique_ptr<uint8_t[]> memory;
    std::unique_ptr<platform::BitmapContext> context;

    int width() const { return context->width(); }
    int height() const { return context->height(); }
    // Draws the canvas upright into a top-left-origin context over `rect`,
    // without copying its pixels.
    void drawUpright(platform::GraphicsContext& into, const platform::Rect& rect) const;
};

// A transparent canvas of the integer parts of the size, or nothing when its
// memory cannot be had ("Memory not allocated!" on the error stream) or the
// context cannot be made.
std::optional<LayerCanvas> createLayerCanvasWithSize(float width, float height);

// One drawing surface: the strokes drawn on it, the on-screen canvas that shows
// them, the offscreen canvas that holds the layer as it was before the stroke
// in progress, and the snapshots that undo goes back to.
class Layer final {
public:
    static constexpr float minimumPointSpacing = 20.0f;
    static constexpr size_t maxUndoSnapshots = 5;

    static std::unique_ptr<Layer> createWithSize(platform::Size size);
    // The context is not used; it is here for callers that draw layers of a context's size.
    static std::unique_ptr<Layer> createWithContext(platform::GraphicsContext* context, float width, float height);

    Layer();
    ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    float width() const { return m_width; }
    float height() const { return m_height; }
    bool hasCanvas() const { return m_layerCanvas.has_value(); }
    // Null when the layer has no canvas.
    platform::BitmapContext* layerContext() const { return m_layerCanvas ? m_layerCanvas->context.get() : nullptr; }
    uint8_t* layerBitmapBuffer() const { return m_layerCanvas ? m_layerCanvas->memory.get() : nullptr; }
    platform::BitmapContext* offscreenContext() const { return m_offscreenCanvas ? m_offscreenCanvas->context.get() : nullptr; }
    uint8_t* offscreenBitmapBuffer() const { return m_offscreenCanvas ? m_offscreenCanvas->memory.get() : nullptr; }
    const std::optional<LayerCanvas>& layerCanvas() const { return m_layerCanvas; }

    void clear();
    void clearOffScreen();
    // The main screen's scale.
    float getScale() const;
    // A copy of the on-screen canvas (mirrored top to bottom, as the canvas
    // holds it) at the screen's scale; it also becomes the snapshot image.
    // Nothing when the layer has no canvas.
    std::optional<platform::Image> getLayerImage();
    const std::optional<platform::Image>& snapShotImage() const { return m_snapShotImage; }
    void setSnapShotImage(std::optional<platform::Image> image) { m_snapShotImage = std::move(image); }

    int getStrokeNumber() const { return static_cast<int>(m_strokeList.size()); }
    int getStrokePointsNumber() const;
    const std::vector<std::unique_ptr<Stroke>>& strokeList() const { return m_strokeList; }
    // Strokes read from a file join the list here; they cannot be undone.
    void addStroke(std::unique_ptr<Stroke> stroke) { m_strokeList.push_back(std::move(stroke)); }
    Stroke* currentStroke() const { return m_currentStroke.get(); }
    int indexOfFirstModifiedStroke() const { return m_indexOfFirstModifiedStroke; }
    void setIndexOfFirstModifiedStroke(int index) { m_indexOfFirstModifiedStroke = index; }

    const std::shared_ptr<PatternManager>& patternManager() const { return m_patternManager; }
    void setPatternManager(std::shared_ptr<PatternManager> manager) { m_patternManager = std::move(manager); }

    // Touch positions in painting points. The brush is not owned and must
    // outlive the stroke.
    void strokeFromWithBrush(Brush& brush, platform::Point p);
    platform::Rect strokeTo(platform::Point p);
    platform::Rect strokeEnd(platform::Point p);
    const platform::Rect& dirtyRect() const { return m_dirtyRect; }
    // The touch position of the last point recorded into the current stroke.
    platform::Point prevPoint() const { return m_prevPoint; }

    void cacheUndo();
    bool undo();
    size_t undoSnapshotCount() const { return m_layerSnapshotCache.size(); }

    // Copies replace the destination pixels, alpha included.
    void syncOnScreenToOffScreen();
    void syncToOnScreen(platform::BitmapContext& context, const platform::Rect& region);
    void syncToOffScreenFrom(platform::BitmapContext& context, const platform::Rect& region);

    // Replay: the recorded strokes are drawn again, point by point, into a
    // canvas of their own; the on-screen canvas is not touched.
    void startPlayback();
    void stopPlayback();
    bool createPlaybackContext();
    void releasePlaybackContext();
    Stroke* moveToFirstStroke();
    Stroke* moveToNextStroke();
    // Draws the next n recorded points, across stroke boundaries, and returns
    // the part of the replay canvas that changed (null when none did).
    platform::Rect playbackNextStrokePointsOfNumber(int n);
    bool endOfStroke() const;
    bool endOfStrokeList() const;
    float getPlaybackProgress() const;

    platform::BitmapContext* playbackLayerContext() const { return m_playbackCanvas ? m_playbackCanvas->context.get() : nullptr; }
    uint8_t* playbackBitmapBuffer() const { return m_playbackCanvas ? m_playbackCanvas->memory.get() : nullptr; }
    const std::optional<LayerCanvas>& playbackCanvas() const { return m_playbackCanvas; }
    Stroke* currentPlaybackStroke() const { return m_currentPlaybackStroke; }
    int currentPlaybackStrokeIndex() const { return m_currentPlaybackStrokeIndex; }
    int currentPlaybackPointIndex() const { return m_currentPlaybackPointIndex; }
    Brush* playbackBrush() const { return m_playbackBrush.get(); }
    int strokePointsNumber() const { return m_strokePointsNumber; }
    int playbackedPoints() const { return m_playbackedPoints; }

private:
    bool makeCanvases(float width, float height);
    // Puts the replay cursor on the stroke at the index with a fresh brush.
    void beginPlaybackStroke(int index);
    // Lets go of the stroke under replay before its brush goes away.
    void leavePlaybackStroke();
    // Draws the point under the cursor as the start of its stroke.
    void playbackFirstPoint();
    // Draws a step of the stroke: for brushes that redraw the whole stroke
    // path, after restoring the canvas under the part that can change.
    platform::Rect drawStep(platform::BitmapContext& canvas, Stroke& stroke, const StrokePoint& point, bool isReplay,
        bool isEnd);

    float m_width { 0 };
    float m_height { 0 };
    std::optional<LayerCanvas> m_layerCanvas;
    std::optional<LayerCanvas> m_offscreenCanvas;
    std::vector<std::unique_ptr<Stroke>> m_strokeList;
    std::unique_ptr<Stroke> m_currentStroke;
    platform::Point m_prevPoint;
    platform::Rect m_dirtyRect = platform::Rect::null();
    std::shared_ptr<PatternManager> m_patternManager;
    RedrawRegion m_redrawRegion;
    std::deque<platform::Image> m_layerSnapshotCache;
    std::optional<platform::Image> m_snapShotImage;
    int m_indexOfFirstModifiedStroke { 0 };

    std::optional<LayerCanvas> m_playbackCanvas;
    Stroke* m_currentPlaybackStroke { nullptr };
    int m_currentPlaybackStrokeIndex { 0 };
    int m_currentPlaybackPointIndex { 0 };
    std::unique_ptr<Brush> m_playbackBrush;
    int m_strokePointsNumber { 0 };
    int m_playbackedPoints { 0 };
};
