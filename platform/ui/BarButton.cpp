#include "platform/ui/BarButton.h"

namespace platform::ui {

BarButton::BarButton(const QIcon& icon, const QString& toolTip, QWidget* parent)
    : QToolButton(parent)
{
    setIcon(icon);
    setIconSize(QSize(36, 36));
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    setUp();
}

BarButton::BarButton(const QString& text, QWidget* parent)
    : QToolButton(parent)
{
    setText(text);
    setAccessibleName(text);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setUp();
}

BarButton::BarButton(QWidget* parent)
    : QToolButton(parent)
{
    setIconSize(QSize(36, 36));
    setUp();
}

void BarButton::describe(const QString& toolTip)
{
    setToolTip(toolTip);
    setAccessibleName(toolTip);
}

void BarButton::setUp()
{
    setMinimumSize(minimumSide, minimumSide);
    setAutoRaise(true);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setStyleSheet(QStringLiteral(
        "QToolButton { color: white; font-size: 15px; font-weight: bold; padding: 2px 6px; border: none; border-radius: 8px; }"
        "QToolButton:hover { background: rgba(255,255,255,40); }"
        "QToolButton:pressed { background: rgba(255,255,255,80); }"
        "QToolButton:disabled { color: rgba(255,255,255,90); }"
        "QToolButton:focus { border: 2px solid rgba(120,200,255,200); }"));
    connect(this, &QToolButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });
}

void BarButton::setAction(std::function<void()> action)
{
    m_action = std::move(action);
}

}
