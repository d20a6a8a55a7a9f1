#include "Classes/model/Layer.h"

#include "Classes/brushes/Brush.h"
#include "Classes/brushes/Mirrix.h"
#include "platform/system/Device.h"

#include <QImage>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <new>

using platform::BitmapContext;
using platform::Image;
using platform::Point;
using platform::Rect;

namespace {

// The whole pixels of `region` that lie on a canvas, as column and context-row
// ranges; empty when there are none.
struct PixelSpan {
    int x0 { 0 }, x1 { 0 }, y0 { 0 }, y1 { 0 };
    bool isEmpty() const { return x0 >= x1 || y0 >= y1; }
};

PixelSpan pixelSpan(const Rect& region, int width, int height)
{
    if (region.isNull())
        return {};
    Rect r = region.standardized().integral().intersected(Rect(0, 0, static_cast<float>(width), static_cast<float>(height)));
    if (r.isNull())
        return {};
    return { static_cast<int>(r.minX()), static_cast<int>(r.maxX()), static_cast<int>(r.minY()), static_cast<int>(r.maxY()) };
}

bool sameGeometry(const BitmapContext& a, const BitmapContext& b)
{
    return a.width() == b.width() && a.height() == b.height() && a.layout() == b.layout()
        && a.layout() == platform::PixelLayout::CanvasBGRA;
}

// Copies the pixels of `region` from one canvas to another of the same
// geometry, as a copy-mode draw clipped to the region would, but row by row.
void copyRegion(BitmapContext& from, BitmapContext& to, const Rect& region)
{
    if (&from == &to)
        return;
    if (!sameGeometry(from, to)) {
        to.saveGState();
        to.clipToRect(region);
        to.setBlendMode(platform::BlendMode::Copy);
        to.drawImage(Rect(0, 0, static_cast<float>(to.width()), static_cast<float>(to.height())), from.makeImage());
        to.restoreGState();
        return;
    }
    PixelSpan span = pixelSpan(region, from.width(), from.height());
    if (span.isEmpty())
        return;
    const auto* source = static_cast<const uint8_t*>(from.data());
    auto* dest = static_cast<uint8_t*>(to.data());
    const size_t rowBytes = static_cast<size_t>(span.x1 - span.x0) * 4;
    // Context row y sits at memory row height − 1 − y.
    for (int row = from.height() - span.y1; row < from.height() - span.y0; ++row) {
        size_t sourceOffset = static_cast<size_t>(row) * from.bytesPerRow() + static_cast<size_t>(span.x0) * 4;
        size_t destOffset = static_cast<size_t>(row) * to.bytesPerRow() + static_cast<size_t>(span.x0) * 4;
        std::memcpy(dest + destOffset, source + sourceOffset, rowBytes);
    }
}

}

void LayerCanvas::drawUpright(platform::GraphicsContext& into, const Rect& rect) const
{
    // A read-only view of the memory: nothing is copied, and it lives only for this draw.
    QImage view(static_cast<const uchar*>(memory.get()), context->width(), context->height(), context->bytesPerRow(),
        QImage::Format_ARGB32_Premultiplied);
    into.drawImage(rect, Image(view));
}

std::optional<LayerCanvas> createLayerCanvasWithSize(float width, float height)
{
    // No pixels, no canvas; that is not a shortage of memory.
    if (!(width >= 1 && height >= 1))
        return std::nullopt;
    // Sizes the platform cannot address count as memory that could not be had.
    const double rowBytes = std::trunc(static_cast<double>(width)) * 4;
    const double totalBytes = std::trunc(rowBytes * static_cast<double>(height));
    std::unique_ptr<uint8_t[]> memory;
    if (rowBytes <= std::numeric_limits<int>::max()
        && totalBytes <= static_cast<double>(std::numeric_limits<std::ptrdiff_t>::max()))
        memory.reset(new (std::nothrow) uint8_t[static_cast<size_t>(totalBytes)]);
    if (!memory) {
        std::fputs("Memory not allocated!", stderr);
        return std::nullopt;
    }
    auto context = BitmapContext::create(memory.get(), static_cast<int>(width), static_cast<int>(height),
        static_cast<int>(rowBytes), platform::PixelLayout::CanvasBGRA);
    if (!context)
        return std::nullopt;
    context->clearRect(Rect(0, 0, width, height));
    return LayerCanvas { std::move(memory), std::move(context) };
}

