#include "Classes/model/VideoFrameRenderer.h"

#include "Classes/model/Layer.h"
#include "Classes/model/Painting.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/VectorState.h"
#include "platform/media/PixelBuffer.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define PINTARO_HAS_WIDE_BLEND 1
#endif

using platform::AffineTransform;
using platform::PixelBuffer;
using platform::Rect;

namespace {

constexpr double nearlyZero = 1e-4;
constexpr double pixelSlack = 1e-3;

bool isWhole(double value)
{
    return std::fabs(value - std::round(value)) < pixelSlack;
}

// x × a / 255 in each byte, rounded as the raster engine's own blend rounds
// it, so that a composed frame matches a drawn one.
inline uint32_t byteMul(uint32_t x, uint32_t a)
{
    uint32_t t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = x + ((x >> 8) & 0xff00ff) + 0x800080;
    x &= 0xff00ff00;
    return x | t;
}

// A canvas pixel (premultiplied 0xAARRGGBB) over a frame pixel held in the
// frame's byte order. Both orders keep each channel in its own byte, so the
// per-byte blend works on the frame's order as it is. It needs no branches:
// multiplying by 255 gives the pixel back and by 0 gives 0, exactly.
inline uint32_t sourceOver(uint32_t source, uint32_t frameWord)
{
    return __builtin_bswap32(source) + byteMul(frameWord, 255 - (source >> 24));
}

inline uint32_t load(const uint8_t* p)
{
    uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
}

#if defined(PINTARO_HAS_WIDE_BLEND)
// The four-pixel blend of blendRun, eight pixels at a time, on processors that
// have AVX2; returns where it stopped.
template<typename Fetch4>
__attribute__((target("avx2"))) int blendRunWide(uint32_t* out, const uint32_t* background, int u, int end, Fetch4 fetch4)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i full = _mm256_set1_epi16(255);
    const __m256i half = _mm256_set1_epi16(0x80);
    for (; u + 8 <= end; u += 8) {
        __m256i s = _mm256_set_m128i(fetch4(u + 4), fetch4(u));
        __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(background + u));
        __m256i inverse = _mm256_srli_epi32(s, 24);
        inverse = _mm256_or_si256(inverse, _mm256_slli_epi32(inverse, 16));
        __m256i inverseLow = _mm256_sub_epi16(full, _mm256_unpacklo_epi32(inverse, inverse));
        __m256i inverseHigh = _mm256_sub_epi16(full, _mm256_unpackhi_epi32(inverse, inverse));
        __m256i low = _mm256_mullo_epi16(_mm256_unpacklo_epi8(b, zero), inverseLow);
        low = _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(low, _mm256_srli_epi16(low, 8)), half), 8);
        __m256i high = _mm256_mullo_epi16(_mm256_unpackhi_epi8(b, zero), inverseHigh);
        high = _mm256_srli_epi16(_mm256_add_epi16(_mm256_add_epi16(high, _mm256_srli_epi16(high, 8)), half), 8);
        __m256i swapped = _mm256_or_si256(_mm256_slli_epi16(s, 8), _mm256_srli_epi16(s, 8));
        swapped = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(swapped, 0xb1), 0xb1);
        __m256i result = _mm256_add_epi8(swapped, _mm256_packus_epi16(low, high));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + u), result);
    }
    return u;
}

bool hasWideBlend()
{
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}
#endif

