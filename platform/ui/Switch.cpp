#include "platform/ui/Switch.h"

#include "platform/ui/Animation.h"

#include <QPainter>

namespace platform::ui {

Switch::Switch(QWidget* parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    m_slide.setDuration(200);
    m_slide.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_slide, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_knobPosition = value.toReal();
        update();
    });
}

void Switch::setOn(bool on, bool animated)
{
    const QSignalBlocker quiet(this);
    setChecked(on);
    slideKnob(animated);
}

void Switch::nextCheckState()
{
    QAbstractButton::nextCheckState();
    slideKnob(true);
}

void Switch::slideKnob(bool animated)
{
    const qreal target = isChecked() ? 1 : 0;
    m_slide.stop();
    if (!shouldAnimate(animated) || !isVisible()) {
        m_knobPosition = target;
        update();
        return;
    }
    m_slide.setStartValue(m_knobPosition);
    m_slide.setEndValue(target);
    m_slide.start();
}

void Switch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
    const qreal radius = track.height() / 2;

    const QColor off(225, 225, 228);
    const QColor on(76, 217, 100);
    QColor fill;
    fill.setRgbF(off.redF() + (on.redF() - off.redF()) * m_knobPosition,
        off.greenF() + (on.greenF() - off.greenF()) * m_knobPosition,
        off.blueF() + (on.blueF() - off.blueF()) * m_knobPosition);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);

    const qreal knobDiameter = track.height() - 2;
    const qreal travel = track.width() - knobDiameter - 2;
    const QRectF knob(track.x() + 1 + travel * m_knobPosition, track.y() + 1, knobDiameter, knobDiameter);
    painter.setPen(QPen(QColor(0, 0, 0, 60), 0.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(knob);

    if (hasFocus()) {
        painter.setPen(QPen(palette().highlight().color(), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(track, radius, radius);
    }
}

}
