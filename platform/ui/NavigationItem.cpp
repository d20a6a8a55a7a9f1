#include "platform/ui/NavigationItem.h"

namespace platform::ui {

void NavigationItem::setRightBarButton(BarButton* button)
{
    m_rightBarButton = button;
    emit changed();
}

void NavigationItem::setHidesBackButton(bool hides)
{
    m_hidesBackButton = hides;
    emit changed();
}

}
