#pragma once

#include "platform/graphics/GraphicsContext.h"

namespace platform {

// A context over a painter that is already drawing somewhere, such as a
// widget's painter inside its paint event: measured in points with the origin
// at the top-left corner and y growing downward, through the painter's own
// transform and clip as they stand when the context is made. Drawing goes
// straight to the painter's device, so a repaint needs no picture of its own.
// The painter's state is put back when the context goes. Shapes are drawn
// without shadows, which need pixels of the context's own.
class PainterContext final : public GraphicsContext {
public:
    PainterContext(QPainter& painter, Size size);
    ~PainterContext() override;

    Size size() const { return m_size; }

private:
    QPainter& m_outer;
    Size m_size;
};

}
