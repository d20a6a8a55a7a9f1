#include "Classes/model/PaintingManager.h"
#include "PaintingFileTestSupport.h"
#include "platform/system/Device.h"
#include "platform/system/DispatchQueue.h"

#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

using platform::DeviceProfile;
using platform::ScopedDeviceProfile;

namespace {

QDateTime march3At101112() { return QDateTime(QDate(2013, 3, 3), QTime(10, 11, 12)); }

// Stands in for the editor: counts completions and notes where they ran.
struct Receiver {
    int calls { 0 };
    bool onMainThread { true };
    std::shared_ptr<PaintingItem> item;
    void paintingSaved(std::shared_ptr<PaintingItem> saved)
    {
        ++calls;
        onMainThread = onMainThread && platform::DispatchQueue::isMainThread();
        item = std::move(saved);
    }
};

void setModificationTime(const QString& path, const QDateTime& time)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

void touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

void drainSaves()
{
    ASSERT_TRUE(platform::DispatchQueue::global().waitUntilIdle());
    ASSERT_TRUE(platform::DispatchQueue::mainQueue().waitUntilIdle());
}

}

TEST(PaintingList, OrderFollowsStrokeFileDatesNotNamesAndNeedsAStrokeFile)
{
    ScopedDocuments documents;
    ASSERT_TRUE(getPaintingDirectoryPath());
    touch(documents.file("2012-05-01-10-00-00.stk"));
    touch(documents.file("2012-04-30-09-00-00.stk"));
    touch(documents.file("2011-01-01-00-00-00_thumb.png"));
    touch(documents.file("2011-01-01-00-00-00.png"));
    setModificationTime(documents.file("2012-05-01-10-00-00.stk"), QDateTime(QDate(2012, 5, 1), QTime(10, 0)));
    setModificationTime(documents.file("2012-04-30-09-00-00.stk"), QDateTime(QDate(2012, 6, 1), QTime(9, 0)));

    PaintingManager manager;
    manager.initPaintingManager();
    ASSERT_EQ(manager.paintingList().size(), 2u);
    EXPECT_EQ(manager.paintingList()[0]->paintingName(), "2012-05-01-10-00-00");
    EXPECT_EQ(manager.paintingList()[1]->paintingName(), "2012-04-30-09-00-00");
    EXPECT_EQ(manager.paintingList()[0]->modificationDate(), QDateTime(QDate(2012, 5, 1), QTime(10, 0)));
    EXPECT_FALSE(manager.paintingList()[0]->isModified());
    EXPECT_EQ(manager.createdPaintingNumber(), 0u);
}

TEST(PaintingList, SaveNamesAfterTheClockCountsAndCompletesOnceOnTheMainThread)
{
    ScopedDocuments documents;
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    ASSERT_TRUE(getPaintingDirectoryPath());
    ASSERT_TRUE(storeGlobalUniqueImageIndex(41));
    PaintingManager manager;
    manager.setClock(march3At101112);
    auto painting = makeSamplePainting();
    Receiver receiver;

    manager.savePainting(*painting, nullptr, &receiver, &Receiver::paintingSaved);
    ASSERT_TRUE(processEventsUntil([&] { return receiver.calls > 0; }));
    drainSaves();

    EXPECT_EQ(receiver.calls, 1);
    EXPECT_TRUE(receiver.onMainThread);
    ASSERT_TRUE(receiver.item);
    EXPECT_EQ(receiver.item->paintingName(), "2013-03-03-10-11-12");
    EXPECT_FALSE(receiver.item->modificationDate());
    EXPECT_TRUE(receiver.item->thumbnailImage());
    EXPECT_TRUE(receiver.item->fullSizeImage());
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 42u);
    EXPECT_EQ(manager.createdPaintingNumber(), 42u);
    ASSERT_EQ(manager.paintingList().size(), 1u);
    EXPECT_EQ(manager.paintingList().front(), receiver.item);
    EXPECT_TRUE(QFile::exists(documents.file("2013-03-03-10-11-12.stk")));
    EXPECT_TRUE(QFile::exists(documents.file("2013-03-03-10-11-12_thumb.png")));
    ASSERT_TRUE(painting->thumbnailImage());
    EXPECT_EQ(painting->thumbnailImage()->size(), manager.thumbnailSize());

    // A painting that already has an entry is saved again under a new name,
    // in the same second "-2", and the list waits for its next rebuild.
    manager.savePainting(*painting, receiver.item.get(), &receiver, &Receiver::paintingSaved);
    ASSERT_TRUE(processEventsUntil([&] { return receiver.calls > 1; }));
    ASSERT_TRUE(receiver.item);
    EXPECT_EQ(receiver.item->paintingName(), "2013-03-03-10-11-12-2");
    EXPECT_EQ(manager.paintingList().size(), 1u);
    EXPECT_TRUE(QFile::exists(documents.file("2013-03-03-10-11-12.stk")));
    manager.initPaintingManager();
    EXPECT_EQ(manager.paintingList().size(), 2u);
}