// sourceOver over a run of frame pixels; fetch(u) gives the canvas pixel of
// frame pixel u, and fetch4(u) those of u … u + 3.
template<typename Fetch, typename Fetch4>
void blendRun(uint32_t* out, const uint32_t* background, int begin, int end, Fetch fetch, [[maybe_unused]] Fetch4 fetch4)
{
    int u = begin;
#if defined(PINTARO_HAS_WIDE_BLEND)
    if (hasWideBlend())
        u = blendRunWide(out, background, u, end, fetch4);
#endif
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i half = _mm_set1_epi16(0x80);
    for (; u + 4 <= end; u += 4) {
        __m128i s = fetch4(u);
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(background + u));
        // 255 − alpha in every 16-bit lane of its pixel.
        __m128i inverse = _mm_srli_epi32(s, 24);
        inverse = _mm_or_si128(inverse, _mm_slli_epi32(inverse, 16));
        __m128i inverseLow = _mm_sub_epi16(full, _mm_unpacklo_epi32(inverse, inverse));
        __m128i inverseHigh = _mm_sub_epi16(full, _mm_unpackhi_epi32(inverse, inverse));
        auto multiply = [&](__m128i channels, __m128i factor) {
            __m128i t = _mm_mullo_epi16(channels, factor);
            t = _mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), half);
            return _mm_srli_epi16(t, 8);
        };
        __m128i low = multiply(_mm_unpacklo_epi8(b, zero), inverseLow);
        __m128i high = multiply(_mm_unpackhi_epi8(b, zero), inverseHigh);
        // The canvas's B, G, R, A bytes turned to the frame's A, R, G, B.
        __m128i swapped = _mm_or_si128(_mm_slli_epi16(s, 8), _mm_srli_epi16(s, 8));
        swapped = _mm_shufflehi_epi16(_mm_shufflelo_epi16(swapped, 0xb1), 0xb1);
        __m128i result = _mm_add_epi8(swapped, _mm_packus_epi16(low, high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + u), result);
    }
#endif
    for (; u < end; ++u)
        out[u] = sourceOver(fetch(u), background[u]);
}

#if defined(__SSE2__)
#define PINTARO_FETCH4(body) [=](int u) { return body; }
#else
#define PINTARO_FETCH4(body) 0
#endif

// Weights in sixteenths, two channels at a time in 16-bit lanes.
inline uint32_t interpolate(uint32_t p00, uint32_t p01, uint32_t p10, uint32_t p11, uint32_t wx, uint32_t wy)
{
    constexpr uint32_t mask = 0x00ff00ff;
    uint32_t ix = 16 - wx;
    uint32_t iy = 16 - wy;
    uint32_t rbTop = (p00 & mask) * ix + (p01 & mask) * wx;
    uint32_t rbBottom = (p10 & mask) * ix + (p11 & mask) * wx;
    uint32_t agTop = ((p00 >> 8) & mask) * ix + ((p01 >> 8) & mask) * wx;
    uint32_t agBottom = ((p10 >> 8) & mask) * ix + ((p11 >> 8) & mask) * wx;
    uint32_t rb = ((rbTop * iy + rbBottom * wy) >> 8) & mask;
    uint32_t ag = (agTop * iy + agBottom * wy) & ~mask;
    return rb | ag;
}

}

void VideoFrameRenderer::drawFrame(void* memory, int width, int height, int bytesPerRow, const Geometry& geometry,
    const Painting& painting, const LayerCanvas* canvas)
{
    auto context = platform::BitmapContext::create(memory, width, height, bytesPerRow, platform::PixelLayout::VideoARGB);
    if (!context)
        return;
    context->concatCTM(geometry.frameTransform);
    context->scaleCTM(geometry.scale, geometry.scale);
    context->translateCTM(0, geometry.paintingHeight);
    context->scaleCTM(1, -1);
    context->translateCTM(0, geometry.paintingHeight - geometry.cropHeight);
    painting.drawBackground(*context);
    if (canvas) {
        // The canvas keeps the painting's bottom row first, which is the image's
        // top row, drawn at the larger y: upright in this flipped space.
        QImage view(canvas->memory.get(), canvas->width(), canvas->height(), canvas->context->bytesPerRow(),
            QImage::Format_ARGB32_Premultiplied);
        context->drawImage(Rect(0, 0, geometry.paintingWidth, geometry.paintingHeight), platform::Image(view));
    }
}

void VideoFrameRenderer::renderWithContext(PixelBuffer& frame, const Geometry& geometry, const Painting& painting,
    const LayerCanvas* canvas)
{
    std::memset(frame.data(), 0, frame.byteCount());
    drawFrame(frame.data(), frame.width(), frame.height(), frame.bytesPerRow(), geometry, painting, canvas);
}

