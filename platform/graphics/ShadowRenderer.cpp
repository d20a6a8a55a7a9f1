#include "platform/graphics/ShadowRenderer.h"

#include "platform/graphics/VectorState.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

namespace {

// (x + 127) / 255 for x up to 65152, without a division.
inline uint32_t divideBy255Rounded(uint32_t x)
{
    x += 127;
    return (x + 1 + (x >> 8)) >> 8;
}

// Qt's BYTE_MUL rounding of one channel: x · a / 255.
inline uint32_t byteMul(uint32_t x, uint32_t a)
{
    uint32_t t = x * a;
    return (t + (t >> 8) + 0x80) >> 8;
}

// The shadow colour, scaled by one pixel's coverage, over a premultiplied pixel.
inline uint32_t shadowOver(uint32_t d, uint32_t coverage, uint32_t colorAlpha, uint32_t red, uint32_t green,
    uint32_t blue)
{
    uint32_t a = divideBy255Rounded(coverage * colorAlpha);
    uint32_t inverse = 255 - a;
    uint32_t outA = a + divideBy255Rounded(((d >> 24) & 0xff) * inverse);
    uint32_t outR = divideBy255Rounded(red * a) + divideBy255Rounded(((d >> 16) & 0xff) * inverse);
    uint32_t outG = divideBy255Rounded(green * a) + divideBy255Rounded(((d >> 8) & 0xff) * inverse);
    uint32_t outB = divideBy255Rounded(blue * a) + divideBy255Rounded((d & 0xff) * inverse);
    return (std::min(outA, 255u) << 24) | (std::min(outR, 255u) << 16) | (std::min(outG, 255u) << 8)
        | std::min(outB, 255u);
}

#if defined(__SSE2__)
// (x + 127) / 255 in each 16-bit lane.
inline __m128i divideBy255Rounded(__m128i x)
{
    x = _mm_add_epi16(x, _mm_set1_epi16(127));
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)), 8);
}

// Two pixels in 16-bit lanes: the colour lanes (B, G, R, 255) times the
// coverage-scaled alpha, plus the destination times the rest.
inline __m128i shadowOverTwo(__m128i destination, __m128i coverage, __m128i colorAlpha, __m128i colorLanes)
{
    __m128i a = divideBy255Rounded(_mm_mullo_epi16(coverage, colorAlpha));
    __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), a);
    return _mm_add_epi16(divideBy255Rounded(_mm_mullo_epi16(colorLanes, a)),
        divideBy255Rounded(_mm_mullo_epi16(destination, inverse)));
}

// Qt's BYTE_MUL in each 16-bit lane.
inline __m128i byteMul(__m128i x, __m128i a)
{
    __m128i t = _mm_mullo_epi16(x, a);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(0x80)), 8);
}
#endif

}

ShadowRenderer::~ShadowRenderer()
{
    if (m_scratchPainter.isActive())
        m_scratchPainter.end();
}

QRect ShadowRenderer::shadowBox(QSize targetSize, const QRect& shapeBounds, const QRect& clip, float blur,
    QPoint offset) const
{
    // A blur wider than the target blurs everything into nothing; held there,
    // it also stays clear of integer overflow.
    const float widest = static_cast<float>(std::max(targetSize.width(), targetSize.height()));
    const float reach = std::isfinite(blur) ? std::clamp(1.5f * blur, 0.0f, widest) : widest;
    int margin = static_cast<int>(std::ceil(reach)) + 2; // three deviations
    // Coverage up to a margin outside the clip still blurs into it.
    QRect needed = clip.adjusted(-margin, -margin, margin, margin)
                       .translated(-offset)
                       .intersected(shapeBounds.adjusted(-margin, -margin, margin, margin));
    return needed.intersected(QRect(QPoint(0, 0), targetSize));
}

