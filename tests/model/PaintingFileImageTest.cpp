#include "Classes/model/PaintingFile.h"
#include "PaintingFileTestSupport.h"
#include "platform/system/Device.h"

#include <QImage>
#include <QRegularExpression>
#include <gtest/gtest.h>

using platform::DeviceProfile;
using platform::ScopedDeviceProfile;

namespace {

QImage canvasPixels(const Layer& layer)
{
    const auto* context = layer.layerContext();
    return QImage(static_cast<const uchar*>(context->data()), context->width(), context->height(),
        context->bytesPerRow(), QImage::Format_ARGB32_Premultiplied)
        .copy();
}

QImage offscreenPixels(const Layer& layer)
{
    const auto* context = layer.offscreenContext();
    return QImage(static_cast<const uchar*>(context->data()), context->width(), context->height(),
        context->bytesPerRow(), QImage::Format_ARGB32_Premultiplied)
        .copy();
}

int paintedRows(const QImage& image, int fromRow, int toRow)
{
    int rows = 0;
    for (int y = fromRow; y < toRow; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0) {
                ++rows;
                break;
            }
    return rows;
}

}

TEST(PaintingFileImages, ScaleTwoPhoneWritesAt2xNamesThatLoadAtScaleTwo)
{
    ScopedDocuments documents;
    ScopedDeviceProfile phone(DeviceProfile::retinaPhone());
    auto painting = makeSamplePainting();
    painting->setThumbnailImage(platform::Image(QImage(150, 150, QImage::Format_ARGB32_Premultiplied), 2));
    QImage photo(320, 416, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    painting->setBackgroundImage(platform::Image(photo));
    ASSERT_TRUE(storePainting("retina", *painting));

    EXPECT_EQ(documents.files(),
        QStringList({ "retina.stk", "retina@2x.png", "retina_bkg@2x.png", "retina_layer_0@2x.png",
            "retina_thumb@2x.png" }));
    auto thumbnail = loadPaintingThumbnailImage("retina");
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->scale(), 2);
    EXPECT_EQ(thumbnail->size().width, 75);
    auto full = loadPaintingFullSizeImage("retina");
    ASSERT_TRUE(full);
    EXPECT_EQ(full->scale(), 2);
    EXPECT_EQ(full->size().width, 320);
}

TEST(PaintingFileImages, PlainNamesOnATabletAndThe2xRuleOnlyOnAScaleTwoScreen)
{
    ScopedDocuments documents;
    {
        ScopedDeviceProfile tablet(DeviceProfile::tablet());
        auto painting = makeSamplePainting();
        painting->setThumbnailImage(platform::Image(QImage(20, 20, QImage::Format_ARGB32_Premultiplied)));
        ASSERT_TRUE(storePainting("plain", *painting));
        EXPECT_EQ(documents.files(), QStringList({ "plain.png", "plain.stk", "plain_layer_0.png", "plain_thumb.png" }));
        auto thumbnail = loadPaintingThumbnailImage("plain");
        ASSERT_TRUE(thumbnail);
        EXPECT_EQ(thumbnail->scale(), 1);
    }
    // A scale-2 screen falls back to the plain file, at scale 1.
    ScopedDeviceProfile phone(DeviceProfile::retinaPhone());
    auto thumbnail = loadPaintingThumbnailImage("plain");
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->scale(), 1);
    EXPECT_FALSE(loadPaintingThumbnailImage("absent"));
}

