#pragma once

#include "Classes/model/LayerCanvas.h"
#include "Classes/model/LayerReplay.h"
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

// One drawing surface: the strokes drawn on it, the on-screen canvas that shows
// them, the offscreen canvas that holds the layer as it was before the stroke
// in progress, and the snapshots that undo goes back to. Its replay lives in
// LayerReplay; the canvas memory and copies in LayerCanvas.
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
    // The rectangles changed by the last strokeTo, strokeEnd or replay step:
    // one per mirror copy of each point drawn, or for brushes that redraw
    // their whole path, the tiles that the step restored and drew again. They
    // cover every pixel the call changed and lie within the rectangle it
    // returned (for the per-copy rectangles, their union is that rectangle);
    // none are left when nothing changed.
    const std::vector<platform::Rect>& changedRects() const { return m_changedRects; }
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
    LayerReplay& replay() { return m_replay; }
    const LayerReplay& replay() const { return m_replay; }
    void startPlayback() { m_replay.startPlayback(); }
    void stopPlayback() { m_replay.stopPlayback(); }
    bool createPlaybackContext() { return m_replay.createPlaybackContext(); }
    void releasePlaybackContext() { m_replay.releasePlaybackContext(); }
    Stroke* moveToFirstStroke() { return m_replay.moveToFirstStroke(); }
    Stroke* moveToNextStroke() { return m_replay.moveToNextStroke(); }
    platform::Rect playbackNextStrokePointsOfNumber(int n) { return m_replay.playbackNextStrokePointsOfNumber(n); }
    bool endOfStroke() const { return m_replay.endOfStroke(); }
    bool endOfStrokeList() const { return m_replay.endOfStrokeList(); }
    float getPlaybackProgress() const { return m_replay.getPlaybackProgress(); }

    platform::BitmapContext* playbackLayerContext() const
    {
        return m_replay.playbackCanvas() ? m_replay.playbackCanvas()->context.get() : nullptr;
    }
    uint8_t* playbackBitmapBuffer() const
    {
        return m_replay.playbackCanvas() ? m_replay.playbackCanvas()->memory.get() : nullptr;
    }
    const std::optional<LayerCanvas>& playbackCanvas() const { return m_replay.playbackCanvas(); }
    Stroke* currentPlaybackStroke() const { return m_replay.currentPlaybackStroke(); }
    int currentPlaybackStrokeIndex() const { return m_replay.currentPlaybackStrokeIndex(); }
    int currentPlaybackPointIndex() const { return m_replay.currentPlaybackPointIndex(); }
    Brush* playbackBrush() const { return m_replay.playbackBrush(); }
    int strokePointsNumber() const { return m_replay.strokePointsNumber(); }
    int playbackedPoints() const { return m_replay.playbackedPoints(); }

private:
    friend class LayerReplay;

    bool makeCanvases(float width, float height);
    // Draws a step of the stroke: for brushes that redraw the whole stroke
    // path, after restoring the canvas under the part that can change.
    platform::Rect drawStep(platform::BitmapContext& canvas, Stroke& stroke, const StrokePoint& point, bool isReplay,
        bool isEnd);
    // Starts the list of changed rectangles of a call afresh.
    void beginChange()
    {
        m_changedRects.clear();
        m_changedUnion = platform::Rect::null();
    }
    // Adds what a step changed to that list, per mirror copy when the brush
    // tells them; returns the step's rectangle.
    platform::Rect noteChange(const Stroke& stroke, const platform::Rect& changed);
    // The union of the list, in its order; what a call of several steps returns.
    const platform::Rect& changedUnion() const { return m_changedUnion; }

    float m_width { 0 };
    float m_height { 0 };
    std::optional<LayerCanvas> m_layerCanvas;
    std::optional<LayerCanvas> m_offscreenCanvas;
    std::vector<std::unique_ptr<Stroke>> m_strokeList;
    std::unique_ptr<Stroke> m_currentStroke;
    platform::Point m_prevPoint;
    platform::Rect m_dirtyRect = platform::Rect::null();
    std::vector<platform::Rect> m_changedRects;
    platform::Rect m_changedUnion = platform::Rect::null();
    std::shared_ptr<PatternManager> m_patternManager;
    RedrawRegion m_redrawRegion;
    // Whether the last step drew only inside m_redrawRegion.
    bool m_stepConfined { false };
    std::deque<platform::Image> m_layerSnapshotCache;
    std::optional<platform::Image> m_snapShotImage;
    int m_indexOfFirstModifiedStroke { 0 };
    LayerReplay m_replay { *this };
};
