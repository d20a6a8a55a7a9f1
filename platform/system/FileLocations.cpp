#include "platform/system/FileLocations.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {

QString FileLocations::documentsDirectory()
{
    QString path = qEnvironmentVariable("PINTARO_DOCUMENTS");
    if (path.isEmpty()) {
        // The generic location keeps the folder the same whatever the
        // executable is called (the tests and tools run under other names).
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (data.isEmpty())
            return {};
        path = data + QStringLiteral("/Pintaro/Documents");
    }
    path = QDir::cleanPath(QDir(path).absolutePath());
    if (!QDir().mkpath(path))
        return {};
    return path;
}

QString FileLocations::documentPath(const QString& name)
{
    const QString directory = documentsDirectory();
    if (directory.isEmpty())
        return {};
    return directory + QLatin1Char('/') + name;
}

}
