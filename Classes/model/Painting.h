#pragma once

#include "Classes/model/Layer.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

#include <memory>
#include <optional>
#include <vector>

class Brush;
class PatternManager;
class VideoFrameRenderer;

namespace platform {
class GraphicsContext;
class PixelBuffer;
}

// Rounds a crop side to a multiple of 16 for the video encoder. It adds 1, not
// 15, so sides just below a multiple go up and all others go down.
int AlignTo16(int n);

// One drawing as the screens see it: its layers, its background, the current
// brush with its colour and mirror mode, and the crop of exported pictures.
class Painting final {
public:
    static constexpr int defaultBrushType = 37;
    static constexpr int rubberBrushType = 23;
    static constexpr int defaultMirrixMode = 9;
    static constexpr int minimumPlaybackSpeed = 2;

    // A painting of the integer parts of the size, without layers.
    explicit Painting(platform::Size size);
    // A painting read back from its saved files, ready to draw on and replay;
    // null when its stroke file is missing or damaged. Defined with the file code.
    static std::unique_ptr<Painting> initWithContentsOfFile(const QString& name);
    ~Painting();
    Painting(const Painting&) = delete;
    Painting& operator=(const Painting&) = delete;

    int width() const { return m_width; }
    void setWidth(int width) { m_width = width; }
    int height() const { return m_height; }
    void setHeight(int height) { m_height = height; }

    // Layers: the last one added receives the strokes.
    void addTransparentLayer();
    void addLayer(std::unique_ptr<Layer> layer);
    const std::vector<std::unique_ptr<Layer>>& layerArray() const { return m_layerArray; }
    int layers() const { return m_layers; }
    Layer* activeLayer() const { return m_activeLayer; }

    // Brush state.
    void switchBrush(int type);
    void switchToRubberBrush() { switchBrush(rubberBrushType); }
    void setBrushSize(int size);
    void setBrushColorWithSolidColor(const platform::Color& color);
    void setBrushColorWithRandomColor();
    void setMirrixMode(int mode);
    int mirrixMode() const { return m_mirrixMode; }
    Brush* brush() const { return m_brush.get(); }
    void setBrush(std::unique_ptr<Brush> brush);
    int brushType() const { return m_brushType; }
    void setBrushType(int type) { m_brushType = type; }
    bool isRandomColor() const { return m_isRandomColor; }
    void setIsRandomColor(bool random) { m_isRandomColor = random; }
    const std::optional<platform::Color>& brushColor() const { return m_brushColor; }
    void setBrushColor(std::optional<platform::Color> color) { m_brushColor = color; }
    const std::shared_ptr<PatternManager>& patternManager() const { return m_patternManager; }
    void setPatternManager(std::shared_ptr<PatternManager> manager) { m_patternManager = std::move(manager); }

