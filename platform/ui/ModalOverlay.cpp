#include "platform/ui/ModalOverlay.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace platform::ui {

static std::vector<ModalOverlay*>& openOverlays()
{
    static std::vector<ModalOverlay*> overlays;
    return overlays;
}

ModalOverlay::ModalOverlay(QWidget* anyWidget, QColor scrim)
    : QWidget(anyWidget->window())
    , m_scrim(scrim)
    , m_window(anyWidget->window())
{
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setGeometry(m_window->rect());
    m_window->installEventFilter(this);
    qApp->installEventFilter(this);
    openOverlays().push_back(this);
    show();
    raise();
    setFocus();
}

ModalOverlay::~ModalOverlay()
{
    auto& overlays = openOverlays();
    overlays.erase(std::remove(overlays.begin(), overlays.end(), this), overlays.end());
    giveBackBorrowed();
}

void ModalOverlay::borrow(QWidget* widget, QWidget* into)
{
    widget->setParent(into ? into : this);
    m_borrowed.emplace_back(widget);
    widget->show();
}

void ModalOverlay::giveBackBorrowed()
{
    for (auto& widget : m_borrowed) {
        if (widget && isAncestorOf(widget)) {
            widget->hide();
            widget->setParent(nullptr);
        }
    }
    m_borrowed.clear();
}

void ModalOverlay::close()
{
    if (m_closing)
        return;
    m_closing = true;
    auto& overlays = openOverlays();
    overlays.erase(std::remove(overlays.begin(), overlays.end(), this), overlays.end());
    giveBackBorrowed();
    hide();
    qApp->removeEventFilter(this);
    deleteLater();
}

ModalOverlay* ModalOverlay::topmost()
{
    auto& overlays = openOverlays();
    return overlays.empty() ? nullptr : overlays.back();
}

void ModalOverlay::paintEvent(QPaintEvent*)
{
    if (m_scrim.alpha() == 0)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), m_scrim);
}

void ModalOverlay::mousePressEvent(QMouseEvent* event)
{
    // Only clicks that reach the overlay itself are outside its content.
    event->accept();
    if (m_onOutsideClick)
        m_onOutsideClick();
}

bool ModalOverlay::event(QEvent* event)
{
    // Touches outside the content count as clicks too.
    if (event->type() == QEvent::TouchBegin) {
        event->accept();
        if (m_onOutsideClick)
            m_onOutsideClick();
        return true;
    }
    return QWidget::event(event);
}

bool ModalOverlay::handlesKeys(QObject* target, QEvent* event)
{
    if (topmost() != this || m_closing)
        return false;
    auto* widget = qobject_cast<QWidget*>(target);
    if (!widget || widget->window() != m_window)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Without an Escape action of its own the overlay leaves Escape to what it
    // holds (a presented screen may close itself on it).
    if (key->key() == Qt::Key_Escape && (m_onEscape || !isAncestorOf(widget))) {
        if (event->type() == QEvent::KeyPress && m_onEscape)
            m_onEscape();
        event->accept();
        return true;
    }
    if (isAncestorOf(widget))
        return false;
    // Keys and shortcuts never reach the screen below; a key pressed there
    // brings the focus back.
    if (event->type() == QEvent::KeyPress)
        focusInside();
    event->accept();
    return true;
}

void ModalOverlay::focusInside()
{
    for (QWidget* child : findChildren<QWidget*>()) {
        if (child->isVisible() && child->isEnabled() && (child->focusPolicy() & Qt::TabFocus)) {
            child->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    setFocus();
}

bool ModalOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window && event->type() == QEvent::Resize)
        setGeometry(m_window->rect());
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
        return handlesKeys(watched, event);
    return false;
}

}
