#include "Classes/model/PaintingManager.h"
#include "Classes/model/StrokeFile.h"
#include "ModelTestSupport.h"
#include "platform/system/Device.h"

#include <QImage>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using platform::DeviceProfile;
using platform::ScopedDeviceProfile;

namespace {

// Makes every file write past `bytes` fail, as on a full disk, for the life
// of a scope. Works for root too, whom permissions do not stop.
struct ScopedFileSizeLimit {
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit { bytes, previous.rlim_max };
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &previous); }
    rlimit previous {};
};

// Every file of the directory with its bytes, leaving out the counter, which a
// failed save may still advance.
std::vector<std::pair<QString, std::vector<uint8_t>>> snapshotOf(const ScopedDocuments& documents)
{
    std::vector<std::pair<QString, std::vector<uint8_t>>> snapshot;
    for (const QString& name : documents.files())
        if (name != "index")
            snapshot.emplace_back(name, readBytes(documents.file(name)));
    return snapshot;
}

// Saves through the manager and waits: the completion's item, or null.
std::shared_ptr<PaintingItem> saveAndWait(PaintingManager& manager, Painting& painting)
{
    std::shared_ptr<PaintingItem> result;
    int calls = 0;
    manager.savePainting(painting, nullptr, [&](std::shared_ptr<PaintingItem> item) {
        ++calls;
        result = std::move(item);
    });
    EXPECT_TRUE(drainSaves());
    EXPECT_EQ(calls, 1);
    return result;
}

}

TEST(PaintingFiles, NamesCarry2xOnlyOnAScaleTwoScreenAndRemovalDeletesEveryFileOfOnePainting)
{
    ScopedDocuments documents;
    auto painting = makeSamplePainting();
    painting->setThumbnailImage(platform::Image(QImage(150, 150, QImage::Format_ARGB32_Premultiplied), 2));
    {
        ScopedDeviceProfile tablet(DeviceProfile::tablet());
        ASSERT_TRUE(storePainting("gone", *painting));
        ASSERT_TRUE(storePainting("gone-2", *painting));
    }
    ScopedDeviceProfile phone(DeviceProfile::retinaPhone());
    painting->setBackgroundImage(platform::Image(QImage(20, 20, QImage::Format_RGB32)));
    painting->addTransparentLayer();
    ASSERT_TRUE(storePainting("gone", *painting));
    EXPECT_EQ(documents.files(),
        QStringList({ "gone-2.png", "gone-2.stk", "gone-2_layer_0.png", "gone-2_thumb.png", "gone.png", "gone.stk",
            "gone@2x.png", "gone_bkg@2x.png", "gone_layer_0.png", "gone_layer_0@2x.png", "gone_layer_1@2x.png",
            "gone_thumb.png", "gone_thumb@2x.png" }));
    // A scale-2 screen prefers the 2x picture and falls back to the plain one.
    const auto retina = loadPaintingThumbnailImage("gone"), plain = loadPaintingThumbnailImage("gone-2");
    ASSERT_TRUE(retina && plain);
    EXPECT_TRUE(retina->scale() == 2 && retina->size().width == 75 && plain->scale() == 1);
    EXPECT_FALSE(loadPaintingThumbnailImage("absent"));

    ASSERT_TRUE(removePainting("gone"));
    EXPECT_EQ(documents.files(), QStringList({ "gone-2.png", "gone-2.stk", "gone-2_layer_0.png", "gone-2_thumb.png" }));
    EXPECT_TRUE(removePainting("never-saved"));
}

