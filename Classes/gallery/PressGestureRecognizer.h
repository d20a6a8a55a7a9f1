#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointF>
#include <QTimer>
#include <functional>

class QWidget;

// Recognises a tap or a long press on one widget. It watches the widget's
// mouse events, which Qt also makes from touches and pen strokes, so one
// recognizer serves all three. A press that moves further than a finger's
// wobble is a drag and neither.
class PressGestureRecognizer final : public QObject {
    Q_OBJECT
public:
    enum class Kind { Tap, LongPress };

    static constexpr int longPressMilliseconds = 500;
    static constexpr qreal movementTolerance = 10;

    PressGestureRecognizer(Kind kind, QWidget& view, std::function<void()> action);

    Kind kind() const { return m_kind; }
    void setAction(std::function<void()> action) { m_action = std::move(action); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void pressed(QPointF position);
    void moved(QPointF position);
    void released();
    void cancel();

    Kind m_kind;
    std::function<void()> m_action;
    QTimer m_longPressTimer;
    QElapsedTimer m_pressTime;
    QPointF m_pressPosition;
    bool m_tracking { false };
};