void ShadowRenderer::beginCoverage(QSize targetSize, const QRect& box, const QRegion* parts)
{
    if (m_scratch.size() != targetSize) {
        if (m_scratchPainter.isActive())
            m_scratchPainter.end();
        m_scratch = QImage(targetSize, QImage::Format_ARGB32_Premultiplied);
        m_scratchPainter.begin(&m_scratch);
    }
    // Writing through constBits() keeps the painter's image from detaching.
    uchar* bits = const_cast<uchar*>(m_scratch.constBits());
    const qsizetype stride = m_scratch.bytesPerLine();
    auto clear = [&](const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y)
            std::memset(bits + y * stride + area.left() * 4, 0, static_cast<size_t>(area.width()) * 4);
    };
    m_scratchPainter.resetTransform();
    if (parts) {
        for (const QRect& part : *parts)
            clear(part.intersected(box));
    } else {
        clear(box);
    }
    m_scratchPainter.setClipRect(box);
    m_scratchPainter.setOpacity(1);
    m_scratchPainter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_scratchPainter.setRenderHint(QPainter::Antialiasing, true);
    m_scratchBox = box;
}

void ShadowRenderer::paintShape(const ShadowShape& shape)
{
    // Over the cleared scratch, source mode gives what source-over would add to
    // any target: the colour scaled by the coverage of each pixel.
    m_scratchPainter.setCompositionMode(QPainter::CompositionMode_Source);
    m_scratchPainter.setTransform(shape.transform);
    m_scratchPainter.setOpacity(shape.opacity);
    m_scratchPainter.setPen(shape.pen);
    m_scratchPainter.setBrush(shape.brush);
    m_scratchPainter.drawPath(shape.path);
    // Our own loops over the scratch follow.
    clearUpperVectorState();
}

void ShadowRenderer::drawPathDirect(QImage& target, const QRect& bounds, const QRect& clip, const ShadowShape& shape)
{
    QRect box = bounds.intersected(clip).intersected(target.rect());
    if (box.isEmpty())
        return;
    beginCoverage(target.size(), box);
    paintShape(shape);
    m_coverageShape.reset();
    m_maskValid = false;
    paintShapeOverTarget(target, clip);
}

void ShadowRenderer::drawPathDirect(QImage& target, const QRect& bounds, const QRegion& clip, const ShadowShape& shape)
{
    QRect box = bounds.intersected(clip.boundingRect()).intersected(target.rect());
    if (box.isEmpty())
        return;
    beginCoverage(target.size(), box, &clip);
    paintShape(shape);
    m_coverageShape.reset();
    m_maskValid = false;
    for (const QRect& part : clip)
        paintShapeOverTarget(target, part);
}

void ShadowRenderer::clearPathDirect(QImage& target, const QRect& bounds, const QRect& clip, ShadowShape shape)
{
    QRect box = bounds.intersected(clip).intersected(target.rect());
    if (box.isEmpty())
        return;
    // Clear ignores colour and opacity; an opaque pen leaves the coverage in alpha.
    if (shape.pen.style() != Qt::NoPen)
        shape.pen.setColor(Qt::black);
    if (shape.brush.style() != Qt::NoBrush)
        shape.brush = QBrush(Qt::black);
    shape.opacity = 1;
    beginCoverage(target.size(), box);
    paintShape(shape);
    m_coverageShape.reset();
    m_maskValid = false;

    const uchar* scratchBits = m_scratch.constBits();
    const qsizetype scratchStride = m_scratch.bytesPerLine();
    uchar* targetBits = const_cast<uchar*>(target.constBits());
    const qsizetype targetStride = target.bytesPerLine();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const auto* source = reinterpret_cast<const uint32_t*>(scratchBits + y * scratchStride);
        auto* row = reinterpret_cast<uint32_t*>(targetBits + y * targetStride);
        for (int x = box.left(); x <= box.right(); ++x) {
            const uint32_t coverage = source[x] >> 24;
            if (!coverage)
                continue;
            const uint32_t kept = 255 - coverage;
            const uint32_t d = row[x];
            uint32_t out = 0;
            for (int shift = 0; kept && shift < 32; shift += 8)
                out |= (byteMul((d >> shift) & 0xff, kept) & 0xff) << shift;
            row[x] = out;
        }
    }
}

