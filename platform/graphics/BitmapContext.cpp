#include "platform/graphics/BitmapContext.h"

#include <QtEndian>
#include <cstring>

namespace platform {

namespace {

std::unique_ptr<QImage> makeTarget(void* data, int width, int height, int bytesPerRow, PixelLayout layout)
{
    if (layout == PixelLayout::CanvasBGRA)
        return std::make_unique<QImage>(static_cast<uchar*>(data), width, height, bytesPerRow,
            QImage::Format_ARGB32_Premultiplied);
    auto scratch = std::make_unique<QImage>(width, height, QImage::Format_ARGB32_Premultiplied);
    if (scratch->isNull())
        return nullptr;
    // Start from what the memory holds, as drawing into it directly would.
    for (int y = 0; y < height; ++y) {
        auto* source = reinterpret_cast<const uint32_t*>(static_cast<const uchar*>(data) + y * bytesPerRow);
        auto* dest = reinterpret_cast<uint32_t*>(scratch->scanLine(y));
        for (int x = 0; x < width; ++x)
            dest[x] = qFromBigEndian(source[x]);
    }
    return scratch;
}

}

std::unique_ptr<BitmapContext> BitmapContext::create(void* data, int width, int height, int bytesPerRow,
    PixelLayout layout)
{
    if (!data || width <= 0 || height <= 0 || bytesPerRow < width * 4)
        return nullptr;
    auto image = makeTarget(data, width, height, bytesPerRow, layout);
    if (!image || image->isNull())
        return nullptr;
    return std::unique_ptr<BitmapContext>(new BitmapContext(data, width, height, bytesPerRow, layout, std::move(image)));
}

BitmapContext::BitmapContext(void* data, int width, int height, int bytesPerRow, PixelLayout layout,
    std::unique_ptr<QImage> target)
    : GraphicsContext(std::move(target), QTransform(1, 0, 0, -1, 0, height))
    , m_data(data)
    , m_width(width)
    , m_height(height)
    , m_bytesPerRow(bytesPerRow)
    , m_layout(layout)
{
}

BitmapContext::~BitmapContext()
{
    flush();
}

void BitmapContext::flush()
{
    if (m_layout != PixelLayout::VideoARGB)
        return;
    for (int y = 0; y < m_height; ++y) {
        auto* source = reinterpret_cast<const uint32_t*>(target().constScanLine(y));
        auto* dest = reinterpret_cast<uint32_t*>(static_cast<uchar*>(m_data) + y * m_bytesPerRow);
        for (int x = 0; x < m_width; ++x)
            dest[x] = qToBigEndian(source[x]);
    }
}

Image BitmapContext::makeImage()
{
    return Image(target().copy());
}

}
