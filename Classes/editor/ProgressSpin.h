#pragma once

#include "platform/ui/RepeatingTimer.h"

#include <QImage>
#include <QWidget>
#include <optional>

// The busy indicator: a rounded dark square with a large white spinning wheel
// in its middle.
class ProgressSpin final : public QWidget {
    Q_OBJECT
public:
    ProgressSpin(QSize size, std::optional<QString> label, QWidget* parent = nullptr);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_timer.isRunning(); }
    // How many times the wheel has turned a step since it was created.
    int stepCount() const { return m_steps; }

    const QImage& backgroundImage() const { return m_backgroundImage; }
    const std::optional<QString>& label() const { return m_label; }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    static constexpr int spokes = 12;

    QImage m_backgroundImage;
    std::optional<QString> m_label;
    platform::ui::RepeatingTimer m_timer;
    int m_steps { 0 };
};
