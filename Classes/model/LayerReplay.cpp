#include "Classes/model/LayerReplay.h"

#include "Classes/brushes/Brush.h"
#include "Classes/model/Layer.h"

using platform::Rect;

LayerReplay::LayerReplay(Layer& layer)
    : m_layer(layer)
{
}

LayerReplay::~LayerReplay() = default;

void LayerReplay::startPlayback()
{
    m_strokePointsNumber = m_layer.getStrokePointsNumber();
    m_playbackedPoints = 0;
    bool canReplay = createPlaybackContext();
    m_layer.clearOffScreen();
    if (!canReplay) {
        // Without a canvas to replay into, the replay is over at once rather
        // than never.
        leavePlaybackStroke();
        m_currentPlaybackStrokeIndex = m_layer.getStrokeNumber();
        m_currentPlaybackPointIndex = 0;
        m_playbackedPoints = m_strokePointsNumber;
        return;
    }
    moveToFirstStroke();
}

void LayerReplay::stopPlayback()
{
    leavePlaybackStroke();
    m_playbackBrush.reset();
    releasePlaybackContext();
    m_layer.syncOnScreenToOffScreen();
}

bool LayerReplay::createPlaybackContext()
{
    // A fresh canvas is transparent.
    m_playbackCanvas = createLayerCanvasWithSize(m_layer.width(), m_layer.height());
    return m_playbackCanvas.has_value();
}

void LayerReplay::releasePlaybackContext()
{
    m_playbackCanvas.reset();
}

void LayerReplay::leavePlaybackStroke()
{
    if (m_currentPlaybackStroke && m_currentPlaybackStroke->brush() == m_playbackBrush.get())
        m_currentPlaybackStroke->setBrush(nullptr);
    m_currentPlaybackStroke = nullptr;
}

void LayerReplay::beginPlaybackStroke(int index)
{
    leavePlaybackStroke();
    Stroke& stroke = *m_layer.strokeList()[static_cast<size_t>(index)];
    m_currentPlaybackStroke = &stroke;
    m_playbackBrush = Brush::createBrush(stroke.getBrushType(), m_layer.patternManager());
    // Exact halves: the replay centre of an odd-sized canvas lies half a point
    // further than the live one.
    if (m_playbackBrush)
        m_playbackBrush->setMirrix(stroke.getMirrixMode(), { 0.5f * m_layer.width(), 0.5f * m_layer.height() });
    stroke.setBrush(m_playbackBrush.get());
    m_currentPlaybackPointIndex = 0;
}

void LayerReplay::playbackFirstPoint()
{
    const auto& points = m_currentPlaybackStroke->strokePoints();
    auto* canvas = m_playbackCanvas ? m_playbackCanvas->context.get() : nullptr;
    if (static_cast<size_t>(m_currentPlaybackPointIndex) >= points.size() || !canvas)
        return;
    const StrokePoint& point = points[static_cast<size_t>(m_currentPlaybackPointIndex++)];
    m_currentPlaybackStroke->strokeFrom(*canvas, point, true);
}

Stroke* LayerReplay::moveToFirstStroke()
{
    leavePlaybackStroke();
    m_currentPlaybackPointIndex = 0;
    m_currentPlaybackStrokeIndex = 0;
    if (m_layer.strokeList().empty())
        return nullptr;
    beginPlaybackStroke(0);
    playbackFirstPoint();
    return m_currentPlaybackStroke;
}

Stroke* LayerReplay::moveToNextStroke()
{
    ++m_currentPlaybackStrokeIndex;
    if (endOfStrokeList()) {
        leavePlaybackStroke();
        return nullptr;
    }
    beginPlaybackStroke(m_currentPlaybackStrokeIndex);
    return m_currentPlaybackStroke;
}

Rect LayerReplay::playbackNextStrokePointsOfNumber(int n)
{
    // What changed is gathered by the layer, mirror copy by copy, and united
    // in that order, so that the copies make up exactly the rectangle returned.
    m_layer.beginChange();
    auto* canvas = m_playbackCanvas ? m_playbackCanvas->context.get() : nullptr;
    if (!m_currentPlaybackStroke || !canvas)
        return m_layer.changedUnion();
    for (int i = 0; i < n; ++i) {
        if (endOfStroke()) {
            if (!moveToNextStroke()) {
                m_playbackedPoints = m_strokePointsNumber;
                return m_layer.changedUnion();
            }
            // A stroke's first point counts as one of the n but draws nothing.
            playbackFirstPoint();
            ++m_playbackedPoints;
            continue;
        }
        Stroke& stroke = *m_currentPlaybackStroke;
        const StrokePoint& point = stroke.strokePoints()[static_cast<size_t>(m_currentPlaybackPointIndex++)];
        ++m_playbackedPoints;
        Brush* brush = m_playbackBrush.get();
        if (endOfStroke()) {
            m_layer.noteChange(stroke, m_layer.drawStep(*canvas, stroke, point, true, true));
            if (brush)
                brush->endStroke();
            m_layer.syncToOffScreenFrom(*canvas, stroke.dirtyRect());
        } else {
            m_layer.noteChange(stroke, m_layer.drawStep(*canvas, stroke, point, true, false));
        }
    }
    return m_layer.changedUnion();
}

bool LayerReplay::endOfStroke() const
{
    return !m_currentPlaybackStroke || m_currentPlaybackPointIndex >= m_currentPlaybackStroke->getStrokePointsNumber();
}

bool LayerReplay::endOfStrokeList() const
{
    return m_currentPlaybackStrokeIndex >= m_layer.getStrokeNumber();
}

float LayerReplay::getPlaybackProgress() const
{
    // A layer without points has nothing left to replay.
    if (m_strokePointsNumber <= 0)
        return 1.0f;
    return static_cast<float>(static_cast<double>(m_playbackedPoints) / m_strokePointsNumber);
}
