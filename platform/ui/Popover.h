#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <functional>

class QWidget;

namespace platform::ui {

class ModalOverlay;
class PopoverPanel;

// A floating panel with an arrow that points at the button it was opened
// from (tablets). A click anywhere outside it, or Escape, closes it. The
// content widget is only shown in it, never owned, so one popover and its
// content can be kept and opened again with their state.
class Popover final : public QObject {
    Q_OBJECT
public:
    explicit Popover(QWidget* content, QObject* parent = nullptr);
    ~Popover() override;

    QWidget* content() const { return m_content; }
    QSize contentSize() const { return m_contentSize; }
    void setContentSize(QSize size) { m_contentSize = size; }

    // Opens the panel below the anchor when there is room, otherwise above.
    void presentFrom(QWidget* anchor, bool animated);
    void dismiss(bool animated);
    bool isPopoverVisible() const;

    // The panel while it is shown (for finding it in the window), else nullptr.
    QWidget* panel() const;

    // Runs when the user closes the popover by clicking outside or Escape
    // (not on dismiss).
    void setOnUserDismiss(std::function<void()> action) { m_onUserDismiss = std::move(action); }

signals:
    void dismissed();

private:
    QPointer<QWidget> m_content;
    QSize m_contentSize;
    QPointer<ModalOverlay> m_overlay;
    QPointer<PopoverPanel> m_panel;
    std::function<void()> m_onUserDismiss;
};

}
