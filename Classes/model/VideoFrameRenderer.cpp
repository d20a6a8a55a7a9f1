#include "Classes/model/VideoFrameRenderer.h"

#include "Classes/model/Layer.h"
#include "Classes/model/Painting.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/media/PixelBuffer.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstring>

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

// x × a / 255 in each byte, rounded the way the raster engine rounds it, so
// that the composed frame equals a drawn one.
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
// per-byte blend works on the frame's order as it is.
inline uint32_t sourceOver(uint32_t source, uint32_t frameWord)
{
    uint32_t alpha = source >> 24;
    uint32_t swapped = __builtin_bswap32(source);
    if (alpha == 255)
        return swapped;
    return swapped + byteMul(frameWord, 255 - alpha);
}

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

inline uint32_t load(const uint8_t* p)
{
    uint32_t value;
    std::memcpy(&value, p, 4);
    return value;
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
    const size_t rowBytes = static_cast<size_t>(frame.width()) * 4;
    for (int v = 0; v < frame.height(); ++v)
        std::memcpy(frame.row(v), m_background.data() + static_cast<size_t>(v) * frame.width(), rowBytes);
    if (canvas)
        composeCanvas(frame, *canvas);
}

void VideoFrameRenderer::composeCanvas(PixelBuffer& frame, const LayerCanvas& canvas) const
{
    const uint8_t* base = canvas.memory.get();
    const int32_t* columns0 = m_columns.offset0.data();
    const int32_t* columns1 = m_columns.offset1.data();
    const uint8_t* columnWeights = m_columns.weight.data();
    const bool exact = m_columns.isExact && m_rows.isExact;
    for (int v = m_rows.begin; v < m_rows.end; ++v) {
        auto* out = reinterpret_cast<uint32_t*>(frame.row(v));
        const uint8_t* row0 = base + m_rows.offset0[static_cast<size_t>(v)];
        if (exact) {
            for (int u = m_columns.begin; u < m_columns.end; ++u) {
                uint32_t source = load(row0 + columns0[u]);
                if (source)
                    out[u] = sourceOver(source, out[u]);
            }
            continue;
        }
        const uint8_t* row1 = base + m_rows.offset1[static_cast<size_t>(v)];
        const uint32_t rowWeight = m_rows.weight[static_cast<size_t>(v)];
        for (int u = m_columns.begin; u < m_columns.end; ++u) {
            uint32_t p00 = load(row0 + columns0[u]);
            uint32_t p01 = load(row0 + columns1[u]);
            uint32_t p10 = load(row1 + columns0[u]);
            uint32_t p11 = load(row1 + columns1[u]);
            if (!(p00 | p01 | p10 | p11))
                continue;
            uint32_t source = interpolate(p00, p01, p10, p11, columnWeights[u], rowWeight);
            if (source)
                out[u] = sourceOver(source, out[u]);
        }
    }
}
