#pragma once

#include "platform/graphics/GraphicsContext.h"

#include <QImage>
#include <memory>

class QPainter;
class QWidget;

// The picture a colour view draws itself into. It lives as long as the view
// keeps its size, so redrawing after a colour change reuses the same pixels
// instead of allocating a new picture; the view's paint event only copies them
// to the screen.
class ColorViewCanvas final : public platform::GraphicsContext {
public:
    // A canvas for the view's current size and pixel ratio, or the one it has
    // when that still fits. Returns true when the canvas is new (and blank).
    static bool ensureFor(std::unique_ptr<ColorViewCanvas>& canvas, const QWidget& view);

    platform::Size size() const { return m_size; }
    float scale() const { return m_scale; }
    // Makes every pixel transparent. Views draw between saveGState and
    // restoreGState, so the state is the default one here.
    void clear();
    // Draws the pixels over the view's whole rectangle.
    void paintInto(QPainter& painter) const;

private:
    ColorViewCanvas(platform::Size size, float scale, std::unique_ptr<QImage> pixels);

    platform::Size m_size;
    float m_scale;
};
