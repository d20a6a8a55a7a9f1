#include "Classes/model/Painting.h"

#include "Classes/brushes/Brush.h"
#include "Classes/brushes/PatternManager.h"
#include "Classes/gallery/Utility.h"
#include "Classes/model/VideoFrameRenderer.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/graphics/ImageContext.h"
#include "platform/media/PixelBuffer.h"

#include <algorithm>
#include <climits>

using platform::Color;
using platform::GraphicsContext;
using platform::Image;
using platform::Point;
using platform::Rect;

int AlignTo16(int n)
{
    return ((n + 1) / 16) * 16;
}

Painting::Painting(platform::Size size)
    : m_width(static_cast<int>(size.width))
    , m_height(static_cast<int>(size.height))
    , m_patternManager(std::make_shared<PatternManager>())
{
    // Room for the copies of a replay step at a brisk speed, so that most
    // steps do not allocate.
    m_changedRects.reserve(64);
    switchBrush(defaultBrushType);
}

Painting::~Painting() = default;

void Painting::addTransparentLayer()
{
    auto layer = Layer::createWithSize({ static_cast<float>(m_width), static_cast<float>(m_height) });
    addLayer(std::move(layer));
}

void Painting::addLayer(std::unique_ptr<Layer> layer)
{
    if (!layer)
        return;
    layer->setPatternManager(m_patternManager);
    m_activeLayer = layer.get();
    ++m_layers;
    m_layerArray.push_back(std::move(layer));
}

Point Painting::mirrorCentre() const
{
    return { static_cast<float>(m_width / 2), static_cast<float>(m_height / 2) };
}

void Painting::finishStrokeOfBrush()
{
    // A stroke still being drawn (a second finger on the toolbar) must not
    // outlive its brush: finish it where it was last recorded.
    if (m_brush && m_activeLayer && m_activeLayer->currentStroke()
        && m_activeLayer->currentStroke()->brush() == m_brush.get()) {
        m_activeLayer->strokeEnd(m_activeLayer->prevPoint());
        m_isSaved = false;
    }
}

void Painting::switchBrush(int type)
{
    if (type == m_brushType)
        return;
    finishStrokeOfBrush();
    m_brush.reset();
    std::unique_ptr<Brush> brush = Brush::createBrush(type, m_patternManager);
    if (brush) {
        if (m_isRandomColor) {
            brush->setIsRandomColor(true);
        } else {
            brush->setIsRandomColor(false);
            if (m_brushColor)
                brush->setColor(*m_brushColor);
        }
    }
    m_brush = std::move(brush);
    m_brushType = type;
    if (m_brush)
        m_brush->setMirrix(m_mirrixMode, mirrorCentre());
}

void Painting::setBrush(std::unique_ptr<Brush> brush)
{
    if (brush.get() == m_brush.get())
        return;
    finishStrokeOfBrush();
    m_brush = std::move(brush);
}

void Painting::setBrushSize(int size)
{
    if (m_brush)
        m_brush->setSize(static_cast<float>(size));
}

void Painting::setBrushColorWithSolidColor(const Color& color)
{
    m_isRandomColor = false;
    m_brushColor = color;
    if (m_brush) {
        m_brush->setIsRandomColor(false);
        m_brush->setColor(color);
    }
}

void Painting::setBrushColorWithRandomColor()
{
    m_isRandomColor = true;
    m_brushColor.reset();
    if (m_brush)
        m_brush->setIsRandomColor(true);
}

void Painting::setMirrixMode(int mode)
{
    m_mirrixMode = mode;
    if (m_brush)
        m_brush->setMirrix(mode, mirrorCentre());
}

void Painting::strokeFrom(Point p)
{
    if (m_brush && m_activeLayer)
        m_activeLayer->strokeFromWithBrush(*m_brush, p);
}

Rect Painting::tookChange(const Layer* layer, const Rect& changed)
{
    // assign() keeps the capacity: no allocation once the list has grown.
    if (layer && !changed.isNull())
        m_changedRects.assign(layer->changedRects().begin(), layer->changedRects().end());
    else
        m_changedRects.clear();
    return changed;
}

Rect Painting::strokeTo(Point p)
{
    if (!m_brush || !m_activeLayer)
        return tookChange(nullptr, Rect::zero());
    m_dirtyRect = tookChange(m_activeLayer, m_activeLayer->strokeTo(p));
    return m_dirtyRect;
}

Rect Painting::strokeEnd(Point p)
{
    if (!m_brush || !m_activeLayer)
        return tookChange(nullptr, Rect::zero());
    m_dirtyRect = tookChange(m_activeLayer, m_activeLayer->strokeEnd(p));
    m_isSaved = false;
    return m_dirtyRect;
}

bool Painting::undoStroke()
{
    return m_activeLayer && m_activeLayer->undo();
}

void Painting::drawBackground(GraphicsContext& context) const
{
    if (m_backgroundImage && !m_backgroundImage->isNull()) {
        Rect r(0, 0, m_backgroundImage->size().width, m_backgroundImage->size().height);
        context.drawImageTopLeft(r, *m_backgroundImage);
        return;
    }
    context.saveGState();
    context.setFillColor(m_backgroundColor);
    context.fillRect(Rect(0, 0, static_cast<float>(m_width), static_cast<float>(m_height)));
    context.restoreGState();
}

void Painting::compose(GraphicsContext& context, const LayerCanvas* canvas) const
{
    drawBackground(context);
    if (canvas)
        canvas->drawUpright(context, Rect(0, 0, static_cast<float>(m_width), static_cast<float>(m_height)));
}

