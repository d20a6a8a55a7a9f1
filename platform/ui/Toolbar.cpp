#include "platform/ui/Toolbar.h"

#include "platform/ui/BarButton.h"

#include <QHBoxLayout>
#include <QPainter>

namespace platform::ui {

Toolbar::Toolbar(QWidget* parent)
    : QWidget(parent)
{
    setMinimumHeight(height);
    setMaximumHeight(height);
    setAttribute(Qt::WA_NoSystemBackground);
}

QHBoxLayout& Toolbar::row()
{
    if (auto* existing = qobject_cast<QHBoxLayout*>(layout()))
        return *existing;
    auto* created = new QHBoxLayout(this);
    created->setContentsMargins(4, 0, 4, 0);
    created->setSpacing(2);
    return *created;
}

BarButton* Toolbar::addButton(BarButton* button)
{
    row().addWidget(button, 0, Qt::AlignVCenter);
    return button;
}

void Toolbar::addWidget(QWidget* widget)
{
    row().addWidget(widget, 0, Qt::AlignVCenter);
}

void Toolbar::addFlexibleSpace()
{
    row().addStretch(1);
}

void Toolbar::addFixedSpace(int points)
{
    row().addSpacing(points);
}

void Toolbar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, QWidget::height());
    gradient.setColorAt(0, QColor(40, 40, 48, 215));
    gradient.setColorAt(1, QColor(10, 10, 14, 215));
    painter.fillRect(rect(), gradient);
    painter.setPen(QColor(255, 255, 255, 40));
    painter.drawLine(0, 0, width(), 0);
}

}
