// Renders every screen and state that the subsystems register into PNGs, on
// every device profile.
//   screens [output folder] [name filter]
#include "ScreenShots.h"

#include "platform/system/Device.h"
#include "platform/ui/Animation.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <cstdio>
#include <optional>

ScreenShotSet::ScreenShotSet(const char* name, ScreenShotFunction function)
{
    all().push_back({ QString::fromUtf8(name), std::move(function) });
}

std::vector<ScreenShotSet::Entry>& ScreenShotSet::all()
{
    static std::vector<Entry> sets;
    return sets;
}

QString saveWidget(QWidget& widget, const ScreenShotContext& context, const QString& name)
{
    QString path = QDir(context.outputFolder).filePath(context.deviceName + "-" + name + ".png");
    if (!widget.grab().save(path))
        return {};
    return path;
}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    // Every screen is shown in its final state, not halfway through a slide.
    platform::ui::setAnimationsEnabled(false);
    QString output = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::current().filePath("screens");
    QString filter = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(output);

    int failures = 0;
    for (const char* device : { "tablet", "phone", "retina-phone" }) {
        for (const auto& set : ScreenShotSet::all()) {
            if (!filter.isEmpty() && !set.name.contains(filter))
                continue;
            std::optional<platform::DeviceProfile> profile = platform::DeviceProfile::named(device);
            if (!profile)
                continue;
            platform::ScopedDeviceProfile scoped(*profile);
            QTemporaryDir documents;
            qputenv("PINTARO_DOCUMENTS", documents.filePath("Documents").toLocal8Bit());
            qputenv("PINTARO_ALBUM", documents.filePath("Album").toLocal8Bit());
            ScreenShotContext context { output, QString::fromUtf8(device), documents.path() };
            QStringList paths = set.function(context);
            for (const QString& path : paths) {
                if (path.isEmpty())
                    ++failures;
                else
                    std::printf("%s\n", qPrintable(path));
            }
        }
    }
    return failures == 0 ? 0 : 1;
}
