#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

namespace platform::ui {

// A layer over the whole window that makes whatever it holds modal: it takes
// every click, keeps key presses from the widgets below, and answers Escape.
// Alerts, action sheets, popovers and presented screens sit on one.
//
// Widgets it borrows (screens that others keep) are given back, unparented,
// when the overlay goes, so that the window never deletes them.
class ModalOverlay final : public QWidget {
    Q_OBJECT
public:
    // `anyWidget` names the window; `scrim` dims what lies below (transparent
    // for a popover).
    ModalOverlay(QWidget* anyWidget, QColor scrim);
    ~ModalOverlay() override;

    void setOnOutsideClick(std::function<void()> action) { m_onOutsideClick = std::move(action); }
    void setOnEscape(std::function<void()> action) { m_onEscape = std::move(action); }

    // Shows the widget inside the overlay (or inside `into`, a widget on the
    // overlay) without taking it over.
    void borrow(QWidget* widget, QWidget* into = nullptr);
    void giveBackBorrowed();

    // Takes the overlay off the window; it is deleted once control returns to
    // the event loop.
    void close();

    // The overlay on top, which alone takes keys; nullptr when none is shown.
    static ModalOverlay* topmost();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool handlesKeys(QObject* target, QEvent* event);
    void focusInside();

    QColor m_scrim;
    QPointer<QWidget> m_window;
    std::function<void()> m_onOutsideClick;
    std::function<void()> m_onEscape;
    std::vector<QPointer<QWidget>> m_borrowed;
    bool m_closing { false };
};

}
