#include "platform/media/PhotoAlbum.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"
#include "platform/system/DispatchQueue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::PhotoAlbum;

namespace {

class PhotoAlbumTest : public testing::Test {
protected:
    void SetUp() override { qputenv("PINTARO_ALBUM", m_album.path().toUtf8()); }
    void TearDown() override { qunsetenv("PINTARO_ALBUM"); }

    static QStringList filesIn(const QString& directory)
    {
        return QDir(directory).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QString writeMovie(const QString& name, int frames)
    {
        const QString path = m_scratch.filePath(name);
        platform::VideoWriter writer(path, 32, 32, 24);
        auto frame = platform::PixelBuffer::create(32, 32);
        EXPECT_TRUE(writer.start());
        for (int k = 0; k < frames; ++k)
            EXPECT_TRUE(writer.append(*frame, k));
        EXPECT_TRUE(writer.finish());
        return path;
    }

    QString writeBytes(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_scratch.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static QImage picture(QRgb colour)
    {
        QImage image(20, 10, QImage::Format_ARGB32);
        image.fill(colour);
        return image;
    }

    QTemporaryDir m_album;
    QTemporaryDir m_scratch;
};

TEST_F(PhotoAlbumTest, FoldersArePintaroSubfoldersOfPicturesAndVideos)
{
    EXPECT_EQ(PhotoAlbum::picturesDirectory(), m_album.path() + "/Pictures/Pintaro");
    EXPECT_EQ(PhotoAlbum::videosDirectory(), m_album.path() + "/Videos/Pintaro");
    qunsetenv("PINTARO_ALBUM");
    EXPECT_EQ(PhotoAlbum::picturesDirectory(), QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + "/Pintaro");
    EXPECT_EQ(PhotoAlbum::videosDirectory(), QStandardPaths::writableLocation(QStandardPaths::MoviesLocation) + "/Pintaro");
}

TEST_F(PhotoAlbumTest, OnlyFilesHoldingH264VideoAreCompatible)
{
    const QString movie = writeMovie("movie.mp4", 3);
    EXPECT_TRUE(PhotoAlbum::isVideoCompatible(movie));

    QFile file(movie);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(PhotoAlbum::isVideoCompatible(writeBytes("head.mp4", bytes.left(64))));
    EXPECT_FALSE(PhotoAlbum::isVideoCompatible(writeBytes("text.mp4", "not a movie at all")));
    EXPECT_FALSE(PhotoAlbum::isVideoCompatible(writeBytes("empty.mp4", {})));
    EXPECT_FALSE(PhotoAlbum::isVideoCompatible(m_scratch.filePath("missing.mp4")));
    const QString image = m_scratch.filePath("still.png");
    ASSERT_TRUE(picture(qRgb(1, 2, 3)).save(image));
    EXPECT_FALSE(PhotoAlbum::isVideoCompatible(image));
}

TEST_F(PhotoAlbumTest, SavedMoviesArriveWholeAndNeverOverwriteEachOther)
{
    const QString first = writeMovie("first.mp4", 2);
    const QString second = writeMovie("second.mp4", 4);
    const auto savedFirst = PhotoAlbum::saveVideo(first);
    const auto savedSecond = PhotoAlbum::saveVideo(second);
    const auto savedAgain = PhotoAlbum::saveVideo(first);
    ASSERT_TRUE(savedFirst && savedSecond && savedAgain);
    EXPECT_NE(*savedFirst, *savedSecond);
    EXPECT_NE(*savedFirst, *savedAgain);
    EXPECT_NE(*savedSecond, *savedAgain);

    auto contents = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    EXPECT_EQ(contents(*savedFirst), contents(first));
    EXPECT_EQ(contents(*savedSecond), contents(second));
    EXPECT_EQ(contents(*savedAgain), contents(first));
    // Nothing else, and no temporary file, is left beside them.
    EXPECT_EQ(filesIn(PhotoAlbum::videosDirectory()).size(), 3);
}

TEST_F(PhotoAlbumTest, AnIncompatibleMovieLeavesTheAlbumUntouched)
{
    EXPECT_FALSE(PhotoAlbum::saveVideo(writeBytes("broken.mp4", "garbage")));
    EXPECT_FALSE(PhotoAlbum::saveVideo(m_scratch.filePath("missing.mp4")));
    EXPECT_TRUE(filesIn(PhotoAlbum::videosDirectory()).isEmpty());
}

TEST_F(PhotoAlbumTest, PicturesAreSavedAsPngUnderNamesOfTheirOwn)
{
    const auto red = PhotoAlbum::saveImage(picture(qRgb(255, 0, 0)));
    const auto blue = PhotoAlbum::saveImage(picture(qRgb(0, 0, 255)));
    ASSERT_TRUE(red && blue);
    EXPECT_NE(*red, *blue);
    EXPECT_TRUE(red->endsWith(".png"));
    EXPECT_EQ(QImage(*red).pixel(3, 3), qRgb(255, 0, 0));
    EXPECT_EQ(QImage(*blue).pixel(3, 3), qRgb(0, 0, 255));
    EXPECT_EQ(filesIn(PhotoAlbum::picturesDirectory()).size(), 2);
    EXPECT_FALSE(PhotoAlbum::saveImage(QImage()));
}

TEST_F(PhotoAlbumTest, WritingAPictureReportsOnTheMainThreadOnceItIsSaved)
{
    struct Report {
        int calls { 0 };
        bool saved { false };
        bool onMainThread { false };
        int filesThen { 0 };
    };
    Report good, bad;
    const QString directory = PhotoAlbum::picturesDirectory();
    auto reporter = [&directory](Report& report) {
        return [&report, &directory](bool saved) {
            ++report.calls;
            report.saved = saved;
            report.onMainThread = platform::DispatchQueue::isMainThread();
            report.filesThen = int(filesIn(directory).size());
        };
    };
    PhotoAlbum::writeImage(picture(qRgb(0, 255, 0)), reporter(good));
    PhotoAlbum::writeImage(QImage(), reporter(bad));
    ASSERT_TRUE(platform::DispatchQueue::global().waitUntilIdle());
    ASSERT_TRUE(platform::DispatchQueue::mainQueue().waitUntilIdle());

    EXPECT_EQ(good.calls, 1);
    EXPECT_TRUE(good.saved);
    EXPECT_TRUE(good.onMainThread);
    EXPECT_EQ(good.filesThen, 1);
    EXPECT_EQ(bad.calls, 1);
    EXPECT_FALSE(bad.saved);
    EXPECT_TRUE(bad.onMainThread);
}

}