Layer::Layer() = default;

Layer::~Layer() = default;

std::unique_ptr<Layer> Layer::createWithSize(platform::Size size)
{
    auto layer = std::make_unique<Layer>();
    layer->makeCanvases(std::trunc(size.width), std::trunc(size.height));
    return layer;
}

std::unique_ptr<Layer> Layer::createWithContext(platform::GraphicsContext*, float width, float height)
{
    return createWithSize({ width, height });
}

bool Layer::makeCanvases(float width, float height)
{
    m_width = width;
    m_height = height;
    m_layerCanvas = createLayerCanvasWithSize(width, height);
    if (m_layerCanvas)
        m_offscreenCanvas = createLayerCanvasWithSize(width, height);
    if (!m_offscreenCanvas)
        m_layerCanvas.reset();
    return m_layerCanvas.has_value();
}

void Layer::clear()
{
    if (auto* context = layerContext())
        context->clearRect(Rect(0, 0, m_width, m_height));
    clearOffScreen();
}

void Layer::clearOffScreen()
{
    if (auto* context = offscreenContext())
        context->clearRect(Rect(0, 0, m_width, m_height));
}

float Layer::getScale() const
{
    return platform::Device::mainScreenScale();
}

std::optional<Image> Layer::getLayerImage()
{
    auto* context = layerContext();
    if (!context)
        return std::nullopt;
    m_snapShotImage = Image(context->makeImage().qimage(), getScale());
    return m_snapShotImage;
}

int Layer::getStrokePointsNumber() const
{
    int total = 0;
    for (const auto& stroke : m_strokeList)
        total += stroke->getStrokePointsNumber();
    return total;
}

void Layer::strokeFromWithBrush(Brush& brush, Point p)
{
    auto* context = layerContext();
    if (!context)
        return;
    cacheUndo();
    m_currentStroke = Stroke::create();
    m_currentStroke->setBrush(&brush);
    m_currentStroke->strokeFrom(*context, StrokePoint(p, brush.brushData()), false);
    m_prevPoint = p;
}

Rect Layer::strokeTo(Point p)
{
    if (!m_currentStroke)
        return Rect::null();
    // Spacing is the sum of the axis distances, which is cheaper than the true
    // distance and keeps small jitter out of the record.
    float distance = std::fabs(p.x - m_prevPoint.x) + std::fabs(p.y - m_prevPoint.y);
    if (distance < minimumPointSpacing)
        return Rect::null();
    m_prevPoint = p;
    m_dirtyRect = drawStep(*layerContext(), *m_currentStroke, StrokePoint(p), false, false);
    return m_dirtyRect;
}

Rect Layer::strokeEnd(Point p)
{
    if (!m_currentStroke)
        return Rect::null();
    Brush* brush = m_currentStroke->brush();
    m_dirtyRect = drawStep(*layerContext(), *m_currentStroke, StrokePoint(p), false, true);
    if (brush)
        brush->endStroke();
    Rect strokeRect = m_currentStroke->dirtyRect();
    m_strokeList.push_back(std::move(m_currentStroke));
    syncToOffScreenFrom(*layerContext(), strokeRect);
    return m_dirtyRect;
}

void Layer::cacheUndo()
{
    auto* context = layerContext();
    if (!context)
        return;
    m_layerSnapshotCache.push_back(context->makeImage());
    while (m_layerSnapshotCache.size() > maxUndoSnapshots)
        m_layerSnapshotCache.pop_front();
}

