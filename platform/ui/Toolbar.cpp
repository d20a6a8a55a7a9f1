#include "platform/ui/Toolbar.h"

#include "platform/ui/BarButton.h"

#include <QHBoxLayout>
#include <QPainter>

namespace platform::ui {

Toolbar::Toolbar(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(height);
    setAttribute(Qt::WA_NoSystemBackground);
    m_layout = new QHBoxLayout(this);
    m_layout->setContentsMargins(4, 0, 4, 0);
    m_layout->setSpacing(2);
}

BarButton* Toolbar::addButton(BarButton* button)
{
    m_layout->addWidget(button, 0, Qt::AlignVCenter);
    return button;
}

void Toolbar::addWidget(QWidget* widget)
{
    m_layout->addWidget(widget, 0, Qt::AlignVCenter);
}

void Toolbar::addFlexibleSpace()
{
    m_layout->addStretch(1);
}

void Toolbar::addFixedSpace(int points)
{
    m_layout->addSpacing(points);
}

void Toolbar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, QColor(40, 40, 48, 215));
    gradient.setColorAt(1, QColor(10, 10, 14, 215));
    painter.fillRect(rect(), gradient);
    painter.setPen(QColor(255, 255, 255, 40));
    painter.drawLine(0, 0, width(), 0);
}

}
