#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/CoverageSource.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/graphics/Path.h"
#include "platform/graphics/ShadowRenderer.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QRegion>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace platform {

enum class LineCap { Butt, Round, Square };
enum class LineJoin { Miter, Round, Bevel };
enum class BlendMode { Normal, Clear, Copy };

// A drawing context over a raster target with the classic graphics-state model:
// a saved/restored state, a current transformation (CTM) that user coordinates
// pass through, a current path that stroke and fill consume, and shadows.
// Subclasses choose the target and the default user space.
class GraphicsContext {
public:
    virtual ~GraphicsContext();
    GraphicsContext(const GraphicsContext&) = delete;
    GraphicsContext& operator=(const GraphicsContext&) = delete;

    void saveGState();
    void restoreGState();

    // Concatenation applies `t` to user coordinates before the current CTM.
    void concatCTM(const AffineTransform& t);
    void translateCTM(float x, float y) { concatCTM(AffineTransform::makeTranslation(x, y)); }
    void scaleCTM(float sx, float sy) { concatCTM(AffineTransform::makeScale(sx, sy)); }
    void rotateCTM(float radians) { concatCTM(AffineTransform::makeRotation(radians)); }
    // The CTM relative to the context's default user space.
    AffineTransform getCTM() const { return m_state.ctm; }
    // The CTM followed by the map from the default user space to the target's
    // pixels (x to the right, y down the rows).
    AffineTransform getUserSpaceToDeviceSpaceTransform() const;

    void setLineWidth(float width) { m_state.lineWidth = width; }
    void setLineCap(LineCap cap) { m_state.lineCap = cap; }
    void setLineJoin(LineJoin join) { m_state.lineJoin = join; }
    void setStrokeColor(const Color& c) { m_state.strokeColor = c; }
    void setFillColor(const Color& c) { m_state.fillColor = c; }
    void setAlpha(float alpha) { m_state.alpha = alpha; }
    void setShouldAntialias(bool on) { m_state.antialias = on; }
    void setAllowsAntialiasing(bool allowed) { m_state.allowsAntialias = allowed; }
    void setBlendMode(BlendMode mode) { m_state.blendMode = mode; }
    // Narrows the clip to the rectangle (in user coordinates; under a rotation,
    // to the bounding box of the turned rectangle).
    void clipToRect(const Rect& r);
    // Narrows the clip to the union of the rectangles, each taken as clipToRect
    // takes it. Meant for whole pixels; the clip then stays pixel-exact.
    void clipToRects(std::span<const Rect> rects);
    // A shadow under everything drawn next. No colour, or a zero blur with no
    // colour, turns the shadow off. The offset is in device units.
    void setShadow(Size offset, float blur, std::optional<Color> color);
    void setShadow(Size offset, float blur) { setShadow(offset, blur, Color { 0, 0, 0, 1.0f / 3 }); }

    void beginPath() { m_path.clear(); }
    void moveToPoint(Point p) { m_path.moveTo(p); }
    void addLineToPoint(Point p) { m_path.lineTo(p); }
    void addQuadCurveToPoint(Point control, Point end) { m_path.quadCurveTo(control, end); }
    void addPath(const Path& path) { m_path.addPath(path); }
    void addRect(const Rect& r) { m_path.addRect(r); }
    void addEllipseInRect(const Rect& r) { m_path.addEllipseInRect(r); }
    void closePath() { m_path.closeSubpath(); }

    // Stroke or fill (non-zero winding) the current path, then clear it.
    void strokePath();
    void fillPath();
    void strokeRect(const Rect& r);
    void fillRect(const Rect& r);
    void fillEllipseInRect(const Rect& r);
    // Paints the fill colour, scaled by the coverage and the alpha, over the
    // target under the clip (taken to whole pixels). Blend mode and shadow do
    // not apply.
    void fillCoverage(const CoverageSource& source);
    // Makes the rectangle fully transparent, whatever the blend mode.
    void clearRect(const Rect& r);

    // Draws an image with its top row towards the larger y of `rect`, as in a
    // y-up coordinate system: upright in bitmap contexts.
    void drawImage(const Rect& rect, const Image& image);
    // Draws an image with its top row at rect's origin: upright in image contexts.
    void drawImageTopLeft(const Rect& rect, const Image& image);

    int pixelWidth() const { return m_targetRect.width(); }
    int pixelHeight() const { return m_targetRect.height(); }

protected:
    // `base` maps the default user space to the target's pixels.
    GraphicsContext(std::unique_ptr<QImage> target, const QTransform& base);
    // Draws through a painter that is already active on some device, over
    // `targetRect` in its device pixels. Without pixels of its own to work in,
    // such a context draws shapes without their shadows.
    GraphicsContext(QPainter& painter, const QRect& targetRect, const QTransform& base, std::optional<QRectF> clip);
    const QImage& target() const { return *m_target; }

private:
    struct Shadow {
        Size offset;
        float blur { 0 };
        Color color;
    };
    struct State {
        AffineTransform ctm;
        float lineWidth { 1 };
        LineCap lineCap { LineCap::Butt };
        LineJoin lineJoin { LineJoin::Miter };
        Color strokeColor { 0, 0, 0, 1 };
        Color fillColor { 0, 0, 0, 1 };
        float alpha { 1 };
        bool antialias { true };
        bool allowsAntialias { true };
        BlendMode blendMode { BlendMode::Normal };
        std::optional<QRectF> clip; // in pixels
        // When set, the clip is this union of whole pixels, and `clip` is its bounding box.
        std::optional<QRegion> clipRegion;
        std::optional<Shadow> shadow;
    };

    enum class Paint { Stroke, Fill };
    void drawPath(const QPainterPath& path, Paint paint);
    void applyState();
    QPoint shadowOffset(const Shadow& shadow) const;
    // Calls `paint` with each part of the clip in pixels: the parts of a clip
    // region, or the clip's one rectangle.
    template<typename PaintPart>
    void forEachClipPart(const QRect& clip, PaintPart&& paint) const
    {
        if (!m_state.clipRegion) {
            paint(clip);
            return;
        }
        for (const QRect& part : *m_state.clipRegion) {
            QRect visible = part.intersected(clip);
            if (!visible.isEmpty())
                paint(visible);
        }
    }
    QTransform deviceTransform() const;

    std::unique_ptr<QImage> m_target;
    QRect m_targetRect;
    QTransform m_base;
    QPainter m_ownPainter;
    // The own painter, or the one the context was given.
    QPainter& m_painter;
    QPen m_pen;
    State m_state;
    std::vector<State> m_stack;
    Path m_path;
    ShadowRenderer m_shadow;
    // Scratch for clipToRects, kept to avoid allocating per call.
    std::vector<QRect> m_clipRects;
    // One row of coverage for fillCoverage.
    std::vector<uint8_t> m_coverageRow;
};

}
