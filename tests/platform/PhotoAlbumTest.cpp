#include "platform/media/PhotoAlbum.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
