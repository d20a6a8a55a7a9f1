#include "platform/media/PhotoAlbum.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"
#include "platform/system/DispatchQueue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::PhotoAlbum;

namespace {

class PhotoAlbumTest : public testing::Test {
protected:
    void SetUp() override { qputenv("PINTARO_ALBUM", m_album.path().toUtf8()); }
    void TearDown() override { qunsetenv("PINTARO_ALBUM"); }

    static int filesIn(const QString& directory) { return int(QDir(directory).entryList(QDir::Files | QDir::Hidden).size()); }

    static QByteArray contents(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(m_scratch.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    QString writeMovie(const QString& name, int frames)
    {
        platform::VideoWriter writer(m_scratch.filePath(name), 32, 32, 24);
        auto frame = platform::PixelBuffer::create(32, 32);
        EXPECT_TRUE(writer.start());
        for (int k = 0; k < frames; ++k)
            EXPECT_TRUE(writer.append(*frame, k));
        EXPECT_TRUE(writer.finish());
        return m_scratch.filePath(name);
    }

    QTemporaryDir m_album;
    QTemporaryDir m_scratch;
};

TEST_F(PhotoAlbumTest, OnlyWholeH264MoviesAreCopiedInEachUnderANameOfItsOwn)
{
    const QString first = writeMovie("first.mp4", 2), second = writeMovie("second.mp4", 4);
    EXPECT_TRUE(PhotoAlbum::isVideoCompatible(first));
    for (const QString& bad : { write("head.mp4", contents(first).left(64)), write("text.mp4", "not a movie"), m_scratch.filePath("missing.mp4") }) {
        EXPECT_FALSE(PhotoAlbum::isVideoCompatible(bad)) << qPrintable(bad);
        EXPECT_FALSE(PhotoAlbum::saveVideo(bad)) << qPrintable(bad);
    }
    EXPECT_EQ(filesIn(PhotoAlbum::videosDirectory()), 0);

    const auto savedFirst = PhotoAlbum::saveVideo(first), savedSecond = PhotoAlbum::saveVideo(second), savedAgain = PhotoAlbum::saveVideo(first);
    ASSERT_TRUE(savedFirst && savedSecond && savedAgain);
    EXPECT_NE(*savedFirst, *savedAgain);
    EXPECT_EQ(contents(*savedFirst), contents(first));
    EXPECT_EQ(contents(*savedSecond), contents(second));
    EXPECT_EQ(contents(*savedAgain), contents(first));
    EXPECT_EQ(filesIn(PhotoAlbum::videosDirectory()), 3); // and no temporary file beside them
}

TEST_F(PhotoAlbumTest, PicturesAreSavedAsPngAndReportedOnTheMainThreadOnceWritten)
{
    QImage red(20, 10, QImage::Format_ARGB32);
    red.fill(qRgb(255, 0, 0));
    const auto saved = PhotoAlbum::saveImage(red);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(saved->endsWith(".png"));
    EXPECT_EQ(QImage(*saved).pixel(3, 3), qRgb(255, 0, 0));

    struct Report {
        int calls { 0 };
        bool saved { false };
        bool onMainThread { false };
        int filesThen { 0 };
    } good, bad;
    auto reporter = [](Report& report) {
        return [&report](bool saved) {
            report = { report.calls + 1, saved, platform::DispatchQueue::isMainThread(), filesIn(PhotoAlbum::picturesDirectory()) };
        };
    };
    PhotoAlbum::writeImage(red, reporter(good));
    PhotoAlbum::writeImage(QImage(), reporter(bad));
    ASSERT_TRUE(platform::DispatchQueue::global().waitUntilIdle());
    ASSERT_TRUE(platform::DispatchQueue::mainQueue().waitUntilIdle());
    EXPECT_EQ(good.calls, 1);
    EXPECT_TRUE(good.saved && good.onMainThread);
    EXPECT_EQ(good.filesThen, 2); // written before the report, beside the first
    EXPECT_EQ(bad.calls, 1);
    EXPECT_FALSE(bad.saved);
    EXPECT_TRUE(bad.onMainThread);
}

}
