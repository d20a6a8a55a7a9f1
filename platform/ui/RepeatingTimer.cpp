#include "platform/ui/RepeatingTimer.h"

#include <cmath>

namespace platform::ui {

RepeatingTimer::RepeatingTimer(QObject* parent)
    : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        // A copy, so that the action may stop or restart the timer.
        std::function<void()> action = m_action;
        if (action)
            action();
    });
}

void RepeatingTimer::start(double intervalSeconds, std::function<void()> action)
{
    m_action = std::move(action);
    m_timer.start(std::max(1, static_cast<int>(std::lround(intervalSeconds * 1000))));
}

void RepeatingTimer::stop()
{
    m_timer.stop();
}

}