TEST(PaintingFileImages, LayerPictureIsStoredMirroredAndRestoredPixelForPixel)
{
    for (const DeviceProfile& profile : { DeviceProfile::tablet(), DeviceProfile::retinaPhone() }) {
        SCOPED_TRACE(profile.name);
        ScopedDocuments documents;
        ScopedDeviceProfile device(profile);
        auto painting = makePainting(320, 416);
        painting->setMirrixMode(0);
        // Neon leaves soft, half-transparent edges: the hard case for a PNG round trip.
        drawStroke(*painting, 17, { { 20, 380 }, { 120, 400 }, { 220, 385 }, { 300, 405 } });
        drawStroke(*painting, 11, { { 40, 330 }, { 160, 360 }, { 280, 340 } });
        painting->setPaintingImage(painting->getPaintingImage());
        const QImage before = canvasPixels(*painting->activeLayer());
        ASSERT_TRUE(storePainting("mirror", *painting));

        // The strokes lie near the painting's bottom edge, so they show at the top of the stored picture.
        const QString layerFile = profile.screenScale == 2 ? "mirror_layer_0@2x.png" : "mirror_layer_0.png";
        QImage stored(documents.file(layerFile));
        ASSERT_EQ(stored.size(), QSize(320, 416));
        EXPECT_GT(paintedRows(stored, 0, 100), 0);
        EXPECT_EQ(paintedRows(stored, 200, 416), 0);

        auto reopened = Painting::initWithContentsOfFile("mirror");
        ASSERT_TRUE(reopened);
        const QImage after = canvasPixels(*reopened->activeLayer());
        EXPECT_TRUE(after == before);
        EXPECT_TRUE(offscreenPixels(*reopened->activeLayer()) == before);
    }
}

TEST(PaintingFileImages, WithoutItsLayerPictureTheFullPictureFillsTheCanvasUpright)
{
    ScopedDocuments documents;
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    auto painting = makePainting(64, 48);
    painting->setBackgroundColor(platform::Color::rgba(1, 0, 0, 1));
    QImage full(64, 48, QImage::Format_ARGB32_Premultiplied);
    full.fill(Qt::red);
    for (int x = 0; x < 64; ++x)
        full.setPixel(x, 0, qRgb(0, 0, 255));
    painting->setPaintingImage(platform::Image(full));
    ASSERT_TRUE(storePainting("fallback", *painting));
    ASSERT_TRUE(QFile::remove(documents.file("fallback_layer_0.png")));

    auto reopened = Painting::initWithContentsOfFile("fallback");
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->cropRect(), platform::Rect(0, 0, 64, 48));
    // The painting's top row is the canvas's last memory row.
    const QImage canvas = canvasPixels(*reopened->activeLayer());
    EXPECT_EQ(canvas.pixel(10, 47), qRgb(0, 0, 255));
    EXPECT_EQ(canvas.pixel(10, 0), qRgb(255, 0, 0));
}

TEST(PaintingFileImages, RemovingAPaintingDeletesAllItsFilesAndNoOtherPaintings)
{
    ScopedDocuments documents;
    auto painting = makeSamplePainting();
    painting->setThumbnailImage(platform::Image(QImage(20, 20, QImage::Format_ARGB32_Premultiplied)));
    {
        ScopedDeviceProfile tablet(DeviceProfile::tablet());
        ASSERT_TRUE(storePainting("gone", *painting));
        ASSERT_TRUE(storePainting("gone-2", *painting));
    }
    {
        ScopedDeviceProfile phone(DeviceProfile::retinaPhone());
        painting->setBackgroundImage(platform::Image(QImage(20, 20, QImage::Format_RGB32)));
        painting->addTransparentLayer();
        ASSERT_TRUE(storePainting("gone", *painting));
    }
    EXPECT_GT(documents.files().filter(QRegularExpression("^gone[._@]")).size(), 8);

    ASSERT_TRUE(removePainting("gone"));
    EXPECT_EQ(documents.files(), QStringList({ "gone-2.png", "gone-2.stk", "gone-2_layer_0.png", "gone-2_thumb.png" }));
    EXPECT_TRUE(removePainting("never-saved"));
}

TEST(PaintingFileImages, IndexCounterIsFourLittleEndianBytesAndReadsZeroWhenMissing)
{
    ScopedDocuments documents;
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 0u);
    ASSERT_TRUE(storeGlobalUniqueImageIndex(0x01020304));
    EXPECT_EQ(readBytes(documents.file("index")), std::vector<uint8_t>({ 4, 3, 2, 1 }));
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 0x01020304u);
    ASSERT_TRUE(writeBytes(documents.file("index"), { 7, 0 }));
    EXPECT_EQ(loadGlobalUniqueImageIndex(), 0u);
}
