#include "platform/media/PhotoAlbum.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

using platform::PhotoAlbum;

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}

// The album takes only complete H.264 movies, each as a whole copy of its own.
TEST(PhotoAlbum, TakesWholeH264MoviesOnlyAndNeverOverwritesOne)
{
    QTemporaryDir album, scratch;
    qputenv("PINTARO_ALBUM", album.path().toUtf8());
    const QString movie = scratch.filePath("movie.mp4"), bad = scratch.filePath("bad.mp4");
    platform::VideoWriter writer(movie, 32, 32, 24);
    ASSERT_TRUE(writer.start() && writer.append(*platform::PixelBuffer::create(32, 32), 0) && writer.finish());
    EXPECT_TRUE(PhotoAlbum::isVideoCompatible(movie));
    for (const QByteArray& bytes : { contents(movie).left(64), QByteArray("not a movie"), QByteArray() }) {
        QFile file(bad);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        EXPECT_FALSE(PhotoAlbum::isVideoCompatible(bad) || PhotoAlbum::saveVideo(bad)) << bytes.size();
    }
    EXPECT_FALSE(PhotoAlbum::saveVideo(scratch.filePath("missing.mp4")));

    const auto first = PhotoAlbum::saveVideo(movie), second = PhotoAlbum::saveVideo(movie);
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(contents(*second), contents(movie));
    // Nothing from the refusals and no temporary file beside the two copies.
    EXPECT_EQ(QDir(PhotoAlbum::videosDirectory()).entryList(QDir::Files | QDir::Hidden).size(), 2);
    qunsetenv("PINTARO_ALBUM");
}

// A copy killed before it was whole leaves its hidden temporary file; the
// next start removes it, but never one that a living copy is still writing.
TEST(PhotoAlbum, LeftoverCopiesOfKilledWritersGoAndCopiesBeingWrittenStay)
{
    QTemporaryDir album;
    qputenv("PINTARO_ALBUM", album.path().toUtf8());
    const QString videos = PhotoAlbum::videosDirectory(), pictures = PhotoAlbum::picturesDirectory();
    ASSERT_TRUE(QDir().mkpath(videos) && QDir().mkpath(pictures));
    const QStringList kept { videos + "/.Pintaro-alive1.mp4.part", videos + "/Pintaro 2013-03-03 10.11.12.mp4",
        pictures + "/holiday.png" };
    const QStringList gone { videos + "/.Pintaro-dead01.mp4.part", pictures + "/.Pintaro-dead02.png.part" };
    for (const QString& path : kept + gone) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("movie") == 5);
    }
    // A writer holds its temporary file locked for as long as it writes.
    const int writer = ::open(QFile::encodeName(kept.front()).constData(), O_RDWR);
    ASSERT_TRUE(writer >= 0 && ::flock(writer, LOCK_EX) == 0);

    EXPECT_EQ(PhotoAlbum::removeLeftoverCopies(), 2);
    for (const QString& path : kept)
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
    for (const QString& path : gone)
        EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    ::close(writer);
    // The writer gone, its file is a leftover too.
    EXPECT_EQ(PhotoAlbum::removeLeftoverCopies(), 1);
    qunsetenv("PINTARO_ALBUM");
}
