#pragma once

#include "Classes/model/LayerCanvas.h"
#include "platform/graphics/Geometry.h"

#include <memory>
#include <optional>

class Brush;
class Layer;
class Stroke;

// The replay of one layer's recorded strokes, point by point and in the order
// they were drawn, into a canvas of its own: what the canvas, the replay screen
// and the movie export show. The layer's on-screen canvas is not touched; its
// offscreen canvas serves as the replay's copy of the finished strokes.
class LayerReplay final {
public:
    explicit LayerReplay(Layer& layer);
    ~LayerReplay();
    LayerReplay(const LayerReplay&) = delete;
    LayerReplay& operator=(const LayerReplay&) = delete;

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

    const std::optional<LayerCanvas>& playbackCanvas() const { return m_playbackCanvas; }
    Stroke* currentPlaybackStroke() const { return m_currentPlaybackStroke; }
    int currentPlaybackStrokeIndex() const { return m_currentPlaybackStrokeIndex; }
    int currentPlaybackPointIndex() const { return m_currentPlaybackPointIndex; }
    Brush* playbackBrush() const { return m_playbackBrush.get(); }
    int strokePointsNumber() const { return m_strokePointsNumber; }
    int playbackedPoints() const { return m_playbackedPoints; }

private:
    // Puts the replay cursor on the stroke at the index with a fresh brush.
    void beginPlaybackStroke(int index);
    // Lets go of the stroke under replay before its brush goes away.
    void leavePlaybackStroke();
    // Draws the point under the cursor as the start of its stroke.
    void playbackFirstPoint();

    Layer& m_layer;
    std::optional<LayerCanvas> m_playbackCanvas;
    Stroke* m_currentPlaybackStroke { nullptr };
    int m_currentPlaybackStrokeIndex { 0 };
    int m_currentPlaybackPointIndex { 0 };
    std::unique_ptr<Brush> m_playbackBrush;
    int m_strokePointsNumber { 0 };
    int m_playbackedPoints { 0 };
};
