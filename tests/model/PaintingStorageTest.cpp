#include "Classes/model/PaintingManager.h"
#include "Classes/model/StrokeFile.h"
#include "ModelTestSupport.h"
#include "support/ScopedFileSizeLimit.h"
#include "platform/system/Device.h"

#include <QImage>
#include <gtest/gtest.h>

using platform::DeviceProfile;
using platform::ScopedDeviceProfile;

namespace {

// Saves through the manager and waits: the completion's item, or null.
std::shared_ptr<PaintingItem> saveAndWait(PaintingManager& manager, Painting& painting)
{
    std::vector<std::shared_ptr<PaintingItem>> results;
    manager.savePainting(painting, nullptr, [&](std::shared_ptr<PaintingItem> item) { results.push_back(item); });
    EXPECT_TRUE(drainSaves());
    EXPECT_EQ(results.size(), 1u);
    return results.empty() ? nullptr : results.front();
}

}

TEST(PaintingFiles, NamesCarry2xOnlyOnAScaleTwoScreenLayersAreStoredMirroredAndRemovalDeletesEveryFile)
{
    ScopedDocuments documents;
    auto painting = makePainting(320, 416, 0);
    // Neon leaves soft, half-transparent edges: the hard case for a PNG round trip.
    drawStroke(*painting, 17, { { 20, 380 }, { 120, 400 }, { 220, 385 }, { 300, 405 } });
    drawStroke(*painting, 11, { { 40, 330 }, { 160, 360 }, { 280, 340 } });
    painting->setPaintingImage(painting->getPaintingImage());
    painting->setThumbnailImage(platform::Image(QImage(150, 150, QImage::Format_ARGB32_Premultiplied), 2));
    auto canvas = onScreen(*painting->activeLayer());
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
    // The canvas rows run from the painting's bottom edge up, and so do the
    // stored picture's: strokes near the bottom edge show at its top.
    const auto stored = QImage(documents.file("gone-2_layer_0.png")).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(stored, QImage(canvas.data(), 320, 416, QImage::Format_ARGB32_Premultiplied));
    EXPECT_TRUE(qAlpha(stored.pixel(120, 15)) > 0 && qAlpha(stored.pixel(120, 400)) == 0);
    auto reopened = Painting::initWithContentsOfFile("gone");
    ASSERT_TRUE(reopened);
    EXPECT_TRUE(onScreen(*reopened->layerArray()[0]) == canvas && offScreen(*reopened->layerArray()[0]) == canvas);
    // A scale-2 screen prefers the 2x picture and falls back to the plain one.
    const auto retina = loadPaintingThumbnailImage("gone"), plain = loadPaintingThumbnailImage("gone-2");
    ASSERT_TRUE(retina && plain);
    EXPECT_TRUE(retina->scale() == 2 && retina->size().width == 75 && plain->scale() == 1);
    EXPECT_FALSE(loadPaintingThumbnailImage("absent"));

    ASSERT_TRUE(removePainting("gone"));
    EXPECT_EQ(documents.files(), QStringList({ "gone-2.png", "gone-2.stk", "gone-2_layer_0.png", "gone-2_thumb.png" }));
    EXPECT_TRUE(removePainting("never-saved"));
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
    const auto item = saveAndWait(manager, *painting);
    ASSERT_TRUE(item);
    const auto before = filesOf(documents, false);
    const auto listBefore = manager.paintingList();
    const QString strokeFile = documents.file(item->paintingName() + ".stk");
    for (int i = 0; i < 40; ++i)
        drawStroke(*painting, 13, { { 1, 1 }, { 10, 10 }, { 15, 1 } });
    {
        ScopedFileSizeLimit full(600);
        EXPECT_FALSE(saveAndWait(manager, *painting));
        // Past the limit halfway through: the old stroke file must survive whole.
        EXPECT_FALSE(storeStrokeToFile(strokeFile, *painting));
    }
    EXPECT_TRUE(filesOf(documents, false) == before);
    EXPECT_EQ(manager.paintingList(), listBefore);
    // The disk has room again: the strokes, not written before, are written now.
    ASSERT_TRUE(storeStrokeToFile(strokeFile, *painting));
    EXPECT_EQ(readBytes(strokeFile), encodeStrokeFile(*painting));
    EXPECT_TRUE(saveAndWait(manager, *painting));
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
