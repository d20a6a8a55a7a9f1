#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace platform::ui {

// Runs an action every interval on the main thread until stopped. Stopping
// from inside the action is allowed.
class RepeatingTimer final : public QObject {
    Q_OBJECT
public:
    explicit RepeatingTimer(QObject* parent = nullptr);

    void start(double intervalSeconds, std::function<void()> action);
    void stop();
    bool isRunning() const { return m_timer.isActive(); }
    double interval() const { return m_timer.interval() / 1000.0; }

private:
    QTimer m_timer;
    std::function<void()> m_action;
};

}
