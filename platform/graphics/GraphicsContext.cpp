#include "platform/graphics/GraphicsContext.h"

#include "platform/graphics/VectorState.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

namespace {

// Geometry far beyond any canvas (huge or non-finite sizes and positions,
// which only a damaged file can record) must not reach the integer
// rectangles below, whose conversions and sums would overflow, nor Qt's
// rasteriser, which fails on it. Such a shape is not drawn: no real drawing
// reaches this far around its target.
constexpr qreal farOutside = 1 << 24;

bool isWithinReach(const QRectF& r, const QRect& target)
{
    if (!std::isfinite(r.x()) || !std::isfinite(r.y()) || !std::isfinite(r.width()) || !std::isfinite(r.height()))
        return false;
    return QRectF(target).adjusted(-farOutside, -farOutside, farOutside, farOutside).contains(r.normalized());
}

// Whether drawing an image of `pixels` into `target` through `t` (onto
// `deviceTarget`) only flips it and moves it by whole pixels: every pixel is
// then sampled at its centre.
bool isPixelExact(const QTransform& t, const QRectF& target, const QRectF& deviceTarget, const QSize& pixels)
{
    return t.type() <= QTransform::TxScale && std::fabs(t.m11()) == 1 && std::fabs(t.m22()) == 1
        && target.width() == pixels.width() && target.height() == pixels.height()
        && deviceTarget.topLeft() == QPointF(deviceTarget.topLeft().toPoint());
}

Qt::PenCapStyle toQt(LineCap cap)
{
    switch (cap) {
    case LineCap::Round: return Qt::RoundCap;
    case LineCap::Square: return Qt::SquareCap;
    default: return Qt::FlatCap;
    }
}

Qt::PenJoinStyle toQt(LineJoin join)
{
    switch (join) {
    case LineJoin::Round: return Qt::RoundJoin;
    case LineJoin::Bevel: return Qt::BevelJoin;
    default: return Qt::SvgMiterJoin;
    }
}

QPainter::CompositionMode toQt(BlendMode mode)
{
    switch (mode) {
    case BlendMode::Clear: return QPainter::CompositionMode_Clear;
    case BlendMode::Copy: return QPainter::CompositionMode_Source;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

}

GraphicsContext::GraphicsContext(std::unique_ptr<QImage> target, const QTransform& base)
    : m_target(std::move(target))
    , m_targetRect(m_target->rect())
    , m_base(base)
    , m_painter(m_ownPainter)
{
    m_painter.begin(m_target.get());
    m_pen.setMiterLimit(10);
    m_stack.reserve(16);
}

GraphicsContext::GraphicsContext(QPainter& painter, const QRect& targetRect, const QTransform& base,
    std::optional<QRectF> clip)
    : m_targetRect(targetRect)
    , m_base(base)
    , m_painter(painter)
{
    m_pen.setMiterLimit(10);
    m_stack.reserve(16);
    m_state.clip = clip;
}

GraphicsContext::~GraphicsContext()
{
    if (m_ownPainter.isActive())
        m_ownPainter.end();
}

void GraphicsContext::saveGState()
{
    m_stack.push_back(m_state);
}

void GraphicsContext::restoreGState()
{
    if (m_stack.empty())
        return;
    m_state = m_stack.back();
    m_stack.pop_back();
}

void GraphicsContext::concatCTM(const AffineTransform& t)
{
    m_state.ctm = t.concatenated(m_state.ctm);
}

QTransform GraphicsContext::deviceTransform() const
{
    return m_state.ctm.toQTransform() * m_base;
}

AffineTransform GraphicsContext::getUserSpaceToDeviceSpaceTransform() const
{
    const AffineTransform base { static_cast<float>(m_base.m11()), static_cast<float>(m_base.m12()),
        static_cast<float>(m_base.m21()), static_cast<float>(m_base.m22()), static_cast<float>(m_base.dx()),
        static_cast<float>(m_base.dy()) };
    return m_state.ctm.concatenated(base);
}

void GraphicsContext::clipToRect(const Rect& r)
{
    if (r.isNull()) {
        m_state.clip = QRectF();
        if (m_state.clipRegion)
            m_state.clipRegion = QRegion();
        return;
    }
    QRectF device = deviceTransform().mapRect(QRectF(r.x(), r.y(), r.width(), r.height()).normalized());
    m_state.clip = m_state.clip ? m_state.clip->intersected(device) : device;
    if (m_state.clipRegion)
        m_state.clipRegion = m_state.clipRegion->intersected(m_state.clip->toAlignedRect());
}

namespace {

// A region from pixel rectangles. Rows of rectangles that do not overlap (the
// usual input) are handed over whole; uniting them one by one costs time that
// grows with the square of their number.
QRegion regionOfRects(std::vector<QRect>& rects)
{
    std::sort(rects.begin(), rects.end(), [](const QRect& a, const QRect& b) {
        return a.top() != b.top() ? a.top() < b.top() : a.left() < b.left();
    });
    bool banded = true;
    for (size_t i = 1; i < rects.size() && banded; ++i) {
        const QRect& previous = rects[i - 1];
        const QRect& r = rects[i];
        if (r.top() == previous.top())
            banded = r.height() == previous.height() && r.left() > previous.right() + 1;
        else
            banded = r.top() > previous.bottom();
    }
    QRegion region;
    if (banded) {
        region.setRects(rects.data(), static_cast<int>(rects.size()));
    } else {
        for (const QRect& r : rects)
            region += r;
    }
    return region;
}

}

void GraphicsContext::clipToRects(std::span<const Rect> rects)
{
    const QTransform device = deviceTransform();
    m_clipRects.clear();
    for (const Rect& r : rects) {
        QRect pixels = device.mapRect(QRectF(r.x(), r.y(), r.width(), r.height()).normalized()).toAlignedRect();
        if (!r.isNull() && !pixels.isEmpty())
            m_clipRects.push_back(pixels);
    }
    QRegion region = regionOfRects(m_clipRects);
    if (m_state.clipRegion)
        region &= *m_state.clipRegion;
    else if (m_state.clip)
        region &= m_state.clip->toAlignedRect();
    m_state.clipRegion = region;
    m_state.clip = QRectF(region.boundingRect());
}

void GraphicsContext::setShadow(Size offset, float blur, std::optional<Color> color)
{
    if (!color) {
        m_state.shadow.reset();
        return;
    }
    m_state.shadow = Shadow { offset, std::max(blur, 0.0f), *color };
}

void GraphicsContext::applyState()
{
    m_painter.resetTransform();
    if (m_state.clipRegion)
        m_painter.setClipRegion(*m_state.clipRegion);
    else if (m_state.clip)
        m_painter.setClipRect(*m_state.clip);
    else
        m_painter.setClipping(false);
    m_painter.setTransform(deviceTransform());
    m_painter.setRenderHint(QPainter::Antialiasing, m_state.antialias && m_state.allowsAntialias);
    m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    m_painter.setCompositionMode(toQt(m_state.blendMode));
    m_painter.setOpacity(std::clamp(m_state.alpha, 0.0f, 1.0f));
}

// Larger shapes are left to QPainter, whose threaded fills pay off for them.
constexpr qint64 directPaintLargestArea = 256 * 256;

QPoint GraphicsContext::shadowOffset(const Shadow& shadow) const
{
    // The offset is measured along the default user space's axes, whatever the CTM.
    QPointF vector = m_base.map(QPointF(shadow.offset.width, shadow.offset.height)) - m_base.map(QPointF(0, 0));
    if (!std::isfinite(vector.x()) || !std::isfinite(vector.y()))
        return QPoint();
    return QPointF(std::clamp(vector.x(), -farOutside, farOutside), std::clamp(vector.y(), -farOutside, farOutside)).toPoint();
}

void GraphicsContext::drawPath(const QPainterPath& path, Paint paint)
{
    if (paint == Paint::Stroke && !std::isfinite(m_state.lineWidth))
        return;
    applyState();
    QColor color = (paint == Paint::Stroke ? m_state.strokeColor : m_state.fillColor).toQColor();
    if (paint == Paint::Stroke) {
        m_pen.setColor(color);
        m_pen.setWidthF(m_state.lineWidth);
        m_pen.setCapStyle(toQt(m_state.lineCap));
        m_pen.setJoinStyle(toQt(m_state.lineJoin));
        m_painter.setPen(m_pen);
        m_painter.setBrush(Qt::NoBrush);
    } else {
        m_painter.setPen(Qt::NoPen);
        m_painter.setBrush(color);
    }

    const QTransform device = deviceTransform();
    const double scale = std::sqrt(std::fabs(device.determinant()));
    QRectF bounds = device.mapRect(path.controlPointRect());
    if (paint == Paint::Stroke) {
        // Half the line width, scaled, plus room for miter points.
        double grow = m_state.lineWidth * scale * (m_state.lineJoin == LineJoin::Miter ? 5 : 0.5) + 1;
        bounds.adjust(-grow, -grow, grow, grow);
    }
    if (!isWithinReach(bounds, m_targetRect))
        return;
    const QRect pixelBounds = bounds.toAlignedRect();
    // Whether the shadow renderer's scratch painter, always antialiased and clipped
    // to whole pixels, rasterises this path as the target painter does. Thin
    // strokes take another route through Qt, and square caps may leave `bounds`.
    bool paintsLikeScratch = m_state.antialias && m_state.allowsAntialias
        && (!m_state.clip || QRectF(m_state.clip->toAlignedRect()) == *m_state.clip);
    if (paint == Paint::Stroke)
        paintsLikeScratch = paintsLikeScratch && m_state.lineCap != LineCap::Square && m_state.lineWidth * scale >= 2;
    QRect clip = m_targetRect;
    if (m_state.clip)
        clip = clip.intersected(m_state.clip->toAlignedRect());
    // The shadow and the direct paths work on the target's pixels.
    if (!m_target) {
        m_painter.drawPath(path);
        return;
    }

    if (m_state.shadow && m_state.blendMode == BlendMode::Normal) {
        const Shadow& shadow = *m_state.shadow;
        double baseScale = std::sqrt(std::fabs(m_base.determinant()));
        QPoint offset = shadowOffset(shadow);
        ShadowShape shape { path, device, m_painter.pen(), m_painter.brush(), m_painter.opacity() };
        // The shadow's mask painter rasterises the path exactly as the target
        // painter would; then the shape is painted from that mask rather than
        // rasterised again.
        const bool shapeFromMask = offset.isNull() && paintsLikeScratch;
        forEachClipPart(clip, [&](const QRect& part) {
            if (m_shadow.drawPath(*m_target, pixelBounds, part, shadow.blur * baseScale, offset,
                    shadow.color, shape)
                && shapeFromMask)
                m_shadow.paintShapeOverTarget(*m_target, part);
        });
        if (shapeFromMask)
            return;
    } else if (paintsLikeScratch && m_state.blendMode != BlendMode::Copy) {
        QRect box = pixelBounds.adjusted(-2, -2, 2, 2).intersected(clip);
        if (m_state.clipRegion) {
            // Under a clip of several parts only the parts are touched, so even a
            // large shape is cheaper painted here than by QPainter. Clearing is
            // left to QPainter, which honours the parts.
            if (m_state.blendMode == BlendMode::Normal) {
                m_shadow.drawPathDirect(*m_target, box, *m_state.clipRegion,
                    ShadowShape { path, device, m_painter.pen(), m_painter.brush(), m_painter.opacity() });
                return;
            }
        } else if (static_cast<qint64>(box.width()) * box.height() <= directPaintLargestArea) {
            ShadowShape shape { path, device, m_painter.pen(), m_painter.brush(), m_painter.opacity() };
            if (m_state.blendMode == BlendMode::Clear)
                m_shadow.clearPathDirect(*m_target, box, clip, std::move(shape));
            else
                m_shadow.drawPathDirect(*m_target, box, clip, shape);
            return;
        }
    }
    m_painter.drawPath(path);
}

void GraphicsContext::strokePath()
{
    drawPath(m_path.qpath(), Paint::Stroke);
    m_path.clear();
}

void GraphicsContext::fillPath()
{
    drawPath(m_path.qpath(), Paint::Fill);
    m_path.clear();
}

void GraphicsContext::strokeRect(const Rect& r)
{
    QPainterPath path;
    path.addRect(r.x(), r.y(), r.width(), r.height());
    drawPath(path, Paint::Stroke);
}

void GraphicsContext::fillRect(const Rect& r)
{
    // A rectangle on whole device pixels covers them fully: QPainter fills it
    // as spans within the clip, where a path would be rasterised whole first
    // (a repaint fills the painting's background once per changed rectangle).
    const QTransform device = deviceTransform();
    if (!m_state.shadow && device.type() <= QTransform::TxScale) {
        const QRectF target = device.mapRect(QRectF(r.x(), r.y(), r.width(), r.height()).normalized());
        const QRect pixels = isWithinReach(target, m_targetRect) ? target.toRect() : QRect();
        if (!pixels.isEmpty() && QRectF(pixels) == target) {
            applyState();
            m_painter.resetTransform();
            m_painter.fillRect(pixels, m_state.fillColor.toQColor());
            return;
        }
    }
    QPainterPath path;
    path.addRect(r.x(), r.y(), r.width(), r.height());
    drawPath(path, Paint::Fill);
}

void GraphicsContext::fillEllipseInRect(const Rect& r)
{
    QPainterPath path;
    path.addEllipse(r.x(), r.y(), r.width(), r.height());
    drawPath(path, Paint::Fill);
}

void GraphicsContext::fillCoverage(const CoverageSource& source)
{
    clearUpperVectorState();
    QRect area = source.bounds().intersected(m_target->rect());
    if (m_state.clip)
        area = area.intersected(m_state.clip->toAlignedRect());
    if (area.isEmpty())
        return;
    const Color& color = m_state.fillColor;
    const float alpha = std::clamp(color.alpha * m_state.alpha, 0.0f, 1.0f);
    auto premultiplied = [alpha](float channel) {
        return static_cast<uint32_t>(std::lround(std::clamp(channel, 0.0f, 1.0f) * alpha * 255));
    };
    const uint32_t a = premultiplied(1), r = premultiplied(color.red), g = premultiplied(color.green),
                   b = premultiplied(color.blue);
    m_coverageRow.resize(static_cast<size_t>(m_target->width()));
    uchar* bits = const_cast<uchar*>(m_target->constBits());
    const qsizetype stride = m_target->bytesPerLine();
    // Qt's rounding of x · a / 255.
    auto byteMul = [](uint32_t x, uint32_t k) {
        const uint32_t t = x * k;
        return (t + (t >> 8) + 0x80) >> 8;
    };
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    // One pixel's premultiplied channels in memory order, twice.
    const __m128i color16 = _mm_setr_epi16(static_cast<short>(b), static_cast<short>(g), static_cast<short>(r),
        static_cast<short>(a), static_cast<short>(b), static_cast<short>(g), static_cast<short>(r), static_cast<short>(a));
    // Qt's rounding of x · a / 255 in each 16-bit lane.
    auto byteMul16 = [](__m128i x, __m128i k) {
        const __m128i t = _mm_mullo_epi16(x, k);
        return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(0x80)), 8);
    };
#endif
    forEachClipPart(area, [&](const QRect& part) {
        for (int y = part.top(); y <= part.bottom(); ++y) {
            int x0 = part.left(), x1 = part.right() + 1;
            if (!source.coverageRow(y, x0, x1, m_coverageRow.data()))
                continue;
            auto* row = reinterpret_cast<uint32_t*>(bits + y * stride);
            const uint8_t* coverage = m_coverageRow.data() - x0;
            int x = x0;
#if defined(__SSE2__)
            // Four pixels at a time: the colour scaled by each one's coverage,
            // plus the destination scaled by what that lets through.
            for (; x + 4 <= x1; x += 4) {
                uint32_t four;
                std::memcpy(&four, coverage + x, 4);
                if (!four)
                    continue;
                const __m128i k = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four)), zero),
                    _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four)), zero));
                const __m128i sLow = byteMul16(color16, _mm_unpacklo_epi32(k, k));
                const __m128i sHigh = byteMul16(color16, _mm_unpackhi_epi32(k, k));
                const __m128i inverseLow = _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sLow, 0xff), 0xff));
                const __m128i inverseHigh = _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sHigh, 0xff), 0xff));
                const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
                const __m128i low = _mm_add_epi16(sLow, byteMul16(_mm_unpacklo_epi8(d, zero), inverseLow));
                const __m128i high = _mm_add_epi16(sHigh, byteMul16(_mm_unpackhi_epi8(d, zero), inverseHigh));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), _mm_packus_epi16(low, high));
            }