void ShadowRenderer::takeCoverage(const QRect& box)
{
    const int width = box.width();
    m_coverage.resize(static_cast<size_t>(width) * box.height());
    const uchar* bits = m_scratch.constBits();
    const qsizetype stride = m_scratch.bytesPerLine();
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(bits + y * stride) + box.left();
        uint8_t* out = m_coverage.data() + static_cast<size_t>(y - box.top()) * width;
        for (int x = 0; x < width; ++x)
            out[x] = static_cast<uint8_t>(row[x] >> 24);
    }
    m_coverageBox = box;
    m_maskValid = false;
}

bool ShadowRenderer::drawPath(QImage& target, const QRect& shapeBounds, const QRect& clip, float blur, QPoint offset,
    const Color& color, const ShadowShape& shape)
{
    QRect box = shadowBox(target.size(), shapeBounds, clip, blur, offset);
    if (box.isEmpty())
        return false;
    // A smaller box of the same path is part of the coverage already painted:
    // the mask painter's clip is pixel-aligned, so it would paint the same pixels.
    bool reuse = m_coverageShape && m_coverageBox.contains(box) && *m_coverageShape == shape;
    if (!reuse) {
        beginCoverage(target.size(), box);
        paintShape(shape);
        takeCoverage(box);
        m_coverageShape = shape;
    }
    finish(target, box, clip, blur, offset, color);
    return true;
}

void ShadowRenderer::paintShapeOverTarget(QImage& target, const QRect& clip) const
{
    QRect area = m_scratchBox.intersected(clip).intersected(target.rect());
    if (area.isEmpty())
        return;
    const uchar* scratchBits = m_scratch.constBits();
    const qsizetype scratchStride = m_scratch.bytesPerLine();
    uchar* targetBits = const_cast<uchar*>(target.constBits());
    const qsizetype targetStride = target.bytesPerLine();
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
#endif
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* source = reinterpret_cast<const uint32_t*>(scratchBits + y * scratchStride);
        auto* row = reinterpret_cast<uint32_t*>(targetBits + y * targetStride);
        int x = area.left();
        // Painted over transparency, a pixel of the scratch is the colour already
        // scaled by its coverage, which is what Qt adds to the target:
        // source + BYTE_MUL(destination, 255 - source alpha).
#if defined(__SSE2__)
        for (; x + 3 <= area.right(); x += 4) {
            __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + x));
            if (_mm_movemask_epi8(_mm_cmpeq_epi32(s, zero)) == 0xffff)
                continue;
            __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
            __m128i sLow = _mm_unpacklo_epi8(s, zero);
            __m128i sHigh = _mm_unpackhi_epi8(s, zero);
            __m128i inverseLow = _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sLow, 0xff), 0xff));
            __m128i inverseHigh = _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sHigh, 0xff), 0xff));
            __m128i low = _mm_add_epi16(sLow, byteMul(_mm_unpacklo_epi8(d, zero), inverseLow));
            __m128i high = _mm_add_epi16(sHigh, byteMul(_mm_unpackhi_epi8(d, zero), inverseHigh));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), _mm_packus_epi16(low, high));
        }
#endif
        for (; x <= area.right(); ++x) {
            const uint32_t s = source[x];
            if (!s)
                continue;
            const uint32_t inverse = 255 - (s >> 24);
            const uint32_t d = row[x];
            uint32_t kept = 0;
            for (int shift = 0; shift < 32; shift += 8)
                kept |= (byteMul((d >> shift) & 0xff, inverse) & 0xff) << shift;
            row[x] = s + kept;
        }
    }
}

