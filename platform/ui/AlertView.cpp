#include "platform/ui/AlertView.h"

#include "platform/ui/ModalOverlay.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform::ui {

static const char* alertButtonStyle =
    "QPushButton { color: white; background: rgba(255,255,255,30); border: 1px solid rgba(255,255,255,60);"
    " border-radius: 8px; font-size: 16px; padding: 6px 14px; min-height: 32px; }"
    "QPushButton:focus { border: 2px solid rgb(120,200,255); }"
    "QPushButton:pressed { background: rgba(255,255,255,80); }";

AlertView* AlertView::show(QWidget* anyWidget, const QString& title, const QString& message,
    const QStringList& buttons, int tag, Answer answer, int escapeButtonIndex)
{
    auto* overlay = new ModalOverlay(anyWidget, QColor(0, 0, 0, 110));
    auto* alert = new AlertView(*overlay, title, message, buttons, tag, std::move(answer));
    QPointer<AlertView> guard = alert;
    overlay->setOnEscape([guard, escapeButtonIndex] {
        if (guard)
            guard->dismissWithButtonIndex(escapeButtonIndex);
    });
    return alert;
}

AlertView::AlertView(ModalOverlay& overlay, const QString& title, const QString& message, const QStringList& buttons, int tag, Answer answer)
    : QWidget(&overlay)
    , m_title(title)
    , m_message(message)
    , m_tag(tag)
    , m_answer(std::move(answer))
    , m_overlay(&overlay)
{
    setObjectName(QStringLiteral("alert"));
    setAccessibleName(title.isEmpty() ? message : title);
    setAttribute(Qt::WA_NoSystemBackground);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 16, 18, 14);
    layout->setSpacing(10);
    if (!title.isEmpty()) {
        auto* label = new QLabel(title, this);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("color: white; font-size: 17px; font-weight: bold;"));
        layout->addWidget(label);
    }
    if (!message.isEmpty()) {
        auto* label = new QLabel(message, this);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignCenter);
        label->setStyleSheet(QStringLiteral("color: white; font-size: 15px;"));
        layout->addWidget(label);
    }
    auto* row = new QHBoxLayout;
    row->setSpacing(8);
    for (int i = 0; i < buttons.size(); ++i) {
        auto* button = new QPushButton(buttons[i], this);
        button->setAccessibleName(buttons[i]);
    button->setObjectName(buttons[i]);
        button->setStyleSheet(QString::fromLatin1(alertButtonStyle));
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, i] { dismissWithButtonIndex(i); });
        row->addWidget(button);
        m_buttons.push_back(button);
    }
    layout->addLayout(row);

    int width = std::min(320, overlay.width() - 24);
    setFixedWidth(width);
    adjustSize();
    move((overlay.width() - width) / 2, (overlay.height() - height()) / 2);
    QWidget::show();
    if (!m_buttons.empty())
        m_buttons.back()->setFocus();
}

QPushButton* AlertView::button(int index) const
{
    if (index < 0 || index >= buttonCount())
        return nullptr;
    return m_buttons[index];
}

void AlertView::dismissWithButtonIndex(int index)
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

AlertView* AlertView::current(QWidget* anyWidget)
{
    QList<AlertView*> alerts = anyWidget->window()->findChildren<AlertView*>();
    for (AlertView* alert : alerts) {
        if (!alert->m_answered)
            return alert;
    }
    return nullptr;
}

void AlertView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
    painter.setPen(QPen(QColor(255, 255, 255, 70), 1));
    painter.setBrush(QColor(28, 32, 58));
    painter.drawPath(path);
}

}
