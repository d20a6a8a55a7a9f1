#include "platform/ui/NavigationBar.h"

#include "platform/ui/BarButton.h"
#include "platform/ui/Localized.h"

#include <QLabel>
#include <QPainter>

namespace platform::ui {

NavigationBar::NavigationBar(QWidget* parent)
    : QWidget(parent)
{
    setFixedHeight(height);
    m_backButton = new BarButton(localized("Back"), this);
    connect(m_backButton, &QToolButton::clicked, this, &NavigationBar::backClicked);
    m_titleLabel = new QLabel(this);
    m_titleLabel->setAlignment(Qt::AlignCenter);
    m_titleLabel->setStyleSheet(QStringLiteral("color: white; font-size: 18px; font-weight: bold;"));
}

NavigationBar::~NavigationBar()
{
    giveBackRightButton();
}

QString NavigationBar::title() const
{
    return m_titleLabel->text();
}

void NavigationBar::giveBackRightButton()
{
    if (m_rightButton && m_rightButton->parent() == this) {
        m_rightButton->hide();
        m_rightButton->setParent(m_rightButtonOwner);
    }
    m_rightButton = nullptr;
    m_rightButtonOwner = nullptr;
}

void NavigationBar::show(const QString& title, const QString& backTitle, bool showsBack, BarButton* rightButton)
{
    m_titleLabel->setText(title);
    QString back = QStringLiteral("\u2039 ") + (backTitle.isEmpty() ? localized("Back") : backTitle);
    m_backButton->setText(back);
    m_backButton->setAccessibleName(localized("Back"));
    m_backButton->setVisible(showsBack);
    if (rightButton != m_rightButton) {
        giveBackRightButton();
        if (rightButton) {
            m_rightButtonOwner = rightButton->parentWidget();
            m_rightButton = rightButton;
            rightButton->setParent(this);
            rightButton->show();
        }
    }
    layOut();
}

void NavigationBar::layOut()
{
    int side = 6;
    QSize back = m_backButton->sizeHint().expandedTo(QSize(BarButton::minimumSide, BarButton::minimumSide));
    m_backButton->setGeometry(side, 0, back.width(), height);
    int rightWidth = 0;
    if (m_rightButton) {
        QSize right = m_rightButton->sizeHint().expandedTo(QSize(BarButton::minimumSide, BarButton::minimumSide));
        rightWidth = right.width();
        m_rightButton->setGeometry(width() - side - rightWidth, 0, rightWidth, height);
    }
    // The title stays centred between whichever buttons are shown.
    const int backWidth = m_backButton->isHidden() ? 0 : back.width();
    int reserve = std::max(backWidth, rightWidth) + side * 2;
    m_titleLabel->setGeometry(reserve, 0, std::max(0, width() - reserve * 2), height);
}

void NavigationBar::resizeEvent(QResizeEvent*)
{
    layOut();
}

void NavigationBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height);
    gradient.setColorAt(0, QColor(52, 52, 62, 235));
    gradient.setColorAt(1, QColor(18, 18, 24, 235));
    painter.fillRect(rect(), gradient);
    painter.setPen(QColor(0, 0, 0, 120));
    painter.drawLine(0, height - 1, width(), height - 1);
}

}
