#pragma once

#include "Classes/colorpicker/ColorViewCanvas.h"
#include "platform/graphics/Color.h"

#include <QWidget>
#include <memory>

// The swatch that shows the chosen colour, framed in white.
class ColorIndicatorPanelView final : public QWidget {
    Q_OBJECT
public:
    explicit ColorIndicatorPanelView(QWidget* parent = nullptr);

    const platform::Color& indicatorColor() const { return m_indicatorColor; }
    void setColor(const platform::Color& color);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void paintSwatch();

    platform::Color m_indicatorColor { platform::Color::white() };
    bool m_needsSwatch { true };
    std::unique_ptr<ColorViewCanvas> m_canvas;
};