void Painting::drawPaintingTo(GraphicsContext& context) const
{
    if (m_isMovieMode && m_playbackLayer) {
        // The replaying layer's canvas: with several layers it is not the active one.
        const auto& canvas = m_playbackLayer->playbackCanvas();
        compose(context, canvas ? &*canvas : nullptr);
        return;
    }
    if (!m_activeLayer)
        return;
    const auto& canvas = m_activeLayer->layerCanvas();
    compose(context, canvas ? &*canvas : nullptr);
}

Image Painting::getPaintingImage()
{
    if (m_cropRect.isNull())
        m_cropRect = Rect(0, 0, static_cast<float>(m_width), static_cast<float>(m_height));
    platform::ImageContext context(m_cropRect.size, false, getScreenScale());
    const LayerCanvas* canvas = nullptr;
    if (m_activeLayer && m_activeLayer->layerCanvas())
        canvas = &*m_activeLayer->layerCanvas();
    compose(context, canvas);
    return context.image();
}

void Painting::setCropRegion(const Rect& r)
{
    m_unalignedCropRect = r;
    m_cropRect = Rect(r.x(), r.y(), static_cast<float>(AlignTo16(static_cast<int>(r.width()))),
        static_cast<float>(AlignTo16(static_cast<int>(r.height()))));
}

bool Painting::notSaved() const
{
    return !m_layerArray.empty() && m_layerArray.front()->getStrokeNumber() >= 2 && !m_isSaved;
}

void Painting::startPlayback()
{
    if (m_playbackLayer)
        m_playbackLayer->stopPlayback();
    m_playbackLayer = m_layerArray.empty() ? nullptr : m_layerArray.front().get();
    if (m_playbackLayer)
        m_playbackLayer->startPlayback();
    m_isMovieMode = true;
}

void Painting::stopPlayback()
{
    if (m_playbackLayer)
        m_playbackLayer->stopPlayback();
    m_playbackLayer = nullptr;
    m_isMovieMode = false;
}

Rect Painting::playback()
{
    if (!m_playbackLayer)
        return tookChange(nullptr, Rect::null());
    return tookChange(m_playbackLayer, m_playbackLayer->playbackNextStrokePointsOfNumber(m_playbackSpeed));
}

bool Painting::endOfPlayback() const
{
    return !m_playbackLayer || m_playbackLayer->endOfStrokeList();
}

float Painting::getPlaybackProgress() const
{
    return m_playbackLayer ? m_playbackLayer->getPlaybackProgress() : 0.0f;
}

void Painting::playbackFaster()
{
    if (m_playbackSpeed < INT_MAX)
        ++m_playbackSpeed;
}

void Painting::playbackSlower()
{
    setPlaybackSpeed(m_playbackSpeed - 1);
}

void Painting::setPlaybackSpeed(int speed)
{
    m_playbackSpeed = std::max(speed, minimumPlaybackSpeed);
}

long long Painting::totalStrokePoints() const
{
    long long points = 0;
    for (const auto& layer : m_layerArray)
        points += layer->getStrokePointsNumber();
    return points;
}

namespace {

// A speed below one point per step would divide by zero or go backwards.
int framesAtSpeed(long long points, int speed)
{
    return static_cast<int>(std::min<long long>(points / std::max(speed, 1), INT_MAX));
}

}

int Painting::estimatedVideoFramesWithSpeed(int speed) const
{
    return framesAtSpeed(totalStrokePoints(), speed);
}

void Painting::setRecordPlaybackSpeedWithMaxFrames(int maxFrames)
{
    // The points are counted once, not at every speed tried.
    const long long points = totalStrokePoints();
    int speed = minimumPlaybackSpeed;
    int frames = framesAtSpeed(points, speed);
    while (frames > maxFrames && speed < INT_MAX) {
        ++speed;
        int faster = framesAtSpeed(points, speed);
        if (faster == frames)
            break;
        frames = faster;
    }
    m_playbackSpeed = speed;
}

std::unique_ptr<platform::PixelBuffer> Painting::createPixelBufferFromCurrentFrameWithVideoSize(
    platform::Size videoSize, const platform::AffineTransform& frameTransform)
{
    if (!(videoSize.width >= 1 && videoSize.height >= 1))
        return nullptr;
    // Rows exactly four bytes per pixel, as the frame format asks.
    int width = static_cast<int>(videoSize.width);
    int height = static_cast<int>(videoSize.height);
    if (width > platform::PixelBuffer::maximumDimension || height > platform::PixelBuffer::maximumDimension)
        return nullptr;
    auto buffer = platform::PixelBuffer::create(width, height, width * platform::PixelBuffer::bytesPerPixel);
    if (buffer)
        drawCurrentFrameToPixelBuffer(*buffer, frameTransform);
    return buffer;
}

void Painting::drawCurrentFrameToPixelBuffer(platform::PixelBuffer& buffer, const platform::AffineTransform& frameTransform)
{
    if (!m_frameRenderer)
        m_frameRenderer = std::make_unique<VideoFrameRenderer>();
    VideoFrameRenderer::Geometry geometry;
    geometry.scale = getScreenScale();
    geometry.paintingWidth = static_cast<float>(m_width);
    geometry.paintingHeight = static_cast<float>(m_height);
    // Without a crop region the whole painting is the crop.
    geometry.cropHeight = m_unalignedCropRect.isNull() ? static_cast<float>(m_height) : m_unalignedCropRect.height();
    geometry.frameTransform = frameTransform;
    const LayerCanvas* canvas = nullptr;
    if (m_playbackLayer && m_playbackLayer->playbackCanvas())
        canvas = &*m_playbackLayer->playbackCanvas();
    m_frameRenderer->render(buffer, geometry, *this, canvas);
}
