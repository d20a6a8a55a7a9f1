// Pintaro: a finger-painting program for young children.
//   pintaro [--device tablet|phone|retina-phone]
#include "Classes/editor/PintaroAppDelegate.h"
#include "Classes/model/PaintingManager.h"
#include "platform/system/Device.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pintaro"));

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("A finger-painting program for young children."));
    options.addHelpOption();
    QCommandLineOption device(QStringLiteral("device"), QStringLiteral("The screen to paint on: tablet, phone or retina-phone."),
        QStringLiteral("profile"), QStringLiteral("tablet"));
    options.addOption(device);
    options.process(application);

    std::optional<platform::DeviceProfile> profile = platform::DeviceProfile::named(options.value(device).toStdString());
    if (!profile) {
        std::fprintf(stderr, "pintaro: unknown device \"%s\" (tablet, phone or retina-phone)\n", qPrintable(options.value(device)));
        return 2;
    }
    platform::Device::setCurrent(*profile);

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