#endif
            for (; x < x1; ++x) {
                const uint32_t k = coverage[x];
                if (!k)
                    continue;
                const uint32_t sa = byteMul(a, k);
                const uint32_t kept = 255 - sa;
                const uint32_t d = row[x];
                row[x] = ((sa + byteMul(d >> 24, kept)) << 24) | ((byteMul(r, k) + byteMul((d >> 16) & 0xff, kept)) << 16)
                    | ((byteMul(g, k) + byteMul((d >> 8) & 0xff, kept)) << 8) | (byteMul(b, k) + byteMul(d & 0xff, kept));
            }
        }
    });
}

void GraphicsContext::clearRect(const Rect& r)
{
    applyState();
    m_painter.setCompositionMode(QPainter::CompositionMode_Clear);
    m_painter.setOpacity(1);
    m_painter.fillRect(QRectF(r.x(), r.y(), r.width(), r.height()), Qt::black);
}

void GraphicsContext::drawImage(const Rect& rect, const Image& image)
{
    if (image.isNull() || rect.isNull())
        return;
    Rect r = rect.standardized();
    AffineTransform saved = m_state.ctm;
    m_state.ctm = AffineTransform { 1, 0, 0, -1, r.x(), r.y() + r.height() }.concatenated(saved);
    drawImageTopLeft(Rect(0, 0, r.width(), r.height()), image);
    m_state.ctm = saved;
}

