#include "platform/graphics/ImageContext.h"

#include <cmath>

namespace platform {

namespace {

std::unique_ptr<QImage> makePixels(Size size, bool opaque, float scale)
{
    int width = std::max(0, static_cast<int>(std::ceil(size.width * scale)));
    int height = std::max(0, static_cast<int>(std::ceil(size.height * scale)));
    auto pixels = std::make_unique<QImage>(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
    pixels->fill(opaque ? Qt::black : Qt::transparent);
    return pixels;
}

}

ImageContext::ImageContext(Size size, bool opaque, float scale)
    : GraphicsContext(makePixels(size, opaque, scale > 0 ? scale : 1),
        QTransform::fromScale(scale > 0 ? scale : 1, scale > 0 ? scale : 1))
    , m_size(size)
    , m_scale(scale > 0 ? scale : 1)
{
}

Image ImageContext::image() const
{
    return Image(target().copy(), m_scale);
}

}