    // Background and the saved pictures.
    const platform::Color& backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const platform::Color& color) { m_backgroundColor = color; }
    const std::optional<platform::Image>& backgroundImage() const { return m_backgroundImage; }
    void setBackgroundImage(std::optional<platform::Image> image) { m_backgroundImage = std::move(image); }
    const std::optional<platform::Image>& paintingImage() const { return m_paintingImage; }
    void setPaintingImage(std::optional<platform::Image> image) { m_paintingImage = std::move(image); }
    const std::optional<platform::Image>& thumbnailImage() const { return m_thumbnailImage; }
    void setThumbnailImage(std::optional<platform::Image> image) { m_thumbnailImage = std::move(image); }

    // Touches, in painting points. The rectangles are what must be redrawn:
    // null when nothing changed, zero when there is no brush or layer.
    void strokeFrom(platform::Point p);
    platform::Rect strokeTo(platform::Point p);
    platform::Rect strokeEnd(platform::Point p);
    bool undoStroke();
    const platform::Rect& dirtyRect() const { return m_dirtyRect; }
    void setDirtyRect(const platform::Rect& r) { m_dirtyRect = r; }
    // What the last strokeTo, strokeEnd or playback changed, as rectangles of
    // the mirror copies (or of the tiles a whole-path brush drew again): they
    // cover every changed pixel within the rectangle that call returned, and
    // the list is empty when nothing changed. A screen repaints just these.
    const std::vector<platform::Rect>& changedRects() const { return m_changedRects; }

    // Output into top-left-origin contexts.
    void drawBackground(platform::GraphicsContext& context) const;
    // In movie mode the replay canvas; the live canvas otherwise, and also in
    // movie mode once the replay has stopped, since its last picture is the
    // live one.
    void drawPaintingTo(platform::GraphicsContext& context) const;
    // The top-left crop-sized part of the picture at the export scale. Without
    // a crop, the crop becomes the whole painting.
    platform::Image getPaintingImage();
    void setCropRegion(const platform::Rect& r);
    const platform::Rect& cropRect() const { return m_cropRect; }
    void setCropRect(const platform::Rect& r) { m_cropRect = r; }
    const platform::Rect& unalignedCropRect() const { return m_unalignedCropRect; }

    bool isSaved() const { return m_isSaved; }
    void setIsSaved(bool saved) { m_isSaved = saved; }
    // Worth asking about before it is thrown away: two strokes or more, unsaved.
    bool notSaved() const;

    // Replay of the first layer into a canvas of its own. The caller owns the
    // clock: one playback() per tick or video frame, until endOfPlayback().
    void startPlayback();
    void stopPlayback();
    // The part of the replay canvas that this step changed; null when none.
    platform::Rect playback();
    bool endOfPlayback() const;
    float getPlaybackProgress() const;
    void playbackFaster();
    void playbackSlower();
    // Recorded points drawn per step; never below two.
    int playbackSpeed() const { return m_playbackSpeed; }
    void setPlaybackSpeed(int speed);
    bool isMovieMode() const { return m_isMovieMode; }
    void setIsMovieMode(bool movieMode) { m_isMovieMode = movieMode; }
    Layer* playbackLayer() const { return m_playbackLayer; }
    // Replay steps needed at the speed for the points of every layer.
    int estimatedVideoFramesWithSpeed(int speed) const;
    // The lowest speed from two up whose replay fits in the frames, or the one
    // at which going faster stops shortening it.
    void setRecordPlaybackSpeedWithMaxFrames(int maxFrames);
    // A new 32-bit ARGB frame of the integer parts of the size showing the
    // background and the strokes replayed so far, upright at the export scale
    // and mapped into the frame by the transform. Nothing when the size is
    // not usable.
    std::unique_ptr<platform::PixelBuffer> createPixelBufferFromCurrentFrameWithVideoSize(platform::Size videoSize,
        const platform::AffineTransform& frameTransform);
    // The same frame drawn into a buffer the caller keeps, e.g. from frame to
    // frame; nothing is allocated once the first frame has been drawn.
    void drawCurrentFrameToPixelBuffer(platform::PixelBuffer& buffer, const platform::AffineTransform& frameTransform);

private:
    platform::Point mirrorCentre() const;
    // Ends a stroke in progress that the current brush draws, before the brush goes.
    void finishStrokeOfBrush();
    // Takes the changed rectangles of the layer's last call; none without it.
    platform::Rect tookChange(const Layer* layer, const platform::Rect& changed);
    long long totalStrokePoints() const;
    // The background, then the canvas upright over the whole painting.
    void compose(platform::GraphicsContext& context, const LayerCanvas* canvas) const;

    int m_width { 0 };
    int m_height { 0 };
    std::vector<std::unique_ptr<Layer>> m_layerArray;
    int m_layers { 0 };
    Layer* m_activeLayer { nullptr };
    std::unique_ptr<Brush> m_brush;
    int m_brushType { 0 };
    std::optional<platform::Color> m_brushColor = platform::Color::white();
    bool m_isRandomColor { true };
    std::shared_ptr<PatternManager> m_patternManager;
    platform::Color m_backgroundColor = platform::Color::rgba(0, 0, 0, 1);
    std::optional<platform::Image> m_backgroundImage;
    std::optional<platform::Image> m_paintingImage;
    std::optional<platform::Image> m_thumbnailImage;
    platform::Rect m_dirtyRect = platform::Rect::zero();
    std::vector<platform::Rect> m_changedRects;
    platform::Rect m_cropRect = platform::Rect::null();
    platform::Rect m_unalignedCropRect = platform::Rect::null();
    int m_mirrixMode { defaultMirrixMode };
    bool m_isSaved { false };

    Layer* m_playbackLayer { nullptr };
    int m_playbackSpeed { minimumPlaybackSpeed };
    bool m_isMovieMode { false };
    std::unique_ptr<VideoFrameRenderer> m_frameRenderer;
};