bool VideoFrameRenderer::fillAxis(AxisTable& table, int frameExtent, double scale, double origin, int canvasExtent,
    int32_t stride)
{
    if (std::fabs(scale) < nearlyZero || canvasExtent <= 0 || !isWhole(origin) || !isWhole(origin + scale * canvasExtent))
        return false;
    table.offset0.resize(static_cast<size_t>(frameExtent));
    table.offset1.resize(static_cast<size_t>(frameExtent));
    table.weight.resize(static_cast<size_t>(frameExtent));
    table.begin = frameExtent;
    table.end = 0;
    table.isExact = true;
    table.isEven = true;
    table.step = 4;
    for (int f = 0; f < frameExtent; ++f) {
        // The canvas coordinate under the centre of frame pixel f, and the
        // two pixel centres around it.
        double s = (f + 0.5 - origin) / scale;
        if (s < 0 || s >= canvasExtent)
            continue;
        table.begin = std::min(table.begin, f);
        table.end = f + 1;
        double t = s - 0.5;
        double first = std::floor(t);
        int weight = static_cast<int>((t - first) * 16 + 0.5);
        int i0 = static_cast<int>(first);
        if (weight == 16) {
            ++i0;
            weight = 0;
        }
        int i1 = weight ? i0 + 1 : i0;
        i0 = std::clamp(i0, 0, canvasExtent - 1);
        i1 = std::clamp(i1, 0, canvasExtent - 1);
        table.offset0[static_cast<size_t>(f)] = i0 * stride;
        table.offset1[static_cast<size_t>(f)] = i1 * stride;
        table.weight[static_cast<size_t>(f)] = static_cast<uint8_t>(weight);
        table.isExact = table.isExact && weight == 0;
        if (f > table.begin) {
            int32_t step = table.offset0[static_cast<size_t>(f)] - table.offset0[static_cast<size_t>(f - 1)];
            if (f == table.begin + 1)
                table.step = step;
            table.isEven = table.isEven && step == table.step;
        }
    }
    if (table.begin >= table.end)
        table.begin = table.end = 0;
    return true;
}

bool VideoFrameRenderer::prepare(const CacheKey& key, const Painting& painting)
{
    const Geometry& g = key.geometry;
    const AffineTransform& t = g.frameTransform;
    // Canvas memory coordinates (x right, y down from the first row) to frame
    // pixels (u right, v down from the first row), through the drawing steps.
    const double k = g.scale;
    const double canvasWidth = key.canvasWidth > 0 ? key.canvasWidth : g.paintingWidth;
    const double canvasHeight = key.canvasHeight > 0 ? key.canvasHeight : g.paintingHeight;
    if (canvasWidth <= 0 || canvasHeight <= 0)
        return false;
    const double sx = k * g.paintingWidth / canvasWidth;
    const double sy = k * g.paintingHeight / canvasHeight;
    const double lift = k * (static_cast<double>(g.cropHeight) - g.paintingHeight);
    const int columns = static_cast<int>(canvasWidth);
    const int rows = static_cast<int>(canvasHeight);
    const int rowStride = key.canvasBytesPerRow > 0 ? key.canvasBytesPerRow : columns * 4;
    const double frameHeight = key.frameHeight;
    bool fits;
    if (std::fabs(t.b) < nearlyZero && std::fabs(t.c) < nearlyZero) {
        fits = fillAxis(m_columns, key.frameWidth, t.a * sx, t.tx, columns, 4)
            && fillAxis(m_rows, key.frameHeight, -t.d * sy, frameHeight - t.ty - t.d * lift, rows, rowStride);
    } else if (std::fabs(t.a) < nearlyZero && std::fabs(t.d) < nearlyZero) {
        fits = fillAxis(m_columns, key.frameWidth, t.c * sy, t.tx + t.c * lift, rows, rowStride)
            && fillAxis(m_rows, key.frameHeight, -t.b * sx, frameHeight - t.ty, columns, 4);
    } else {
        fits = false;
    }
    if (!fits)
        return false;

    const size_t pixels = static_cast<size_t>(key.frameWidth) * static_cast<size_t>(key.frameHeight);
    m_background.assign(pixels, 0);
    drawFrame(m_background.data(), key.frameWidth, key.frameHeight, key.frameWidth * 4, g, painting, nullptr);
    return true;
}

