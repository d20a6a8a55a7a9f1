#include "platform/graphics/Image.h"

namespace platform {

Image::Image(QImage pixels, float scale)
    : m_pixels(std::move(pixels))
    , m_scale(scale > 0 ? scale : 1)
{
}

Size Image::size() const
{
    return { m_pixels.width() / m_scale, m_pixels.height() / m_scale };
}

}
