#include "Classes/gallery/PressGestureRecognizer.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

PressGestureRecognizer::PressGestureRecognizer(Kind kind, QWidget& view, std::function<void()> action)
    : QObject(&view)
    , m_kind(kind)
    , m_action(std::move(action))
{
    m_longPressTimer.setSingleShot(true);
    m_longPressTimer.setInterval(longPressMilliseconds);
    connect(&m_longPressTimer, &QTimer::timeout, this, [this] {
        if (!m_tracking)
            return;
        m_tracking = false;
        if (m_kind == Kind::LongPress && m_action)
            m_action();
    });
    view.installEventFilter(this);
}

bool PressGestureRecognizer::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            pressed(mouse->position());
        break;
    }
    case QEvent::MouseMove:
        if (m_tracking)
            moved(static_cast<QMouseEvent*>(event)->position());
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            released();
        break;
    case QEvent::Hide:
    case QEvent::Leave:
    case QEvent::UngrabMouse:
        cancel();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void PressGestureRecognizer::pressed(QPointF position)
{
    m_tracking = true;
    m_pressPosition = position;
    m_pressTime.start();
    m_longPressTimer.start();
}

void PressGestureRecognizer::moved(QPointF position)
{
    const QPointF distance = position - m_pressPosition;
    if (std::abs(distance.x()) + std::abs(distance.y()) > movementTolerance)
        cancel();
}

void PressGestureRecognizer::released()
{
    if (!m_tracking)
        return;
    const bool quick = m_pressTime.elapsed() < longPressMilliseconds;
    cancel();
    // The action may recycle or delete the view, and this recognizer with it.
    if (m_kind == Kind::Tap && quick && m_action) {
        auto action = m_action;
        action();
    }
}

void PressGestureRecognizer::cancel()
{
    m_tracking = false;
    m_longPressTimer.stop();
}