void GraphicsContext::drawImageTopLeft(const Rect& rect, const Image& image)
{
    if (image.isNull() || rect.isNull())
        return;
    applyState();
    QRectF target(rect.x(), rect.y(), rect.width(), rect.height());
    const QTransform device = deviceTransform();
    const QRectF deviceTarget = device.mapRect(target);
    if (!isWithinReach(deviceTarget, m_targetRect))
        return;
    // Smoothing such a draw changes nothing but costs a filtered one; every
    // picture of a canvas, stored bottom-up, is drawn flipped like this.
    if (isPixelExact(device, target, deviceTarget, image.qimage().size()))
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    if (m_target && m_state.shadow && m_state.blendMode == BlendMode::Normal) {
        const Shadow& shadow = *m_state.shadow;
        QRect clip = m_target->rect();
        if (m_state.clip)
            clip = clip.intersected(m_state.clip->toAlignedRect());
        double baseScale = std::sqrt(std::fabs(m_base.determinant()));
        QPoint offset = shadowOffset(shadow);
        qreal opacity = m_painter.opacity();
        forEachClipPart(clip, [&](const QRect& part) {
            m_shadow.draw(*m_target, deviceTarget.toAlignedRect(), part, shadow.blur * baseScale, offset,
                shadow.color, [&](QPainter& mask) {
                    mask.setTransform(device);
                    mask.setOpacity(opacity);
                    mask.drawImage(target, image.qimage());
                });
        });
    }
    m_painter.drawImage(target, image.qimage());
}

}
