#include "platform/ui/PopoverPanel.h"

#include <QPainter>
#include <QPainterPath>

namespace platform::ui {

PopoverPanel::PopoverPanel(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_NoSystemBackground);
}

QRect PopoverPanel::place(QSize contentSize, QRect anchor, QRect bounds)
{
    const int margin = 6;
    QSize frame(contentSize.width() + 2 * border, contentSize.height() + 2 * border + arrowHeight);
    frame = frame.boundedTo(bounds.size() - QSize(2 * margin, 2 * margin));
    int below = bounds.bottom() - anchor.bottom();
    int above = anchor.top() - bounds.top();
    m_pointsUp = below >= frame.height() + margin || below >= above;
    int y = m_pointsUp ? anchor.bottom() + 1 : anchor.top() - frame.height();
    y = std::clamp(y, bounds.top() + margin, std::max(bounds.top() + margin, bounds.bottom() - margin - frame.height()));
    int x = anchor.center().x() - frame.width() / 2;
    x = std::clamp(x, bounds.left() + margin, std::max(bounds.left() + margin, bounds.right() - margin - frame.width()));
    setGeometry(x, y, frame.width(), frame.height());
    m_arrowX = std::clamp(anchor.center().x() - x, border + arrowHeight, std::max(border + arrowHeight, frame.width() - border - arrowHeight));
    update();
    int top = m_pointsUp ? arrowHeight + border : border;
    return QRect(border, top, frame.width() - 2 * border, frame.height() - 2 * border - arrowHeight);
}

void PopoverPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF body = QRectF(rect()).adjusted(0.5, m_pointsUp ? arrowHeight : 0.5, -0.5, m_pointsUp ? -0.5 : -arrowHeight);
    QPainterPath path;
    path.addRoundedRect(body, 10, 10);
    QPainterPath arrow;
    if (m_pointsUp) {
        arrow.moveTo(m_arrowX - arrowHeight, arrowHeight + 1);
        arrow.lineTo(m_arrowX, 0.5);
        arrow.lineTo(m_arrowX + arrowHeight, arrowHeight + 1);
    } else {
        arrow.moveTo(m_arrowX - arrowHeight, height() - arrowHeight - 1);
        arrow.lineTo(m_arrowX, height() - 0.5);
        arrow.lineTo(m_arrowX + arrowHeight, height() - arrowHeight - 1);
    }
    arrow.closeSubpath();
    path = path.united(arrow);
    painter.setPen(QPen(QColor(0, 0, 0, 150), 1));
    painter.setBrush(QColor(32, 34, 44));
    painter.drawPath(path);
}

}
