#pragma once

#include "Classes/colorpicker/HSVColor.h"
#include "Classes/colorpicker/RecentPickedColorDelegate.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/ViewController.h"

#include <QPointF>
#include <memory>
#include <vector>

class ColorPickerDelegate;
class QPropertyAnimation;
class QGraphicsOpacityEffect;
namespace Ui {
class ColorPickerViewController;
}
namespace platform::ui {
class Popover;
}

// The screen on which the child chooses the brush colour: random colours, or
// one solid colour from the hue-saturation palette and the brightness bar,
// with eight recent colours for quick reuse. The editor makes it once and
// keeps it, so the choice, the indicators and the recent colours stay from
// one opening to the next.
class ColorPickerViewController final : public platform::ui::ViewController, private RecentPickedColorDelegate {
    Q_OBJECT
public:
    static constexpr int maximumRecentColors = 10;

    explicit ColorPickerViewController(QWidget* parent = nullptr);
    ~ColorPickerViewController() override;

    void setDelegate(ColorPickerDelegate* delegate) { m_delegate = delegate; }
    // Set on a tablet, where the picker shows in this popover; OK and Cancel close it.
    void setPopover(platform::ui::Popover* popover) { m_popover = popover; }

    platform::Color selectedColor() const;
    bool isRandomColorSelected() const;
    float hue() const { return m_hue; }
    float saturation() const { return m_saturation; }
    float brightness() const { return m_brightness; }
    // Most recent first, eight to ten of them.
    const std::vector<HSVColor>& recentColors() const { return *m_recentColors; }

    // The value limited to max, then to min: min wins when min > max.
    static float clampValue(float value, float min, float max);
    static platform::Point clampPoint(platform::Point point, const platform::Rect& rect);

    // The size the interface file lays the screen out for.
    QSize sizeHint() const override { return m_designSize; }

protected:
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Return is OK and Escape is Cancel.
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class TouchTarget { None, HueSaturation, Brightness };
    TouchTarget touchTargetOf(QObject* view) const;
    void routeTouch(TouchTarget target, QPointF globalPosition);

    void onOK();
    void onCancel();
    void onRandomColorSwitchValueChanged();
    void recentColorPicked(int index) override;
    void onHueSaturationChange(QPointF globalPosition);
    void onBrightnessChange(QPointF globalPosition);
    void closePicker();
    void stopIndicatorAnimations();

    std::unique_ptr<Ui::ColorPickerViewController> m_ui;
    std::shared_ptr<std::vector<HSVColor>> m_recentColors;
    QSize m_designSize;
    platform::ui::Popover* m_popover { nullptr };
    ColorPickerDelegate* m_delegate { nullptr };
    float m_hue { 0.6f };
    float m_saturation { 0.6f };
    float m_brightness { 0.8f };
    bool m_isRandomColor { true };
    // Whether a pen is down on one of the solid-colour views.
    bool m_penDown { false };

    QGraphicsOpacityEffect* m_containerOpacity { nullptr };
    QPropertyAnimation* m_containerFade { nullptr };
    QPropertyAnimation* m_hueSaturationSlide { nullptr };
    QPropertyAnimation* m_brightnessSlide { nullptr };
};