bool Layer::undo()
{
    auto* context = layerContext();
    if (m_layerSnapshotCache.empty() || !context)
        return false;
    const QImage& snapshot = m_layerSnapshotCache.back().qimage();
    if (snapshot.width() == context->width() && snapshot.height() == context->height()
        && snapshot.format() == QImage::Format_ARGB32_Premultiplied) {
        // The snapshot's rows are the canvas's memory rows, so this is the
        // copy-mode draw of the whole snapshot, without resampling.
        const size_t rowBytes = static_cast<size_t>(context->width()) * 4;
        auto* memory = static_cast<uint8_t*>(context->data());
        for (int row = 0; row < context->height(); ++row)
            std::memcpy(memory + static_cast<size_t>(row) * context->bytesPerRow(), snapshot.constScanLine(row), rowBytes);
    } else {
        context->saveGState();
        context->setBlendMode(platform::BlendMode::Copy);
        context->drawImage(Rect(0, 0, m_width, m_height), m_layerSnapshotCache.back());
        context->restoreGState();
    }
    syncOnScreenToOffScreen();
    m_layerSnapshotCache.pop_back();
    if (!m_strokeList.empty())
        m_strokeList.pop_back();
    return true;
}

void Layer::syncOnScreenToOffScreen()
{
    auto* context = layerContext();
    if (!context)
        return;
    syncToOffScreenFrom(*context, Rect(0, 0, m_width, m_height));
}

void Layer::syncToOnScreen(BitmapContext& context, const Rect& region)
{
    if (auto* offscreen = offscreenContext())
        copyRegion(*offscreen, context, region);
}

void Layer::syncToOffScreenFrom(BitmapContext& context, const Rect& region)
{
    if (auto* offscreen = offscreenContext())
        copyRegion(context, *offscreen, region);
}

void Layer::startPlayback()
{
    m_strokePointsNumber = getStrokePointsNumber();
    m_playbackedPoints = 0;
    bool canReplay = createPlaybackContext();
    clearOffScreen();
    if (!canReplay) {
        // Without a canvas to replay into, the replay is over at once rather
        // than never.
        leavePlaybackStroke();
        m_currentPlaybackStrokeIndex = getStrokeNumber();
        m_currentPlaybackPointIndex = 0;
        m_playbackedPoints = m_strokePointsNumber;
        return;
    }
    moveToFirstStroke();
}

void Layer::stopPlayback()
{
    leavePlaybackStroke();
    m_playbackBrush.reset();
    releasePlaybackContext();
    syncOnScreenToOffScreen();
}

bool Layer::createPlaybackContext()
{
    // A fresh canvas is transparent.
    m_playbackCanvas = createLayerCanvasWithSize(m_width, m_height);
    return m_playbackCanvas.has_value();
}

void Layer::releasePlaybackContext()
{
    m_playbackCanvas.reset();
}

void Layer::leavePlaybackStroke()
{
    if (m_currentPlaybackStroke && m_currentPlaybackStroke->brush() == m_playbackBrush.get())
        m_currentPlaybackStroke->setBrush(nullptr);
    m_currentPlaybackStroke = nullptr;
}

void Layer::beginPlaybackStroke(int index)
{
    leavePlaybackStroke();
    Stroke& stroke = *m_strokeList[static_cast<size_t>(index)];
    m_currentPlaybackStroke = &stroke;
    m_playbackBrush = Brush::createBrush(stroke.getBrushType(), m_patternManager);
    // Exact halves: the replay centre of an odd-sized canvas lies half a point
    // further than the live one.
    if (m_playbackBrush)
        m_playbackBrush->setMirrix(stroke.getMirrixMode(), { 0.5f * m_width, 0.5f * m_height });
    stroke.setBrush(m_playbackBrush.get());
    m_currentPlaybackPointIndex = 0;
}