void VideoFrameRenderer::render(PixelBuffer& frame, const Geometry& geometry, const Painting& painting,
    const LayerCanvas* canvas)
{
    platform::clearUpperVectorState();
    CacheKey key;
    key.frameWidth = frame.width();
    key.frameHeight = frame.height();
    key.geometry = geometry;
    key.backgroundColor = painting.backgroundColor();
    if (const auto& image = painting.backgroundImage(); image && !image->isNull()) {
        key.backgroundImageKey = image->qimage().cacheKey();
        key.backgroundImageScale = image->scale();
    }
    if (canvas) {
        key.canvasWidth = canvas->width();
        key.canvasHeight = canvas->height();
        key.canvasBytesPerRow = canvas->context->bytesPerRow();
    }
    if (!m_isValid || !(key == m_key)) {
        m_isFast = prepare(key, painting);
        m_key = key;
        m_isValid = true;
    }
    if (!m_isFast) {
        renderWithContext(frame, geometry, painting, canvas);
        return;
    }
    const int width = frame.width();
    for (int v = 0; v < frame.height(); ++v) {
        auto* out = reinterpret_cast<uint32_t*>(frame.row(v));
        const uint32_t* background = m_background.data() + static_cast<size_t>(v) * static_cast<size_t>(width);
        if (!canvas || v < m_rows.begin || v >= m_rows.end) {
            std::memcpy(out, background, static_cast<size_t>(width) * 4);
            continue;
        }
        std::memcpy(out, background, static_cast<size_t>(m_columns.begin) * 4);
        std::memcpy(out + m_columns.end, background + m_columns.end, static_cast<size_t>(width - m_columns.end) * 4);
        composeRow(out, background, *canvas, v);
    }
}

void VideoFrameRenderer::composeRow(uint32_t* out, const uint32_t* background, const LayerCanvas& canvas, int v) const
{
    const uint8_t* base = canvas.memory.get();
    const int begin = m_columns.begin;
    const int end = m_columns.end;
    const int32_t* columns0 = m_columns.offset0.data();
    const uint8_t* row0 = base + m_rows.offset0[static_cast<size_t>(v)];
    const bool exact = m_rows.isExact && m_columns.isExact;
    if (exact && m_columns.isEven && m_columns.step == 4) {
        const uint8_t* first = row0 + columns0[begin];
        blendRun(out, background, begin, end, [=](int u) { return load(first + (u - begin) * 4); },
            PINTARO_FETCH4(_mm_loadu_si128(reinterpret_cast<const __m128i*>(first + (u - begin) * 4))));
        return;
    }
    if (exact && m_columns.isEven) {
        // A turned frame walks a canvas column.
        const uint8_t* first = row0 + columns0[begin];
        const ptrdiff_t step = m_columns.step;
        auto fetch = [&](int u) { return load(first + (u - begin) * step); };
        blendRun(out, background, begin, end, fetch,
            PINTARO_FETCH4(_mm_setr_epi32(static_cast<int>(fetch(u)), static_cast<int>(fetch(u + 1)),
                static_cast<int>(fetch(u + 2)), static_cast<int>(fetch(u + 3)))));
        return;
    }
    if (exact) {
        auto fetch = [&](int u) { return load(row0 + columns0[u]); };
        blendRun(out, background, begin, end, fetch,
            PINTARO_FETCH4(_mm_setr_epi32(static_cast<int>(fetch(u)), static_cast<int>(fetch(u + 1)),
                static_cast<int>(fetch(u + 2)), static_cast<int>(fetch(u + 3)))));
        return;
    }
    const int32_t* columns1 = m_columns.offset1.data();
    const uint8_t* columnWeights = m_columns.weight.data();
    const uint8_t* row1 = base + m_rows.offset1[static_cast<size_t>(v)];
    const uint32_t rowWeight = m_rows.weight[static_cast<size_t>(v)];
    auto fetch = [&](int u) {
        uint32_t p00 = load(row0 + columns0[u]);
        uint32_t p01 = load(row0 + columns1[u]);
        uint32_t p10 = load(row1 + columns0[u]);
        uint32_t p11 = load(row1 + columns1[u]);
        return (p00 | p01 | p10 | p11) ? interpolate(p00, p01, p10, p11, columnWeights[u], rowWeight) : 0u;
    };
    blendRun(out, background, begin, end, fetch,
        PINTARO_FETCH4(_mm_setr_epi32(static_cast<int>(fetch(u)), static_cast<int>(fetch(u + 1)),
            static_cast<int>(fetch(u + 2)), static_cast<int>(fetch(u + 3)))));
}
