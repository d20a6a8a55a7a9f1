#pragma once

#include "platform/ui/BarButton.h"

#include <QPointer>
#include <QWidget>

class QLabel;

namespace platform::ui {



// The bar at the top of the navigation stack: the back button (titled after
// the screen below), the top screen's title and its right button.
class NavigationBar final : public QWidget {
    Q_OBJECT
public:
    static constexpr int height = 44;

    explicit NavigationBar(QWidget* parent = nullptr);
    ~NavigationBar() override;

    BarButton* backButton() const { return m_backButton; }
    QString title() const;

    // `rightButton` is borrowed from the screen that owns it and handed back
    // to that screen when another takes its place.
    void show(const QString& title, const QString& backTitle, bool showsBack, BarButton* rightButton);

signals:
    void backClicked();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void layOut();
    void giveBackRightButton();

    BarButton* m_backButton { nullptr };
    QLabel* m_titleLabel { nullptr };
    QPointer<BarButton> m_rightButton;
    QPointer<QWidget> m_rightButtonOwner;
};

}
