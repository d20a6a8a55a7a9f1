#pragma once

#include "Classes/colorpicker/ColorViewCanvas.h"
#include "platform/graphics/Color.h"

#include <QWidget>
#include <memory>

// A round marker that sits on the palette or the brightness bar: a white disc
// with a shadow and the marked colour inside it. The corners stay transparent.
class ColorIndicatorCircleView final : public QWidget {
    Q_OBJECT
public:
    explicit ColorIndicatorCircleView(QWidget* parent = nullptr);

    const platform::Color& indicatorColor() const { return m_indicatorColor; }
    void setColor(const platform::Color& color);

    // The centre in the parent's coordinates, and moving the view to put it at a point.
    platform::Point center() const;
    void setCenter(platform::Point center);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void paintCircle();

    platform::Color m_indicatorColor { platform::Color::white() };
    bool m_needsCircle { true };
    std::unique_ptr<ColorViewCanvas> m_canvas;
};
