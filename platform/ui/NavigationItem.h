#pragma once

#include "platform/ui/BarButton.h"

#include <QObject>
#include <QPointer>

namespace platform::ui {



// What a screen shows in the navigation bar while it is on top: its right
// button and whether the back button is shown. The title is the screen's own.
class NavigationItem final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The button stays owned by the screen that sets it; the bar only shows it.
    BarButton* rightBarButton() const { return m_rightBarButton; }
    void setRightBarButton(BarButton* button);

    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides);

signals:
    void changed();

private:
    QPointer<BarButton> m_rightBarButton;
    bool m_hidesBackButton { false };
};

}
