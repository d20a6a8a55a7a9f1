#include "platform/system/FileLocations.h"

#include <QDir>
#include <QStandardPaths>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::unique_ptr<QFile> FileLocations::openRegularFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    // Non-blocking, so that opening a pipe with no writer returns at once;
    // what was opened is then looked at, not what the name said before.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

bool FileLocations::isRegularFile(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

}