TEST(PaintingFiles, LayerPictureIsStoredMirroredAndRestoredPixelForPixel)
{
    for (const DeviceProfile& profile : { DeviceProfile::tablet(), DeviceProfile::retinaPhone() }) {
        SCOPED_TRACE(profile.name);
        ScopedDocuments documents;
        ScopedDeviceProfile device(profile);
        auto painting = makePainting(320, 416, 0);
        // Neon leaves soft, half-transparent edges: the hard case for a PNG round trip.
        drawStroke(*painting, 17, { { 20, 380 }, { 120, 400 }, { 220, 385 }, { 300, 405 } });
        drawStroke(*painting, 11, { { 40, 330 }, { 160, 360 }, { 280, 340 } });
        painting->setPaintingImage(painting->getPaintingImage());
        auto before = onScreen(*painting->activeLayer());
        ASSERT_TRUE(storePainting("mirror", *painting));
        // The canvas rows run from the painting's bottom edge up, and so do the stored picture's:
        // strokes near the bottom edge show at its top.
        const QImage stored(documents.file(profile.screenScale == 2 ? "mirror_layer_0@2x.png" : "mirror_layer_0.png"));
        const QImage canvas(before.data(), 320, 416, QImage::Format_ARGB32_Premultiplied);
        EXPECT_EQ(stored.convertToFormat(QImage::Format_ARGB32_Premultiplied), canvas);
        EXPECT_TRUE(qAlpha(stored.pixel(120, 15)) > 0 && qAlpha(stored.pixel(120, 400)) == 0);

        auto reopened = Painting::initWithContentsOfFile("mirror");
        ASSERT_TRUE(reopened);
        EXPECT_TRUE(onScreen(*reopened->activeLayer()) == before && offScreen(*reopened->activeLayer()) == before);
    }
}

TEST(PaintingFiles, IndexCounterIsFourLittleEndianBytesAndReadsZeroWhenMissingOrShort)
{
    ScopedDocuments documents;
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 0u);
    ASSERT_TRUE(storeGlobalUniqueImageIndex(0x01020304));
    EXPECT_EQ(readBytes(documents.file("index")), std::vector<uint8_t>({ 4, 3, 2, 1 }));
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 0x01020304u);
    ASSERT_TRUE(writeBytes(documents.file("index"), { 7, 0 }));
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 0u);
}

TEST(PaintingSaveFailure, FullDiskReportsFailureAndLeavesEarlierFilesAndTheListAsTheyWere)
{
    ScopedDocuments documents;
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    PaintingManager manager;
    auto painting = makeSamplePainting();
    ASSERT_TRUE(saveAndWait(manager, *painting));
    const auto before = snapshotOf(documents);
    const auto listBefore = manager.paintingList();
    {
        ScopedFileSizeLimit full(600);
        EXPECT_FALSE(saveAndWait(manager, *painting));
    }
    EXPECT_TRUE(snapshotOf(documents) == before);
    EXPECT_EQ(manager.paintingList(), listBefore);
    // The disk has room again: the same painting saves.
    EXPECT_TRUE(saveAndWait(manager, *painting));
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
        ScopedFileSizeLimit full(static_cast<rlim_t>(oldBytes.size()) + 200);
        EXPECT_FALSE(storeStrokeToFile(documents.file("p.stk"), *painting));
    }
    EXPECT_EQ(readBytes(documents.file("p.stk")), oldBytes);
    EXPECT_EQ(documents.files().filter(".stk"), QStringList({ "p.stk" }));
    // Not written, so the next save still writes the strokes.
    ASSERT_TRUE(storeStrokeToFile(documents.file("p.stk"), *painting));
    EXPECT_EQ(readBytes(documents.file("p.stk")), encodeStrokeFile(*painting));
}

TEST(PaintingSaveFailure, DocumentsThatCannotHoldAPaintingFolderReportFailure)
{
    ScopedDocuments documents;
    const QString blocker = documents.path() + "/blocker";
    ASSERT_TRUE(writeBytes(blocker, { 1 }));
    qputenv("PINTARO_DOCUMENTS", (blocker + "/Documents").toUtf8());
    EXPECT_FALSE(getPaintingDirectoryPath());

    PaintingManager manager;
    manager.initPaintingManager();
    EXPECT_FALSE(saveAndWait(manager, *makeSamplePainting()));
    EXPECT_TRUE(manager.paintingList().empty());
    EXPECT_FALSE(Painting::initWithContentsOfFile("anything"));
}
