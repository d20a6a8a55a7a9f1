#pragma once

#include <QCoreApplication>
#include <QPointingDevice>
#include <QTabletEvent>
#include <QTest>
#include <QWidget>
#include <QWindow>

// The three ways a child's finger reaches the picker. Every event goes into
// the window, which hands it to whatever lies under the point, as a real
// press, drag and lift would.
enum class Input { Mouse, Touch, Pen };

inline const char* nameOf(Input input)
{
    return input == Input::Mouse ? "mouse" : input == Input::Touch ? "touch" : "pen";
}

class Finger final {
public:
    Finger(QWidget& window, Input input)
        : m_window(*window.windowHandle())
        , m_widget(window)
        , m_input(input)
    {
    }

    void press(QPoint p) { send(Press, p); }
    void moveTo(QPoint p) { send(Move, p); }
    void release(QPoint p) { send(Release, p); }
    // Down at the first point, through the others, up at the last.
    void drag(std::initializer_list<QPoint> path)
    {
        const QPoint* p = path.begin();
        press(*p);
        for (++p; p != path.end(); ++p)
            moveTo(*p);
        release(*(path.end() - 1));
    }

private:
    static QPointingDevice* touchScreen()
    {
        static QPointingDevice* device = QTest::createTouchDevice();
        return device;
    }
    static const QPointingDevice* pen()
    {
        static QPointingDevice device("test pen", 4242, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
            QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
        return &device;
    }

    enum Phase { Press, Move, Release };
    void send(Phase phase, QPoint p)
    {
        switch (m_input) {
        case Input::Mouse:
            if (phase == Press)
                QTest::mousePress(&m_window, Qt::LeftButton, {}, p);
            else if (phase == Move)
                QTest::mouseMove(&m_window, p);
            else
                QTest::mouseRelease(&m_window, Qt::LeftButton, {}, p);
            break;
        case Input::Touch: {
            auto touch = QTest::touchEvent(&m_window, touchScreen());
            phase == Press ? touch.press(0, p, &m_window) : phase == Move ? touch.move(0, p, &m_window) : touch.release(0, p, &m_window);
            break;
        }
        case Input::Pen: {
            const QEvent::Type types[] = { QEvent::TabletPress, QEvent::TabletMove, QEvent::TabletRelease };
            QTabletEvent event(types[phase], pen(), QPointF(p), QPointF(m_widget.mapToGlobal(p)), phase != Release ? 0.6 : 0, 0, 0, 0, 0, 0,
                {}, phase == Move ? Qt::NoButton : Qt::LeftButton, phase != Release ? Qt::LeftButton : Qt::NoButton);
            QCoreApplication::sendEvent(&m_window, &event);
            break;
        }
        }
        QCoreApplication::processEvents();
    }

    QWindow& m_window;
    QWidget& m_widget;
    Input m_input;
};