void ShadowRenderer::finish(QImage& target, const QRect& box, const QRect& clip, float blurRadius, QPoint offset,
    const Color& color)
{
    clearUpperVectorState();
    const int width = box.width();
    const int height = box.height();
    const float sigma = blurRadius / 2;
    if (!m_maskValid || m_maskBox != box || m_maskSigma != sigma) {
        m_mask.resize(static_cast<size_t>(width) * height);
        const int coverageWidth = m_coverageBox.width();
        const uint8_t* from = m_coverage.data() + static_cast<size_t>(box.top() - m_coverageBox.top()) * coverageWidth
            + (box.left() - m_coverageBox.left());
        m_extents.resize(static_cast<size_t>(height));
        for (int y = 0; y < height; ++y) {
            uint8_t* row = m_mask.data() + static_cast<size_t>(y) * width;
            std::memcpy(row, from + static_cast<size_t>(y) * coverageWidth, width);
            int first = 0;
            while (first < width && !row[first])
                ++first;
            int last = width - 1;
            while (last > first && !row[last])
                --last;
            m_extents[static_cast<size_t>(y)] = { first, first < width ? last : -1 };
        }
        blurMask(width, height, sigma);
        m_maskBox = box;
        m_maskSigma = sigma;
        m_maskValid = true;
    }

    QRect dest = box.translated(offset).intersected(clip).intersected(target.rect());
    if (dest.isEmpty())
        return;
    const uint32_t colorAlpha = static_cast<uint32_t>(std::lround(std::clamp(color.alpha, 0.0f, 1.0f) * 255));
    const uint32_t red = static_cast<uint32_t>(std::lround(std::clamp(color.red, 0.0f, 1.0f) * 255));
    const uint32_t green = static_cast<uint32_t>(std::lround(std::clamp(color.green, 0.0f, 1.0f) * 255));
    const uint32_t blue = static_cast<uint32_t>(std::lround(std::clamp(color.blue, 0.0f, 1.0f) * 255));
    uchar* targetBits = const_cast<uchar*>(target.constBits());
    const qsizetype targetStride = target.bytesPerLine();
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i alphaLanes = _mm_set1_epi16(static_cast<short>(colorAlpha));
    const __m128i colorLanes = _mm_setr_epi16(static_cast<short>(blue), static_cast<short>(green),
        static_cast<short>(red), 255, static_cast<short>(blue), static_cast<short>(green), static_cast<short>(red), 255);
#endif
    for (int y = dest.top(); y <= dest.bottom(); ++y) {
        // Mask column of target column x is x - offset.x - box.left().
        const uint8_t* maskRow = m_mask.data() + static_cast<size_t>(y - offset.y() - box.top()) * width
            - offset.x() - box.left();
        auto* row = reinterpret_cast<uint32_t*>(targetBits + y * targetStride);
        const Extent& extent = m_extents[static_cast<size_t>(y - offset.y() - box.top())];
        const int right = std::min(dest.right(), extent.last + offset.x() + box.left());
        int x = std::max(dest.left(), extent.first + offset.x() + box.left());
#if defined(__SSE2__)
        for (; x + 3 <= right; x += 4) {
            uint32_t four;
            std::memcpy(&four, maskRow + x, 4);
            if (!four)
                continue;
            __m128i coverage = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(four)), zero);
            coverage = _mm_unpacklo_epi16(coverage, coverage);
            __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + x));
            __m128i low = shadowOverTwo(_mm_unpacklo_epi8(pixels, zero), _mm_unpacklo_epi32(coverage, coverage),
                alphaLanes, colorLanes);
            __m128i high = shadowOverTwo(_mm_unpackhi_epi8(pixels, zero), _mm_unpackhi_epi32(coverage, coverage),
                alphaLanes, colorLanes);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row + x), _mm_packus_epi16(low, high));
        }
#endif
        for (; x <= right; ++x) {
            if (uint32_t coverage = maskRow[x])
                row[x] = shadowOver(row[x], coverage, colorAlpha, red, green, blue);
        }
    }
}

void ShadowRenderer::blurMask(int width, int height, float sigma)
{
    if (!(sigma > 0.3f))
        return;
    // Beyond the mask's size a wider blur changes nearly nothing, and held
    // there the filter widths below stay integers.
    sigma = std::min(sigma, static_cast<float>(std::max(width, height)));
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
        blurRows(width, height, radius);
        blurColumns(width, height, radius);
    }
}

