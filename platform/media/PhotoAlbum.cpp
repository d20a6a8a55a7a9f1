#include "platform/media/PhotoAlbum.h"

#include "platform/system/DispatchQueue.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

extern "C" {
#include <libavformat/avformat.h>
}

namespace platform {

namespace {

// A name that a file being written into the album carries until it is whole;
// the leading dot keeps it out of file browsers meanwhile.
QString temporaryTemplate(const QString& directory, const QString& suffix)
{
    return directory + QStringLiteral("/.Pintaro-XXXXXX.") + suffix + QStringLiteral(".part");
}

// Marks the temporary file as being written for as long as it is open: the
// lock goes with the file's descriptor, or with the process if it dies.
bool lockWhileWriting(QTemporaryFile& file)
{
    return ::flock(file.handle(), LOCK_EX | LOCK_NB) == 0;
}

bool copyWhole(const QString& from, QFile& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    constexpr qint64 chunk = 1 << 20;
    while (!source.atEnd()) {
        const QByteArray data = source.read(chunk);
        if (data.isEmpty() && source.error() != QFileDevice::NoError)
            return false;
        if (to.write(data) != data.size())
            return false;
    }
    return to.flush();
}

}

QString PhotoAlbum::picturesDirectory()
{
    return albumDirectory(true);
}

QString PhotoAlbum::videosDirectory()
{
    return albumDirectory(false);
}

QString PhotoAlbum::albumDirectory(bool pictures)
{
    QString base = qEnvironmentVariable("PINTARO_ALBUM");
    QString folder;
    if (!base.isEmpty()) {
        folder = base + (pictures ? QStringLiteral("/Pictures") : QStringLiteral("/Videos"));
    } else {
        folder = QStandardPaths::writableLocation(pictures ? QStandardPaths::PicturesLocation : QStandardPaths::MoviesLocation);
        if (folder.isEmpty())
            return {};
    }
    return QDir::cleanPath(QDir(folder).absolutePath() + QStringLiteral("/Pintaro"));
}

bool PhotoAlbum::isVideoCompatible(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, name.constData(), nullptr, nullptr) < 0)
        return false;
    // Containers with a header name their codecs on opening; probing the
    // packets is needed only for bare streams, and an empty movie has none,
    // so a failed probe alone does not make a movie incompatible.
    avformat_find_stream_info(format, nullptr);
    bool compatible = false;
    for (unsigned i = 0; i < format->nb_streams; ++i) {
        const AVCodecParameters* parameters = format->streams[i]->codecpar;
        if (parameters->codec_type == AVMEDIA_TYPE_VIDEO && parameters->codec_id == AV_CODEC_ID_H264)
            compatible = true;
    }
    avformat_close_input(&format);
    return compatible;
}

std::optional<QString> PhotoAlbum::saveVideo(const QString& path)
{
    if (!isVideoCompatible(path))
        return std::nullopt;
    const QString directory = videosDirectory();
    if (directory.isEmpty() || !QDir().mkpath(directory))
        return std::nullopt;
    removeLeftoverCopiesOnce();
    QTemporaryFile copy(temporaryTemplate(directory, QStringLiteral("mp4")));
    if (!copy.open() || !lockWhileWriting(copy) || !copyWhole(path, copy))
        return std::nullopt;
    copy.close();
    std::optional<QString> saved = publish(copy.fileName(), directory, QStringLiteral("mp4"));
    // Published or not, the temporary name must not stay behind.
    if (saved)
        copy.setAutoRemove(false);
    return saved;
}

std::optional<QString> PhotoAlbum::saveImage(const QImage& image)
{
    if (image.isNull())
        return std::nullopt;
    const QString directory = picturesDirectory();
    if (directory.isEmpty() || !QDir().mkpath(directory))
        return std::nullopt;
    removeLeftoverCopiesOnce();
    QTemporaryFile file(temporaryTemplate(directory, QStringLiteral("png")));
    if (!file.open() || !lockWhileWriting(file) || !image.save(&file, "PNG") || !file.flush())
        return std::nullopt;
    file.close();
    std::optional<QString> saved = publish(file.fileName(), directory, QStringLiteral("png"));
    if (saved)
        file.setAutoRemove(false);
    return saved;
}

int PhotoAlbum::removeLeftoverCopies()
{
    int removed = 0;
    for (const QString& directory : { picturesDirectory(), videosDirectory() }) {
        if (directory.isEmpty())
            continue;
        QDir folder(directory);
        const QStringList parts = folder.entryList({ QStringLiteral(".Pintaro-*.part") }, QDir::Files | QDir::Hidden);
        for (const QString& part : parts) {
            const QByteArray path = QFile::encodeName(folder.filePath(part));
            const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
            if (fd < 0)
                continue;
            struct stat info {};
            // Locked means a copy is still being written; the lock is kept
            // while the file goes, so that no new copy can take its name meanwhile.
            if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
                && folder.remove(part))
                ++removed;
            ::close(fd);
        }
    }
    return removed;
}

void PhotoAlbum::removeLeftoverCopiesOnce()
{
    static std::once_flag cleaned;
    std::call_once(cleaned, [] { removeLeftoverCopies(); });
}

void PhotoAlbum::writeImage(const QImage& image, std::function<void(bool saved)> completion)
{
    DispatchQueue::global().async([image, completion = std::move(completion)]() mutable {
        const bool saved = saveImage(image).has_value();
        if (completion)
            DispatchQueue::mainQueue().async([saved, completion = std::move(completion)] { completion(saved); });
    });
}

std::optional<QString> PhotoAlbum::publish(const QString& temporaryPath, const QString& directory, const QString& suffix)
{
    const QString stem = QStringLiteral("Pintaro ") + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh.mm.ss"));
    // Rename never replaces an existing file, so two saves racing for one
    // name both end up with a name of their own.
    for (int attempt = 1; attempt <= 1000; ++attempt) {
        const QString name = attempt == 1 ? stem : stem + QStringLiteral(" (%1)").arg(attempt);
        const QString target = directory + QLatin1Char('/') + name + QLatin1Char('.') + suffix;
        if (QFile::exists(target))
            continue;
        if (QFile::rename(temporaryPath, target))
            return target;
    }
    return std::nullopt;
}

}
