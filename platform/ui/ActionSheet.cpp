#include "platform/ui/ActionSheet.h"

#include "platform/system/Device.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Localized.h"
#include "platform/ui/ModalOverlay.h"
#include "platform/ui/PopoverPanel.h"

#include <QLabel>
#include <algorithm>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform::ui {

static QString sheetButtonStyle(const char* colour, const char* background)
{
    return QStringLiteral(
               "QPushButton { color: %1; background: %2; border: 1px solid rgba(255,255,255,50);"
               " border-radius: 8px; font-size: 17px; font-weight: bold; min-height: 44px; padding: 0 12px; }"
               "QPushButton:focus { border: 2px solid rgb(120,200,255); }"
               "QPushButton:pressed { background: rgba(255,255,255,90); }")
        .arg(QLatin1String(colour), QLatin1String(background));
}

ActionSheet* ActionSheet::show(QWidget* anyWidget, QWidget* anchor, const QString& title, const Buttons& buttons, Answer answer)
{
    bool popover = anchor && platform::Device::idiom() == platform::InterfaceIdiom::Pad;
    auto* overlay = new ModalOverlay(anyWidget, popover ? QColor(0, 0, 0, 0) : QColor(0, 0, 0, 110));
    ActionSheet* sheet = nullptr;
    if (popover) {
        auto* panel = new PopoverPanel(overlay);
        sheet = new ActionSheet(panel, title, buttons, std::move(answer), false);
        // Wide enough for the longest button's text, within the window.
        int widest = 0;
        for (QPushButton* button : sheet->m_buttons)
            widest = std::max(widest, button->sizeHint().width());
        sheet->setFixedWidth(std::clamp(widest + 24, 272, std::max(272, overlay->width() - 40)));
        sheet->adjustSize();
        QRect anchorRect(anchor->mapTo(anchor->window(), QPoint(0, 0)), anchor->size());
        sheet->setGeometry(panel->place(sheet->size(), anchorRect, overlay->rect()));
        panel->show();
    } else {
        sheet = new ActionSheet(overlay, title, buttons, std::move(answer), true);
        sheet->setFixedWidth(std::min(overlay->width(), 480));
        sheet->adjustSize();
        QPoint shown((overlay->width() - sheet->width()) / 2, overlay->height() - sheet->height());
        if (shouldAnimate(true)) {
            auto* slide = new QPropertyAnimation(sheet, "pos", sheet);
            slide->setDuration(slideDurationMs);
            slide->setStartValue(shown + QPoint(0, sheet->height()));
            slide->setEndValue(shown);
            slide->setEasingCurve(QEasingCurve::OutCubic);
            slide->start(QAbstractAnimation::DeleteWhenStopped);
        } else {
            sheet->move(shown);
        }
    }
    sheet->m_overlay = overlay;
    QPointer<ActionSheet> guard = sheet;
    auto cancel = [guard] {
        if (guard)
            guard->dismissWithButtonIndex(guard->cancelButtonIndex());
    };
    overlay->setOnEscape(cancel);
    overlay->setOnOutsideClick(cancel);
    sheet->QWidget::show();
    if (!sheet->m_buttons.empty())
        sheet->m_buttons.front()->setFocus();
    return sheet;
}

ActionSheet::ActionSheet(QWidget* parent, const QString& title, const Buttons& buttons, Answer answer, bool framed)
    : QWidget(parent)
    , m_title(title)
    , m_answer(std::move(answer))
    , m_framed(framed)
{
    setObjectName(QStringLiteral("actionSheet"));
    setAccessibleName(title.isEmpty() ? localized("Choices") : title);
    setAttribute(Qt::WA_NoSystemBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(8);
    if (!title.isEmpty()) {
        auto* label = new QLabel(title, this);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("color: rgb(220,220,230); font-size: 14px;"));
        layout->addWidget(label);
    }
    if (!buttons.destructive.isEmpty()) {
        m_destructiveIndex = 0;
        addButton(buttons.destructive, sheetButtonStyle("white", "rgb(210,40,40)"));
    }
    for (const QString& other : buttons.others)
        addButton(other, sheetButtonStyle("white", "rgba(255,255,255,35)"));
    if (!buttons.cancel.isEmpty()) {
        m_cancelIndex = static_cast<int>(m_buttons.size());
        layout->addSpacing(4);
        addButton(buttons.cancel, sheetButtonStyle("rgb(200,200,210)", "rgba(0,0,0,90)"));
    }
}

QPushButton* ActionSheet::addButton(const QString& text, const QString& style)
{
    int index = static_cast<int>(m_buttons.size());
    auto* button = new QPushButton(text, this);
    button->setAccessibleName(text);
    button->setObjectName(text);
    button->setStyleSheet(style);
    button->setAutoDefault(true);
    connect(button, &QPushButton::clicked, this, [this, index] { dismissWithButtonIndex(index); });
    layout()->addWidget(button);
    m_buttons.push_back(button);
    return button;
}

QPushButton* ActionSheet::button(int index) const
{
    if (index < 0 || index >= buttonCount())
        return nullptr;
    return m_buttons[index];
}

QString ActionSheet::buttonTitle(int index) const
{
    QPushButton* found = button(index);
    return found ? found->text() : QString();
}

void ActionSheet::dismissWithButtonIndex(int index)
{
    if (m_answered)
        return;
    m_answered = true;
    Answer answer = std::move(m_answer);
    if (m_overlay)
        m_overlay->close();
    if (answer)
        answer(index);
}

ActionSheet* ActionSheet::current(QWidget* anyWidget)
{
    for (ActionSheet* sheet : anyWidget->window()->findChildren<ActionSheet*>()) {
        if (!sheet->m_answered)
            return sheet;
    }
    return nullptr;
}

void ActionSheet::paintEvent(QPaintEvent*)
{
    if (!m_framed)
        return;
    QPainter painter(this);
    painter.fillRect(rect(), QColor(24, 26, 36));
    painter.setPen(QColor(255, 255, 255, 60));
    painter.drawLine(0, 0, width(), 0);
}

}
