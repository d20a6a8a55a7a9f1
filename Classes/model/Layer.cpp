#include "Classes/model/Layer.h"

#include "Classes/brushes/Brush.h"
#include "Classes/brushes/Mirrix.h"
#include "platform/graphics/VectorState.h"
#include "platform/system/Device.h"

#include <QImage>
#include <cmath>
#include <cstring>

using platform::BitmapContext;
using platform::Image;
using platform::Point;
using platform::Rect;

Layer::Layer()
{
    // Room for a few points of mirror copies, so that steps do not allocate.
    m_changedRects.reserve(64);
}

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
    beginChange();
    if (!m_currentStroke)
        return Rect::null();
    // Spacing is the sum of the axis distances, which is cheaper than the true
    // distance and keeps small jitter out of the record.
    float distance = std::fabs(p.x - m_prevPoint.x) + std::fabs(p.y - m_prevPoint.y);
    if (distance < minimumPointSpacing)
        return Rect::null();
    m_prevPoint = p;
    m_dirtyRect = noteChange(*m_currentStroke, drawStep(*layerContext(), *m_currentStroke, StrokePoint(p), false, false));
    return m_dirtyRect;
}

Rect Layer::strokeEnd(Point p)
{
    beginChange();
    if (!m_currentStroke)
        return Rect::null();
    Brush* brush = m_currentStroke->brush();
    m_dirtyRect = noteChange(*m_currentStroke, drawStep(*layerContext(), *m_currentStroke, StrokePoint(p), false, true));
    if (brush)
        brush->endStroke();
    // A finished stroke keeps no brush: the painting may switch or destroy it
    // at any time, and only a replay hands the stroke a brush again.
    m_currentStroke->setBrush(nullptr);
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
        copyCanvasRegion(*offscreen, context, region);
}

void Layer::syncToOffScreenFrom(BitmapContext& context, const Rect& region)
{
    if (auto* offscreen = offscreenContext())
        copyCanvasRegion(context, *offscreen, region);
}

Rect Layer::drawStep(BitmapContext& canvas, Stroke& stroke, const StrokePoint& point, bool isReplay, bool isEnd)
{
    platform::clearUpperVectorState();
    auto draw = [&] {
        return isEnd ? stroke.strokeEnd(canvas, point, isReplay) : stroke.strokeTo(canvas, point, isReplay);
    };
    m_stepConfined = false;
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
    // Nothing outside the region changed: it is what the screen repaints,
    // a fraction of the whole shape that the step reports.
    m_stepConfined = true;
    return changed;
}

Rect Layer::noteChange(const Stroke& stroke, const Rect& changed)
{
    if (changed.isNull())
        return changed;
    if (m_stepConfined) {
        for (const Rect& part : m_redrawRegion.coveringRects()) {
            const Rect inside = part.intersected(changed);
            if (!inside.isEmpty())
                m_changedRects.push_back(inside);
        }
        m_changedUnion = m_changedUnion.united(changed);
        return changed;
    }
    // The brush's rectangles per mirror copy stand for the step only when they
    // make up exactly what it reported; otherwise the step's one rectangle does.
    if (const Brush* brush = stroke.brush()) {
        Rect united = Rect::null();
        for (const Rect& copy : brush->copyRects())
            united = united.united(copy);
        if (united == changed) {
            for (const Rect& copy : brush->copyRects()) {
                m_changedRects.push_back(copy);
                m_changedUnion = m_changedUnion.united(copy);
            }
            return changed;
        }
    }
    m_changedRects.push_back(changed);
    m_changedUnion = m_changedUnion.united(changed);
    return changed;
}
