// Pintaro: a finger-painting program for young children.
//   pintaro [--device tablet|phone|retina-phone] [--lang CODE] [--help] [--version]
#include "Classes/editor/CommandLine.h"
#include "Classes/editor/PintaroAppDelegate.h"
#include "Classes/model/PaintingManager.h"
#include "platform/system/Device.h"
#include "platform/ui/DesktopIdentity.h"
#include "platform/ui/Translation.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv)
{
    const CommandLine commandLine = CommandLine::parse(argc, argv);
    if (commandLine.action() != CommandLine::Action::Run)
        return commandLine.finish(argc, argv);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pintaro"));
    platform::ui::identifyToDesktop();
    platform::ui::installTranslation(commandLine.language());
    platform::Device::setCurrent(commandLine.device());

    // Files left by saves that were cut short go before any screen reads the
    // list of paintings or saves one.
    PaintingManager::removeOrphanFiles();

    QSize available(4096, 4096);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        // Leave room for the window's frame and the desktop's panels.
        available = screen->availableGeometry().size() - QSize(16, 48);
    }
    PintaroAppDelegate delegate;
    delegate.applicationDidFinishLaunching(available);
    return application.exec();
}
