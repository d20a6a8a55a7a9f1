#include "Classes/model/PaintingManager.h"
#include "ModelTestSupport.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>
#include <set>

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

void writeFileDated(const QString& path, const QDateTime& time)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
}

}

TEST(PaintingList, OrderFollowsStrokeFileDatesNotNamesAndNeedsAStrokeFile)
{
    ScopedDocuments documents;
    ASSERT_TRUE(getPaintingDirectoryPath());
    writeFileDated(documents.file("2012-05-01-10-00-00.stk"), QDateTime(QDate(2012, 5, 1), QTime(10, 0)));
    writeFileDated(documents.file("2012-04-30-09-00-00.stk"), QDateTime(QDate(2012, 6, 1), QTime(9, 0)));
    ASSERT_TRUE(writeBytes(documents.file("2011-01-01-00-00-00.png"), { 1 }));

    PaintingManager manager;
    manager.initPaintingManager();
    ASSERT_EQ(manager.paintingList().size(), 2u);
    EXPECT_EQ(manager.paintingList()[0]->paintingName(), "2012-05-01-10-00-00");
    EXPECT_EQ(manager.paintingList()[1]->paintingName(), "2012-04-30-09-00-00");
    EXPECT_EQ(manager.paintingList()[0]->modificationDate(), QDateTime(QDate(2012, 5, 1), QTime(10, 0)));
}

TEST(PaintingList, SavesAreNamedAfterTheClockUniquelyAndCompleteOnceOnTheMainThread)
{
    ScopedDocuments documents;
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    ASSERT_TRUE(getPaintingDirectoryPath());
    ASSERT_TRUE(storeGlobalUniqueImageIndex(41));
    PaintingManager manager;
    manager.setClock(march3At101112);
    auto painting = makeSamplePainting();
    Receiver receiver;

    manager.savePainting(*painting, nullptr, &receiver, &Receiver::paintingSaved);
    ASSERT_TRUE(drainSaves());
    EXPECT_EQ(receiver.calls, 1);
    EXPECT_TRUE(receiver.onMainThread);
    ASSERT_TRUE(receiver.item);
    EXPECT_EQ(receiver.item->paintingName(), "2013-03-03-10-11-12");
    EXPECT_TRUE(receiver.item->thumbnailImage() && receiver.item->fullSizeImage());
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 42u);
    ASSERT_EQ(manager.paintingList().size(), 1u);
    EXPECT_EQ(manager.paintingList().front(), receiver.item);

    // A painting that already has an entry is saved again under a new name,
    // in the same second "-2", and the list waits for its next rebuild.
    manager.savePainting(*painting, receiver.item.get(), &receiver, &Receiver::paintingSaved);
    ASSERT_TRUE(drainSaves());
    ASSERT_TRUE(receiver.item);
    EXPECT_EQ(receiver.item->paintingName(), "2013-03-03-10-11-12-2");
    EXPECT_EQ(manager.paintingList().size(), 1u);

    // Without a target or without a selector nobody is called, but the save happens.
    manager.savePainting<Receiver>(*painting, nullptr, &receiver, nullptr);
    manager.savePainting(*painting, nullptr, static_cast<Receiver*>(nullptr), &Receiver::paintingSaved);
    // Saves started together in one second still get a name each.
    std::set<QString> names;
    for (int i = 0; i < 20; ++i)
        manager.savePainting(*painting, nullptr, [&](std::shared_ptr<PaintingItem> item) {
            if (item)
                names.insert(item->paintingName());
        });
    ASSERT_TRUE(drainSaves());
    EXPECT_EQ(receiver.calls, 2);
    EXPECT_EQ(names.size(), 20u);
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 65u);

    PaintingManager rebuilt;
    rebuilt.initPaintingManager();
    ASSERT_EQ(rebuilt.paintingList().size(), 24u);
    for (const auto& item : rebuilt.paintingList())
        EXPECT_TRUE(Painting::initWithContentsOfFile(item->paintingName())) << item->paintingName().toStdString();

    rebuilt.deletePainting(*rebuilt.paintingList().front());
    rebuilt.deletePaintings(rebuilt.paintingList());
    EXPECT_TRUE(rebuilt.paintingList().empty());
    EXPECT_EQ(documents.files(), QStringList({ "index" }));
}
