#pragma once

#include <QIcon>
#include <QToolButton>
#include <functional>

namespace platform::ui {

// A toolbar or navigation bar button: an icon or a short text, a tooltip, an
// accessible name for assistive and automation tools, and at least 44 points
// square so that a small finger hits it.
class BarButton final : public QToolButton {
    Q_OBJECT
public:
    static constexpr int minimumSide = 44;

    // An icon button; the tooltip also becomes the accessible name.
    BarButton(const QIcon& icon, const QString& toolTip, QWidget* parent = nullptr);
    // A text button (e.g. "Done"); the text is the accessible name.
    explicit BarButton(const QString& text, QWidget* parent = nullptr);
    // A button described later (made from an interface file).
    explicit BarButton(QWidget* parent = nullptr);

    // Sets the tooltip and the accessible name together.
    void describe(const QString& toolTip);

    // Runs the action on every click (replacing an earlier one).
    void setAction(std::function<void()> action);

private:
    void setUp();

    std::function<void()> m_action;
};

}