TEST(PaintingList, ATargetWithoutSelectorOrASelectorWithoutTargetIsNotCalled)
{
    ScopedDocuments documents;
    PaintingManager manager;
    auto painting = makeSamplePainting();
    Receiver receiver;
    manager.savePainting<Receiver>(*painting, nullptr, &receiver, nullptr);
    manager.savePainting(*painting, nullptr, static_cast<Receiver*>(nullptr), &Receiver::paintingSaved);
    drainSaves();
    EXPECT_EQ(receiver.calls, 0);
    // The saves themselves happened.
    EXPECT_EQ(manager.paintingList().size(), 2u);
}

TEST(PaintingList, HundredSavesInOneSecondGiveHundredPaintings)
{
    ScopedDocuments documents;
    PaintingManager manager;
    manager.setClock(march3At101112);
    auto painting = makePainting(64, 64);
    drawStroke(*painting, 13, { { 5, 5 }, { 40, 40 } });
    painting->setPaintingImage(painting->getPaintingImage());
    int completions = 0;
    std::set<QString> names;
    for (int i = 0; i < 100; ++i)
        manager.savePainting(*painting, nullptr, [&](std::shared_ptr<PaintingItem> item) {
            ++completions;
            if (item)
                names.insert(item->paintingName());
        });
    ASSERT_TRUE(processEventsUntil([&] { return completions == 100; }));
    EXPECT_EQ(names.size(), 100u);
    EXPECT_TRUE(names.count("2013-03-03-10-11-12"));
    EXPECT_TRUE(names.count("2013-03-03-10-11-12-100"));
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 100u);

    PaintingManager rebuilt;
    rebuilt.initPaintingManager();
    ASSERT_EQ(rebuilt.paintingList().size(), 100u);
    for (const auto& item : rebuilt.paintingList())
        EXPECT_TRUE(Painting::initWithContentsOfFile(item->paintingName())) << item->paintingName().toStdString();
}

TEST(PaintingList, ThumbnailIsReadOnceUntilMarkedModified)
{
    ScopedDocuments documents;
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    ASSERT_TRUE(getPaintingDirectoryPath());
    QImage first(8, 8, QImage::Format_ARGB32);
    first.fill(Qt::red);
    ASSERT_TRUE(storeImage(platform::Image(first), documents.file("p_thumb.png")));
    PaintingItem item;
    item.setPaintingName("p");
    item.loadThumbnail();
    ASSERT_TRUE(item.thumbnailImage());
    EXPECT_EQ(item.thumbnailImage()->qimage().pixel(0, 0), qRgb(255, 0, 0));

    QImage second(8, 8, QImage::Format_ARGB32);
    second.fill(Qt::green);
    ASSERT_TRUE(storeImage(platform::Image(second), documents.file("p_thumb.png")));
    item.loadThumbnail();
    EXPECT_EQ(item.thumbnailImage()->qimage().pixel(0, 0), qRgb(255, 0, 0));

    item.setIsModified(true);
    item.loadThumbnail();
    EXPECT_EQ(item.thumbnailImage()->qimage().pixel(0, 0), qRgb(0, 255, 0));
    EXPECT_FALSE(item.isModified());

    // A missing picture stays empty and is looked for again next time.
    PaintingItem other;
    other.setPaintingName("q");
    other.loadFullSizeImage();
    EXPECT_FALSE(other.fullSizeImage());
    ASSERT_TRUE(storeImage(platform::Image(second), documents.file("q.png")));
    other.loadFullSizeImage();
    EXPECT_TRUE(other.fullSizeImage());
}

TEST(PaintingList, DeletingRemovesTheFilesAndTheEntries)
{
    ScopedDocuments documents;
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    auto painting = makeSamplePainting();
    for (const char* name : { "a", "b", "c" })
        ASSERT_TRUE(storePainting(name, *painting));
    PaintingManager manager;
    manager.initPaintingManager();
    ASSERT_EQ(manager.paintingList().size(), 3u);
    manager.deletePainting(*manager.paintingList()[0]);
    manager.deletePaintings(manager.paintingList());
    EXPECT_TRUE(manager.paintingList().empty());
    EXPECT_TRUE(documents.files().isEmpty());
}

TEST(PaintingList, PhoneThumbnailIsTheFittedPictureAndTabletThumbnailItsCard)
{
    QImage full(320, 416, QImage::Format_ARGB32_Premultiplied);
    full.fill(Qt::blue);
    PaintingManager manager;
    {
        ScopedDeviceProfile phone(DeviceProfile::phone());
        const float t = manager.thumbnailSize().width;
        auto thumbnail = manager.createThumbnail(platform::Image(full));
        ASSERT_TRUE(thumbnail);
        EXPECT_EQ(thumbnail->size(), platform::Size(t, t));
        EXPECT_EQ(thumbnail->qimage().pixel(static_cast<int>(t / 2), static_cast<int>(t / 2)), qRgb(0, 0, 255));
    }
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    const float t = manager.thumbnailSize().width;
    auto thumbnail = manager.createThumbnail(platform::Image(full));
    ASSERT_TRUE(thumbnail);
    const QImage pixels = thumbnail->qimage();
    EXPECT_EQ(pixels.pixel(static_cast<int>(t / 2), static_cast<int>(t / 2)), qRgb(0, 0, 255));
    // The white card shows between the card's frame and the picture.
    EXPECT_EQ(pixels.pixel(10, static_cast<int>(t / 2)), qRgb(255, 255, 255));
    // Outside the card only the shadow's faint edge, if anything.
    EXPECT_LT(qAlpha(pixels.pixel(0, 0)), 128);
}
