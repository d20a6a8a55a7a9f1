#pragma once

#include "Classes/colorpicker/ColorViewCanvas.h"
#include "platform/graphics/Geometry.h"

#include <QWidget>
#include <memory>

// The hue-saturation palette: hue grows from 0 at the left to 1 at the right,
// saturation from 0 at the top to 1 at the bottom, all at one brightness.
// Painting it takes one fill per point, so it is painted only when
// initPallete() asks (or the view changes size) and kept as a picture; moving
// an indicator over it repaints nothing of it.
class ColorHSPalleteView final : public QWidget {
    Q_OBJECT
public:
    explicit ColorHSPalleteView(QWidget* parent = nullptr);

    void initPallete();
    float brightness() const { return m_brightness; }
    void setBrightness(float brightness) { m_brightness = brightness; }

    // The centre of the colour on the palette, in the parent's coordinates.
    platform::Point getCenterOfHue(float hue, float saturation) const;
    // Hue and saturation at a point in the palette's own coordinates. Points
    // outside the palette give values outside 0 … 1, so a finger dragged past
    // the edge keeps changing the colour.
    void getHSAtPoint(platform::Point point, float& hue, float& saturation) const;

    // How many times the palette has been painted, for tests that keep it cheap.
    int palettePaintCount() const { return m_palettePaintCount; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void paintPallete();

    float m_brightness { 1 };
    bool m_needsPallete { true };
    int m_palettePaintCount { 0 };
    std::unique_ptr<ColorViewCanvas> m_canvas;
};
