#include "Classes/model/PaintingManager.h"
#include "ModelTestSupport.h"
#include "support/ScopedImmutableFile.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>
#include <set>

TEST(PaintingList, SavesAreNamedAfterTheClockUniquelyCompleteOnTheMainThreadAndListOldestStrokeFileFirst)
{
    ScopedDocuments documents;
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    ASSERT_TRUE(getPaintingDirectoryPath());
    ASSERT_TRUE(storeGlobalUniqueImageIndex(41));
    PaintingManager manager;
    manager.setClock([] { return QDateTime(QDate(2013, 3, 3), QTime(10, 11, 12)); });
    auto painting = makeSamplePainting();
    std::vector<std::shared_ptr<PaintingItem>> saved;
    bool onMainThread = true;
    const auto note = [&](std::shared_ptr<PaintingItem> item) {
        onMainThread = onMainThread && platform::DispatchQueue::isMainThread();
        saved.push_back(std::move(item));
    };

    manager.savePainting(*painting, nullptr, note);
    ASSERT_TRUE(drainSaves());
    ASSERT_TRUE(saved.size() == 1 && saved[0]);
    EXPECT_EQ(saved[0]->paintingName(), "2013-03-03-10-11-12");
    EXPECT_TRUE(saved[0]->thumbnailImage() && saved[0]->fullSizeImage());
    EXPECT_EQ(manager.paintingList().front(), saved[0]);
    // A painting that already has an entry is saved again under a new name, in
    // the same second "-2"; the list keeps its entry until its next rebuild.
    manager.savePainting(*painting, saved[0].get(), note);
    ASSERT_TRUE(drainSaves());
    ASSERT_TRUE(saved.size() == 2 && saved[1]);
    EXPECT_EQ(saved[1]->paintingName(), "2013-03-03-10-11-12-2");
    // Saves started together in one second still get a name each.
    for (int i = 0; i < 20; ++i)
        manager.savePainting(*painting, nullptr, note);
    ASSERT_TRUE(drainSaves());
    ASSERT_EQ(saved.size(), 22u);
    EXPECT_TRUE(onMainThread);
    std::set<QString> names;
    for (const auto& item : saved)
        names.insert(item ? item->paintingName() : QString());
    EXPECT_EQ(names.size(), 22u);
    EXPECT_EQ(manager.paintingList().size(), 21u);
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 63u);

    // Rebuilt, the list has an entry for each stroke file, oldest first, whatever the names say.
    const QDateTime earlier(QDate(2001, 1, 1), QTime(9, 0)), later(QDate(2030, 1, 1), QTime(9, 0));
    for (auto [item, date] : { std::pair { saved[0], later }, { saved[1], earlier } }) {
        QFile file(documents.file(item->paintingName() + ".stk"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly) && file.setFileTime(date, QFileDevice::FileModificationTime));
    }
    PaintingManager rebuilt;
    rebuilt.initPaintingManager();
    ASSERT_EQ(rebuilt.paintingList().size(), 22u);
    EXPECT_EQ(rebuilt.paintingList().front()->paintingName(), saved[1]->paintingName());
    EXPECT_EQ(rebuilt.paintingList().back()->paintingName(), saved[0]->paintingName());
    EXPECT_EQ(rebuilt.paintingList().back()->modificationDate(), later);
    for (const auto& item : rebuilt.paintingList())
        EXPECT_TRUE(Painting::initWithContentsOfFile(item->paintingName())) << item->paintingName().toStdString();
    rebuilt.deletePainting(*rebuilt.paintingList().front());
    rebuilt.deletePaintings(rebuilt.paintingList());
    EXPECT_TRUE(rebuilt.paintingList().empty());
    EXPECT_EQ(documents.files(), QStringList({ "index" }));
}

TEST(PaintingList, DeletionReportsWhetherTheFilesWentAndAPaintingWhoseFilesStayStaysListed)
{
    ScopedDocuments documents;
    auto painting = makeSamplePainting();
    ASSERT_TRUE(storePainting("stays", *painting) && storePainting("goes", *painting));
    PaintingManager manager;
    manager.initPaintingManager();
    ASSERT_EQ(manager.paintingList().size(), 2u);
    {
        ScopedImmutableFile locked(documents.file("stays.stk"));
        if (!locked.held)
            GTEST_SKIP() << "this file system cannot make a file undeletable";
        EXPECT_FALSE(manager.deletePainting(*manager.paintingList().front()));
        EXPECT_FALSE(manager.deletePaintings(manager.paintingList()));
        ASSERT_EQ(manager.paintingList().size(), 1u);
        EXPECT_EQ(manager.paintingList().front()->paintingName(), "stays");
        EXPECT_TRUE(documents.files().contains("stays.stk"));
        EXPECT_FALSE(documents.files().contains("goes.stk"));
    }
    EXPECT_TRUE(manager.deletePaintings(manager.paintingList()));
    EXPECT_TRUE(manager.paintingList().empty());
    EXPECT_TRUE(documents.files().empty());
}
