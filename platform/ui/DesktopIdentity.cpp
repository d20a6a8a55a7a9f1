#include "platform/ui/DesktopIdentity.h"

#include <QGuiApplication>
#include <QIcon>

#ifndef PINTARO_APP_ID
#define PINTARO_APP_ID "pintaro"
#endif

namespace platform::ui {

void identifyToDesktop()
{
    QGuiApplication::setDesktopFileName(QStringLiteral(PINTARO_APP_ID));
    // The icon theme's copy when the program is installed, else the one bundled.
    QIcon icon = QIcon::fromTheme(QStringLiteral(PINTARO_APP_ID), QIcon(QStringLiteral(":/app-icon/" PINTARO_APP_ID ".svg")));
    QGuiApplication::setWindowIcon(icon);
}

}
