#pragma once

#include <QFile>
#include <QString>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

// Makes the file impossible to delete, even for root, for the life of a scope.
struct ScopedImmutableFile {
    explicit ScopedImmutableFile(const QString& path)
        : fd(::open(QFile::encodeName(path).constData(), O_RDONLY))
    {
        int flags = 0;
        held = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
            && (flags |= FS_IMMUTABLE_FL, ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
    }
    ~ScopedImmutableFile()
    {
        int flags = 0;
        if (held && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0)
            ::close(fd);
    }
    int fd;
    bool held = false;
};