void Layer::playbackFirstPoint()
{
    const auto& points = m_currentPlaybackStroke->strokePoints();
    auto* canvas = playbackLayerContext();
    if (static_cast<size_t>(m_currentPlaybackPointIndex) >= points.size() || !canvas)
        return;
    const StrokePoint& point = points[static_cast<size_t>(m_currentPlaybackPointIndex++)];
    m_currentPlaybackStroke->strokeFrom(*canvas, point, true);
}

Stroke* Layer::moveToFirstStroke()
{
    leavePlaybackStroke();
    m_currentPlaybackPointIndex = 0;
    m_currentPlaybackStrokeIndex = 0;
    if (m_strokeList.empty())
        return nullptr;
    beginPlaybackStroke(0);
    playbackFirstPoint();
    return m_currentPlaybackStroke;
}

Stroke* Layer::moveToNextStroke()
{
    ++m_currentPlaybackStrokeIndex;
    if (endOfStrokeList()) {
        leavePlaybackStroke();
        return nullptr;
    }
    beginPlaybackStroke(m_currentPlaybackStrokeIndex);
    return m_currentPlaybackStroke;
}

Rect Layer::playbackNextStrokePointsOfNumber(int n)
{
    Rect changed = Rect::null();
    auto* canvas = playbackLayerContext();
    if (!m_currentPlaybackStroke || !canvas)
        return changed;
    for (int i = 0; i < n; ++i) {
        if (endOfStroke()) {
            if (!moveToNextStroke()) {
                m_playbackedPoints = m_strokePointsNumber;
                return changed;
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
            changed = changed.united(drawStep(*canvas, stroke, point, true, true));
            if (brush)
                brush->endStroke();
            syncToOffScreenFrom(*canvas, stroke.dirtyRect());
        } else {
            changed = changed.united(drawStep(*canvas, stroke, point, true, false));
        }
    }
    return changed;
}

Rect Layer::drawStep(BitmapContext& canvas, Stroke& stroke, const StrokePoint& point, bool isReplay, bool isEnd)
{
    auto draw = [&] {
        return isEnd ? stroke.strokeEnd(canvas, point, isReplay) : stroke.strokeTo(canvas, point, isReplay);
    };
    Brush* brush = stroke.brush();
    if (!brush || !brush->mMustRedrawWholeStrokePath())
        return draw();
    std::optional<Brush::StepArea> area = brush->wholePathStepArea(point.CGPoint(), isEnd);
    if (!area || !brush->mirrix()) {
        // Each step draws the whole path again over the canvas as it was before the stroke.
        syncToOnScreen(canvas, stroke.dirtyRect());
        return draw();
    }

    // Only the area the step can change, in each mirror copy, is restored and drawn again.
    m_redrawRegion.reset(static_cast<float>(canvas.width()), static_cast<float>(canvas.height()));
    for (const platform::AffineTransform& transform : brush->mirrix()->getMatrix()) {
        std::array<Point, 4> corners;
        for (size_t i = 0; i < corners.size(); ++i)
            corners[i] = transform.map(area->corners[i]);
        m_redrawRegion.addHull(corners, area->margin);
    }
    const std::vector<Rect>& region = m_redrawRegion.rects();
    for (const Rect& part : region)
        syncToOnScreen(canvas, part);
    canvas.saveGState();
    canvas.clipToRects(region);
    Rect changed = draw();
    canvas.restoreGState();
    return changed;
}

bool Layer::endOfStroke() const
{
    return !m_currentPlaybackStroke || m_currentPlaybackPointIndex >= m_currentPlaybackStroke->getStrokePointsNumber();
}

bool Layer::endOfStrokeList() const
{
    return m_currentPlaybackStrokeIndex >= getStrokeNumber();
}

float Layer::getPlaybackProgress() const
{
    // A layer without points has nothing left to replay.
    if (m_strokePointsNumber <= 0)
        return 1.0f;
    return static_cast<float>(static_cast<double>(m_playbackedPoints) / m_strokePointsNumber);
}
