#include "Classes/model/PaintingManager.h"
#include "PaintingFileTestSupport.h"
#include "platform/system/Device.h"

#include <QFile>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Makes every file write past `bytes` fail, as on a full disk, for the life
// of a scope. Works for root too, whom permissions do not stop.
class ScopedFileSizeLimit final {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_previous);
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit { bytes, m_previous.rlim_max };
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous {};
    void (*m_previousHandler)(int) = nullptr;
};

struct Snapshot {
    QStringList names;
    std::vector<std::vector<uint8_t>> contents;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshotOf(const ScopedDocuments& documents)
{
    // The counter is not part of any painting; a failed save may still advance it.
    Snapshot snapshot { documents.files().filter(QRegularExpression("^(?!index$)")), {} };
    for (const QString& name : snapshot.names)
        snapshot.contents.push_back(readBytes(documents.file(name)));
    return snapshot;
}

// Saves through the manager and waits; the completion's item, or null.
std::shared_ptr<PaintingItem> saveAndWait(PaintingManager& manager, Painting& painting, bool& completed)
{
    std::shared_ptr<PaintingItem> result;
    int calls = 0;
    manager.savePainting(painting, nullptr, [&](std::shared_ptr<PaintingItem> item) {
        ++calls;
        result = std::move(item);
    });
    completed = processEventsUntil([&] { return calls > 0; }) && calls == 1;
    return result;
}

}

TEST(PaintingSaveFailure, FullDiskReportsFailureAndLeavesEarlierFilesAndTheListAsTheyWere)
{
    ScopedDocuments documents;
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    PaintingManager manager;
    auto painting = makeSamplePainting();
    bool completed = false;
    auto first = saveAndWait(manager, *painting, completed);
    ASSERT_TRUE(completed);
    ASSERT_TRUE(first);
    const Snapshot before = snapshotOf(documents);
    const auto listBefore = manager.paintingList();

    drawStroke(*painting, 13, { { 10, 10 }, { 300, 400 } });
    painting->setPaintingImage(painting->getPaintingImage());
    std::shared_ptr<PaintingItem> second;
    {
        ScopedFileSizeLimit full(600);
        second = saveAndWait(manager, *painting, completed);
    }
    ASSERT_TRUE(completed);
    EXPECT_FALSE(second);
    EXPECT_TRUE(snapshotOf(documents) == before);
    EXPECT_EQ(manager.paintingList(), listBefore);

    // The disk has room again: the same painting saves.
    auto third = saveAndWait(manager, *painting, completed);
    ASSERT_TRUE(completed);
    EXPECT_TRUE(third);
}

TEST(PaintingSaveFailure, FullDiskWhileWritingTheStrokeFileKeepsTheOldStrokeFile)
{
    ScopedDocuments documents;
    auto painting = makePainting(16, 16);
    drawStroke(*painting, 13, { { 1, 1 }, { 10, 10 } });
    ASSERT_TRUE(storePainting("p", *painting));
    const auto oldBytes = readBytes(documents.file("p.stk"));
    for (int i = 0; i < 40; ++i)
        drawStroke(*painting, 13, { { 1, 1 }, { 10, 10 }, { 15, 1 } });
    {
        // Room for the small pictures but not for the new stroke file.
        ScopedFileSizeLimit full(static_cast<rlim_t>(oldBytes.size()) + 200);
        EXPECT_FALSE(storeStrokeToFile(documents.file("p.stk"), *painting));
    }
    EXPECT_EQ(readBytes(documents.file("p.stk")), oldBytes);
    // Not written, so the layer still counts its strokes as unstored.
    EXPECT_EQ(documents.files().filter(".stk").size(), 1);
}

TEST(PaintingSaveFailure, NoDirectoryReportsFailure)
{
    ScopedDocuments documents;
    // A Documents "directory" that is a file cannot hold a painting folder.
    const QString blocker = documents.path() + "/blocker";
    ASSERT_TRUE(writeBytes(blocker, { 1 }));
    const QByteArray previous = qgetenv("PINTARO_DOCUMENTS");
    qputenv("PINTARO_DOCUMENTS", (blocker + "/Documents").toUtf8());
    EXPECT_FALSE(getPaintingDirectoryPath());

    PaintingManager manager;
    manager.initPaintingManager();
    EXPECT_TRUE(manager.paintingList().empty());
    auto painting = makeSamplePainting();
    bool completed = false;
    EXPECT_FALSE(saveAndWait(manager, *painting, completed));
    EXPECT_TRUE(completed);
    EXPECT_TRUE(manager.paintingList().empty());
    EXPECT_FALSE(Painting::initWithContentsOfFile("anything"));
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 0u);
    qputenv("PINTARO_DOCUMENTS", previous);
}

TEST(PaintingSaveFailure, ReadOnlyDirectoryReportsFailureAndChangesNothing)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root; the full-disk tests cover this path";
    ScopedDocuments documents;
    PaintingManager manager;
    auto painting = makeSamplePainting();
    ASSERT_TRUE(storePainting("kept", *painting));
    const Snapshot before = snapshotOf(documents);
    ASSERT_TRUE(QFile::setPermissions(documents.paintingDirectory(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    bool completed = false;
    EXPECT_FALSE(saveAndWait(manager, *painting, completed));
    EXPECT_TRUE(completed);
    QFile::setPermissions(documents.paintingDirectory(),
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_TRUE(snapshotOf(documents) == before);
    EXPECT_TRUE(manager.paintingList().empty());
}