// Each box filter averages 2·radius + 1 values with zeros beyond the ends; the
// division is a multiplication by 2^24 / width, rounded. Only the columns within
// a row's extent, grown by the radius, can become non-zero.
void ShadowRenderer::blurRows(int width, int height, int radius)
{
    m_rowCopy.resize(static_cast<size_t>(width));
    uint8_t* scratch = m_rowCopy.data();
    const uint32_t reciprocal = (1u << 24) / (2 * radius + 1);
    for (int y = 0; y < height; ++y) {
        Extent& extent = m_extents[static_cast<size_t>(y)];
        if (extent.first > extent.last)
            continue;
        // Zeros lie beyond the extent, so the filter over the grown span alone
        // gives the same values as over the whole row.
        const int begin = std::max(0, extent.first - radius);
        const int end = std::min(width - 1, extent.last + radius);
        const int count = end - begin + 1;
        uint8_t* data = m_mask.data() + static_cast<size_t>(y) * width + begin;
        std::memcpy(scratch, data, count);
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
            data[i] = static_cast<uint8_t>((sum * reciprocal + (1u << 23)) >> 24);
        }
        extent = { begin, end };
    }
}

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
// The column sums vectorise twice as wide, with a 32-bit multiply, where AVX2 exists.
// (Not under ThreadSanitizer, whose runtime is not up when the clone is chosen.)
__attribute__((target_clones("avx2", "default")))
#endif
void ShadowRenderer::blurColumns(int width, int height, int radius)
{
    // All columns at once, a row at a time: the running sums sit side by side,
    // so the loops run over contiguous memory and vectorise. Rows add and remove
    // only their extents; an output row can be non-zero only within the union
    // of the extents of the rows in its window.
    const size_t area = static_cast<size_t>(width) * height;
    m_rowCopy.resize(area);
    std::memcpy(m_rowCopy.data(), m_mask.data(), area);
    m_columnSums.assign(static_cast<size_t>(width), 0);
    m_nextExtents.resize(static_cast<size_t>(height));
    uint32_t* __restrict sums = m_columnSums.data();
    const uint8_t* __restrict in = m_rowCopy.data();
    uint8_t* __restrict out = m_mask.data();
    const uint32_t reciprocal = (1u << 24) / (2 * radius + 1);
    auto add = [sums, in, width, this](int y) {
        const Extent e = m_extents[static_cast<size_t>(y)];
        const uint8_t* __restrict row = in + static_cast<size_t>(y) * width;
        for (int x = e.first; x <= e.last; ++x)
            sums[x] += row[x];
    };
    auto subtract = [sums, in, width, this](int y) {
        const Extent e = m_extents[static_cast<size_t>(y)];
        const uint8_t* __restrict row = in + static_cast<size_t>(y) * width;
        for (int x = e.first; x <= e.last; ++x)
            sums[x] -= row[x];
    };
    for (int y = 0; y < std::min(radius, height); ++y)
        add(y);
    for (int y = 0; y < height; ++y) {
        int entering = y + radius;
        int leaving = y - radius - 1;
        if (entering < height)
            add(entering);
        if (leaving >= 0)
            subtract(leaving);
        Extent span { width, -1 };
        for (int w = std::max(0, y - radius); w <= std::min(height - 1, y + radius); ++w) {
            const Extent& e = m_extents[static_cast<size_t>(w)];
            if (e.first <= e.last) {
                span.first = std::min(span.first, e.first);
                span.last = std::max(span.last, e.last);
            }
        }
        uint8_t* target = out + static_cast<size_t>(y) * width;
        for (int x = span.first; x <= span.last; ++x)
            target[x] = static_cast<uint8_t>((sums[x] * reciprocal + (1u << 23)) >> 24);
        m_nextExtents[static_cast<size_t>(y)] = span;
    }
    m_extents.swap(m_nextExtents);
}

}
