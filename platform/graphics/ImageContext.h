#pragma once

#include "platform/graphics/GraphicsContext.h"

namespace platform {

// An offscreen picture context measured in points: the origin is at the top-left
// corner, y grows downward, and each point is `scale` pixels wide.
class ImageContext final : public GraphicsContext {
public:
    ImageContext(Size size, bool opaque, float scale);

    Size size() const { return m_size; }
    float scale() const { return m_scale; }
    // The picture drawn so far.
    Image image() const;

private:
    Size m_size;
    float m_scale;
};

}
