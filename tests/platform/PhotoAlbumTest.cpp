#include "platform/media/PhotoAlbum.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::PhotoAlbum;

namespace {

int filesIn(const QString& directory)
{
    return int(QDir(directory).entryList(QDir::Files | QDir::Hidden).size());
}

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
    const QString movie = scratch.filePath("movie.mp4");
    platform::VideoWriter writer(movie, 32, 32, 24);
    ASSERT_TRUE(writer.start() && writer.append(*platform::PixelBuffer::create(32, 32), 0) && writer.finish());
    EXPECT_TRUE(PhotoAlbum::isVideoCompatible(movie));
    for (const QByteArray& bytes : { contents(movie).left(64), QByteArray("not a movie"), QByteArray() }) {
        QFile bad(scratch.filePath("bad.mp4"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write(bytes) == bytes.size());
        bad.close();
        EXPECT_FALSE(PhotoAlbum::isVideoCompatible(bad.fileName())) << bytes.size();
        EXPECT_FALSE(PhotoAlbum::saveVideo(bad.fileName())) << bytes.size();
    }
    EXPECT_FALSE(PhotoAlbum::saveVideo(scratch.filePath("missing.mp4")));
    EXPECT_EQ(filesIn(PhotoAlbum::videosDirectory()), 0);

    const auto first = PhotoAlbum::saveVideo(movie), second = PhotoAlbum::saveVideo(movie);
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(contents(*second), contents(movie));
    EXPECT_EQ(filesIn(PhotoAlbum::videosDirectory()), 2); // and no temporary file beside them
    qunsetenv("PINTARO_ALBUM");
}
