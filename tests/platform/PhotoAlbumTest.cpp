#include "platform/media/PhotoAlbum.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"
#include "platform/system/DispatchQueue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <tuple>

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

// The movie the encoder makes goes in whole; these are the ones it must not take.
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

TEST(PhotoAlbum, WrittenPicturesAreReportedOnTheMainThreadOnceSaved)
{
    QTemporaryDir album;
    qputenv("PINTARO_ALBUM", album.path().toUtf8());
    QImage red(20, 10, QImage::Format_ARGB32);
    red.fill(qRgb(255, 0, 0));
    // Per picture: saved, on the main thread, and the pictures in the album then.
    std::map<int, std::tuple<bool, bool, QStringList>> reports;
    for (int i : { 0, 1 }) {
        PhotoAlbum::writeImage(i == 0 ? red : QImage(), [&reports, i](bool saved) {
            reports[i] = { saved, platform::DispatchQueue::isMainThread(), QDir(PhotoAlbum::picturesDirectory()).entryList(QDir::Files) };
        });
    }
    ASSERT_TRUE(platform::DispatchQueue::global().waitUntilIdle());
    ASSERT_TRUE(platform::DispatchQueue::mainQueue().waitUntilIdle());
    ASSERT_EQ(reports.size(), 2u);
    const auto& [saved, onMainThread, files] = reports[0];
    EXPECT_TRUE(saved && onMainThread);
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].endsWith(".png"));
    EXPECT_EQ(QImage(PhotoAlbum::picturesDirectory() + '/' + files[0]).pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_FALSE(std::get<0>(reports[1]));
    EXPECT_TRUE(std::get<1>(reports[1]));
    qunsetenv("PINTARO_ALBUM");
}
