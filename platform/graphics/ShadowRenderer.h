#pragma once

#include "platform/graphics/Color.h"

#include <QBrush>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRegion>
#include <QTransform>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// A path as it is painted into the shadow mask: everything its coverage depends on.
struct ShadowShape {
    QPainterPath path;
    QTransform transform;
    QPen pen;
    QBrush brush;
    qreal opacity { 1 };

    bool operator==(const ShadowShape& other) const
    {
        return opacity == other.opacity && transform == other.transform && pen == other.pen && brush == other.brush
            && path == other.path;
    }
};

// Draws the blurred shadow of a shape: the shape's coverage is painted into a
// scratch mask, blurred with three box blurs (close to a Gaussian of standard
// deviation blur / 2) and composited in the shadow colour. Work stays inside the
// shape's box grown by three deviations; scratch memory is reused between calls.
//
// Shapes are often drawn several times in a row with the same or a smaller blur
// (a glow built from repeated strokes), so the coverage of the last path and its
// last blurred mask are kept and reused when the next call asks for the same.
class ShadowRenderer final {
public:
    ShadowRenderer() = default;
    ~ShadowRenderer();

    // `shapeBounds` is the shape's pixel box, `clip` the target pixels the shadow
    // may touch, `offset` its displacement in pixels. False when the shadow
    // falls outside the clip and nothing was painted.
    bool drawPath(QImage& target, const QRect& shapeBounds, const QRect& clip, float blur, QPoint offset,
        const Color& color, const ShadowShape& shape);
    // Composites the path of the last successful drawPath() over the target, source-over,
    // from the coverage painted for its shadow: the same pixels QPainter would
    // give, without rasterising the path again. Only valid when the shadow has
    // no offset and the target painter would paint the path exactly as the mask
    // painter did (antialiased, source-over, clipped to whole pixels).
    void paintShapeOverTarget(QImage& target, const QRect& clip) const;

    // `paintCoverage(QPainter&)` paints any shape in target pixels into the mask.
    template<typename PaintCoverage>
    void draw(QImage& target, const QRect& shapeBounds, const QRect& clip, float blur, QPoint offset,
        const Color& color, PaintCoverage&& paintCoverage)
    {
        QRect box = shadowBox(target.size(), shapeBounds, clip, blur, offset);
        if (box.isEmpty())
            return;
        beginCoverage(target.size(), box);
        paintCoverage(m_scratchPainter);
        takeCoverage(box);
        m_coverageShape.reset();
        finish(target, box, clip, blur, offset, color);
    }

    // Draws the path source-over into the target, clipped to `clip` (pixels),
    // through the same scratch: the pixels QPainter would give. The shape must
    // lie inside `bounds`; the same conditions as for paintShapeOverTarget()
    // apply. Qt hands a fill with many spans to its thread pool, which for a
    // small shape costs far more than it saves; the scratch is painted in
    // source mode, which Qt fills on the calling thread.
    void drawPathDirect(QImage& target, const QRect& bounds, const QRect& clip, const ShadowShape& shape);
    // The same under a clip of several parts: the path is rasterised once, and
    // only the parts are cleared in the scratch and composited.
    void drawPathDirect(QImage& target, const QRect& bounds, const QRegion& clip, const ShadowShape& shape);
    // The same for the clear blend mode: the target keeps 1 - coverage of each pixel.
    void clearPathDirect(QImage& target, const QRect& bounds, const QRect& clip, ShadowShape shape);

private:
    QRect shadowBox(QSize targetSize, const QRect& shapeBounds, const QRect& clip, float blur, QPoint offset) const;
    // Clears the box (or only its parts in `parts`) in the scratch image and
    // readies its painter, clipped to the same.
    void beginCoverage(QSize targetSize, const QRect& box, const QRegion* parts = nullptr);
    void paintShape(const ShadowShape& shape);
    // Copies the painted coverage of the box into the coverage buffer.
    void takeCoverage(const QRect& box);
    // Blurs the coverage over `box` (unless the last blur was the same) and composites it.
    void finish(QImage& target, const QRect& box, const QRect& clip, float blur, QPoint offset, const Color& color);
    void blurMask(int width, int height, float sigma);
    void blurRows(int width, int height, int radius);
    void blurColumns(int width, int height, int radius);

    // Paths are painted in source mode into a premultiplied ARGB scratch, which
    // Qt fills on the calling thread (an 8-bit alpha image, or source-over,
    // go through its thread pool). m_scratchBox holds the last painted shape.
    QImage m_scratch;
    QPainter m_scratchPainter;
    QRect m_scratchBox;

    // Unblurred coverage of m_coverageBox, rows packed; m_coverageShape says
    // which path it belongs to (none for other shapes).
    std::vector<uint8_t> m_coverage;
    QRect m_coverageBox;
    std::optional<ShadowShape> m_coverageShape;
    // The blurred mask of the last call, rows packed over m_maskBox.
    std::vector<uint8_t> m_mask;
    QRect m_maskBox;
    float m_maskSigma { -1 };
    bool m_maskValid { false };

    // Per row of m_mask, the columns outside which it is zero (first > last
    // for an empty row): the blur and the compositing skip the rest.
    struct Extent {
        int first;
        int last;
    };
    std::vector<Extent> m_extents;
    std::vector<Extent> m_nextExtents;
    std::vector<uint8_t> m_rowCopy;
    std::vector<uint32_t> m_columnSums;
};

}
