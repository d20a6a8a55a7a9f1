#pragma once

#include "Classes/colorpicker/ColorViewCanvas.h"
#include "platform/graphics/Geometry.h"

#include <QWidget>
#include <memory>

// The brightness bar: one hue and saturation from black at the left to full
// brightness at the right.
class ColorBrightnessPalleteView final : public QWidget {
    Q_OBJECT
public:
    explicit ColorBrightnessPalleteView(QWidget* parent = nullptr);

    float hue() const { return m_hue; }
    float saturation() const { return m_saturation; }
    void setHue(float hue, float saturation);

    // Brightness at a point in the bar's own coordinates, 0 left of the bar
    // and 1 right of it.
    float getBrightnessAtPoint(platform::Point point) const;
    // Where the brightness sits on the bar, in the parent's coordinates.
    platform::Point getCenterOfBrightness(float brightness) const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void paintBar();

    float m_hue { 0 };
    float m_saturation { 0 };
    bool m_needsBar { true };
    std::unique_ptr<ColorViewCanvas> m_canvas;
};
