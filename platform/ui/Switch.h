#pragma once

#include <QAbstractButton>
#include <QVariantAnimation>

namespace platform::ui {

// An on/off switch: a rounded track, green when on, with a white knob that
// slides to the side of the state. A click or the space key flips it and
// emits clicked(); setOn() changes it quietly, as code does.
class Switch final : public QAbstractButton {
    Q_OBJECT
public:
    explicit Switch(QWidget* parent = nullptr);

    bool isOn() const { return isChecked(); }
    void setOn(bool on, bool animated);

    QSize sizeHint() const override { return { 51, 31 }; }

protected:
    void paintEvent(QPaintEvent*) override;
    void nextCheckState() override;

private:
    void slideKnob(bool animated);

    // 0 with the knob on the left (off) … 1 on the right (on).
    qreal m_knobPosition { 0 };
    QVariantAnimation m_slide;
};

}
