#include "platform/ui/Popover.h"

#include "platform/ui/ModalOverlay.h"
#include "platform/ui/PopoverPanel.h"

namespace platform::ui {

Popover::Popover(QWidget* content, QObject* parent)
    : QObject(parent)
    , m_content(content)
    , m_contentSize(content ? content->sizeHint() : QSize())
{
}

Popover::~Popover()
{
    if (m_overlay) {
        m_overlay->giveBackBorrowed();
        delete m_overlay.data();
    }
}

void Popover::presentFrom(QWidget* anchor, bool)
{
    if (!anchor || !m_content || m_overlay)
        return;
    auto* overlay = new ModalOverlay(anchor, QColor(0, 0, 0, 0));
    m_overlay = overlay;
    auto* panel = new PopoverPanel(overlay);
    m_panel = panel;
    QRect anchorRect(anchor->mapTo(anchor->window(), QPoint(0, 0)), anchor->size());
    QRect contentRect = panel->place(m_contentSize, anchorRect, overlay->rect());
    overlay->borrow(m_content, panel);
    m_content->setGeometry(contentRect);
    panel->show();
    auto closeByUser = [this] {
        dismiss(true);
        if (m_onUserDismiss)
            m_onUserDismiss();
    };
    overlay->setOnOutsideClick(closeByUser);
    overlay->setOnEscape(closeByUser);
    m_content->setFocus();
}

void Popover::dismiss(bool)
{
    if (!m_overlay)
        return;
    m_overlay->close();
    m_overlay = nullptr;
    m_panel = nullptr;
    emit dismissed();
}

bool Popover::isPopoverVisible() const
{
    return m_overlay != nullptr;
}

QWidget* Popover::panel() const
{
    return m_panel;
}

}
