#pragma once

#include "platform/graphics/Color.h"

#include <QImage>
#include <QPainter>
#include <vector>

namespace platform {

// Draws the blurred shadow of a shape: the shape's coverage is painted into a
// scratch mask, blurred with three box blurs (close to a Gaussian of standard
// deviation blur / 2) and composited in the shadow colour. Work stays inside the
// shape's box grown by three deviations; scratch memory is reused between calls.
class ShadowRenderer final {
public:
    ShadowRenderer() = default;
    ~ShadowRenderer();

    // `paintCoverage(QPainter&)` paints the shape in target pixels into the mask.
    // `shapeBounds` is the shape's pixel box, `clip` the target pixels the shadow
    // may touch, `offset` its displacement in pixels.
    template<typename PaintCoverage>
    void draw(QImage& target, const QRect& shapeBounds, const QRect& clip, float blur, QPoint offset,
        const Color& color, PaintCoverage&& paintCoverage)
    {
        QRect box = beginMask(target.size(), shapeBounds, clip, blur, offset);
        if (box.isEmpty())
            return;
        paintCoverage(m_maskPainter);
        finish(target, box, clip, blur, offset, color);
    }

private:
    // Clears the part of the mask that the shadow needs, and returns it.
    QRect beginMask(QSize targetSize, const QRect& shapeBounds, const QRect& clip, float blur, QPoint offset);
    void finish(QImage& target, const QRect& box, const QRect& clip, float blur, QPoint offset, const Color& color);
    void ensureMask(QSize size);
    void blur(const QRect& box, float sigma);
    void boxBlurRows(const QRect& box, int radius);
    void boxBlurColumns(const QRect& box, int radius);

    QImage m_mask;
    QPainter m_maskPainter;
    std::vector<uint8_t> m_line;
};

}
