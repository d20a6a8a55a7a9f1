#include "platform/graphics/ShadowRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace platform {

ShadowRenderer::~ShadowRenderer()
{
    if (m_maskPainter.isActive())
        m_maskPainter.end();
}

void ShadowRenderer::ensureMask(QSize size)
{
    if (m_mask.size() == size)
        return;
    if (m_maskPainter.isActive())
        m_maskPainter.end();
    m_mask = QImage(size, QImage::Format_Alpha8);
    m_mask.fill(0);
    m_maskPainter.begin(&m_mask);
    int longest = std::max(size.width(), size.height());
    m_line.resize(longest);
}

QRect ShadowRenderer::beginMask(QSize targetSize, const QRect& shapeBounds, const QRect& clip, float blur, QPoint offset)
{
    int margin = static_cast<int>(std::ceil(1.5f * blur)) + 2; // three deviations
    QRect needed = clip.translated(-offset).intersected(shapeBounds.adjusted(-margin, -margin, margin, margin));
    QRect box = needed.intersected(QRect(QPoint(0, 0), targetSize));
    if (box.isEmpty())
        return {};
    ensureMask(targetSize);
    uchar* bits = const_cast<uchar*>(m_mask.constBits());
    qsizetype stride = m_mask.bytesPerLine();
    for (int y = box.top(); y <= box.bottom(); ++y)
        std::memset(bits + y * stride + box.left(), 0, box.width());
    m_maskPainter.resetTransform();
    m_maskPainter.setClipRect(box);
    m_maskPainter.setOpacity(1);
    m_maskPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_maskPainter.setRenderHint(QPainter::Antialiasing, true);
    return box;
}

void ShadowRenderer::finish(QImage& target, const QRect& box, const QRect& clip, float blurRadius, QPoint offset,
    const Color& color)
{
    blur(box, blurRadius / 2);

    QRect dest = box.translated(offset).intersected(clip).intersected(target.rect());
    if (dest.isEmpty())
        return;
    const uint32_t colorAlpha = static_cast<uint32_t>(std::lround(std::clamp(color.alpha, 0.0f, 1.0f) * 255));
    const uint32_t red = static_cast<uint32_t>(std::lround(std::clamp(color.red, 0.0f, 1.0f) * 255));
    const uint32_t green = static_cast<uint32_t>(std::lround(std::clamp(color.green, 0.0f, 1.0f) * 255));
    const uint32_t blue = static_cast<uint32_t>(std::lround(std::clamp(color.blue, 0.0f, 1.0f) * 255));
    // Writing through constBits() keeps the painter's image from detaching.
    uchar* targetBits = const_cast<uchar*>(target.constBits());
    const qsizetype targetStride = target.bytesPerLine();
    const uchar* maskBits = m_mask.constBits();
    const qsizetype maskStride = m_mask.bytesPerLine();
    for (int y = dest.top(); y <= dest.bottom(); ++y) {
        const uchar* maskRow = maskBits + (y - offset.y()) * maskStride - offset.x();
        auto* row = reinterpret_cast<uint32_t*>(targetBits + y * targetStride);
        for (int x = dest.left(); x <= dest.right(); ++x) {
            uint32_t coverage = maskRow[x];
            if (!coverage)
                continue;
            uint32_t a = (coverage * colorAlpha + 127) / 255;
            uint32_t inverse = 255 - a;
            uint32_t d = row[x];
            uint32_t outA = a + (((d >> 24) & 0xff) * inverse + 127) / 255;
            uint32_t outR = (red * a + 127) / 255 + (((d >> 16) & 0xff) * inverse + 127) / 255;
            uint32_t outG = (green * a + 127) / 255 + (((d >> 8) & 0xff) * inverse + 127) / 255;
            uint32_t outB = (blue * a + 127) / 255 + ((d & 0xff) * inverse + 127) / 255;
            row[x] = (std::min(outA, 255u) << 24) | (std::min(outR, 255u) << 16) | (std::min(outG, 255u) << 8)
                | std::min(outB, 255u);
        }
    }
}

void ShadowRenderer::blur(const QRect& box, float sigma)
{
    if (sigma <= 0.3f)
        return;
    // Widths of three box filters whose succession approximates the Gaussian.
    constexpr int passes = 3;
    double ideal = std::sqrt(12.0 * sigma * sigma / passes + 1);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0)
        --lower;
    int upper = lower + 2;
    double m = (12.0 * sigma * sigma - passes * lower * lower - 4.0 * passes * lower - 3.0 * passes) / (-4.0 * lower - 4);
    int lowerCount = static_cast<int>(std::lround(m));
    for (int i = 0; i < passes; ++i) {
        int radius = ((i < lowerCount ? lower : upper) - 1) / 2;
        if (radius < 1)
            continue;
        boxBlurRows(box, radius);
        boxBlurColumns(box, radius);
    }
}

namespace {

// One box filter of the given radius over `count` values spaced `step` apart,
// with zeros beyond the ends; `scratch` holds a copy of the input.
void boxBlurLine(uchar* data, qsizetype step, int count, int radius, uchar* scratch)
{
    for (int i = 0; i < count; ++i)
        scratch[i] = data[i * step];
    const uint32_t width = 2 * radius + 1;
    const uint32_t reciprocal = (1u << 24) / width;
    uint32_t sum = 0;
    for (int i = 0; i < std::min(radius, count); ++i)
        sum += scratch[i];
    for (int i = 0; i < count; ++i) {
        int entering = i + radius;
        int leaving = i - radius - 1;
        if (entering < count)
            sum += scratch[entering];
        if (leaving >= 0)
            sum -= scratch[leaving];
        data[i * step] = static_cast<uchar>((sum * reciprocal + (1u << 23)) >> 24);
    }
}

}

void ShadowRenderer::boxBlurRows(const QRect& box, int radius)
{
    uchar* bits = const_cast<uchar*>(m_mask.constBits());
    qsizetype stride = m_mask.bytesPerLine();
    for (int y = box.top(); y <= box.bottom(); ++y)
        boxBlurLine(bits + y * stride + box.left(), 1, box.width(), radius, m_line.data());
}

void ShadowRenderer::boxBlurColumns(const QRect& box, int radius)
{
    uchar* bits = const_cast<uchar*>(m_mask.constBits());
    qsizetype stride = m_mask.bytesPerLine();
    for (int x = box.left(); x <= box.right(); ++x)
        boxBlurLine(bits + box.top() * stride + x, stride, box.height(), radius, m_line.data());
}

}
