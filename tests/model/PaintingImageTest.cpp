#include "Classes/brushes/Brush.h"
#include "Classes/model/Painting.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <QImage>

using platform::Color;
using platform::DeviceProfile;
using platform::Image;
using platform::Rect;
using platform::ScopedDeviceProfile;

namespace {

constexpr int penType = 13;
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);

// A painting on a blue background with one thick red stroke along the top.
std::unique_ptr<Painting> redLineAtTheTop(platform::Size size)
{
    auto painting = std::make_unique<Painting>(size);
    painting->addTransparentLayer();
    painting->setBackgroundColor(Color::rgba(0, 0, 1, 1));
    painting->switchBrush(penType);
    painting->setMirrixMode(0);
    painting->setBrushColorWithSolidColor(Color::rgba(1, 0, 0, 1));
    painting->setBrushSize(12);
    painting->strokeFrom({ 10, 20 });
    painting->strokeTo({ 100, 20 });
    painting->strokeTo({ 200, 20 });
    painting->strokeEnd({ 290, 20 });
    return painting;
}

bool near(const QColor& actual, const QColor& expected)
{
    return std::abs(actual.red() - expected.red()) <= 2 && std::abs(actual.green() - expected.green()) <= 2
        && std::abs(actual.blue() - expected.blue()) <= 2 && std::abs(actual.alpha() - expected.alpha()) <= 2;
}

}

TEST(AlignTo16, AddsOneThenRoundsDown)
{
    EXPECT_EQ(AlignTo16(320), 320);
    EXPECT_EQ(AlignTo16(416), 416);
    EXPECT_EQ(AlignTo16(980), 976);
    EXPECT_EQ(AlignTo16(959), 960);
    EXPECT_EQ(AlignTo16(300), 288);
    EXPECT_EQ(AlignTo16(14), 0);
    EXPECT_EQ(AlignTo16(15), 16);
}

TEST(PaintingCrop, CropRegionAlignsTheSizeAndKeepsTheRequest)
{
    Painting painting({ 768, 980 });
    painting.setCropRegion(Rect(0, 0, 768, 980));
    EXPECT_EQ(painting.cropRect(), Rect(0, 0, 768, 976));
    EXPECT_EQ(painting.unalignedCropRect(), Rect(0, 0, 768, 980));
    painting.setCropRegion(Rect(5, 7, 14.9f, 959.6f));
    EXPECT_EQ(painting.cropRect(), Rect(5, 7, 0, 960));
}

TEST(PaintingCrop, PaintingImageWithoutCropCropsToTheWholeUnalignedPainting)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    Painting painting({ 300, 201 });
    painting.addTransparentLayer();
    Image image = painting.getPaintingImage();
    EXPECT_EQ(painting.cropRect(), Rect(0, 0, 300, 201));
    EXPECT_EQ(image.pixelWidth(), 300);
    EXPECT_EQ(image.pixelHeight(), 201);
}

TEST(PaintingCrop, PaintingImageIsTheTopLeftCropSizedPart)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    auto painting = redLineAtTheTop({ 300, 200 });
    painting->setCropRect(Rect(40, 40, 100, 30));
    Image image = painting->getPaintingImage();
    ASSERT_EQ(image.pixelWidth(), 100);
    ASSERT_EQ(image.pixelHeight(), 30);
    // The crop origin is not applied: the line at y = 20 is in the picture.
    EXPECT_TRUE(near(image.qimage().pixelColor(50, 20), red));
    EXPECT_TRUE(near(image.qimage().pixelColor(50, 5), blue));
}

TEST(PaintingImage, ComposedPictureIsUprightOverTheBackgroundColour)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    auto painting = redLineAtTheTop({ 300, 200 });
    Image image = painting->getPaintingImage();
    ASSERT_EQ(image.pixelWidth(), 300);
    ASSERT_EQ(image.pixelHeight(), 200);
    EXPECT_TRUE(near(image.qimage().pixelColor(150, 20), red));
    EXPECT_TRUE(near(image.qimage().pixelColor(150, 180), blue));
    EXPECT_TRUE(near(image.qimage().pixelColor(150, 50), blue));
}

TEST(PaintingImage, ViewDrawingMatchesThePaintingImage)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    auto painting = redLineAtTheTop({ 300, 200 });
    platform::ImageContext view({ 300, 200 }, false, 1);
    painting->drawPaintingTo(view);
    EXPECT_EQ(view.image().qimage(), painting->getPaintingImage().qimage());
}

TEST(PaintingImage, BackgroundImageReplacesTheColourAtItsOwnSize)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    QImage photo(100, 80, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 100; ++x)
            photo.setPixelColor(x, y, y < 40 ? QColor(0, 255, 0) : QColor(255, 255, 0));
    Painting painting({ 200, 160 });
    painting.addTransparentLayer();
    painting.setBackgroundImage(Image(photo));
    Image image = painting.getPaintingImage();
    EXPECT_TRUE(near(image.qimage().pixelColor(50, 10), QColor(0, 255, 0)));
    EXPECT_TRUE(near(image.qimage().pixelColor(50, 70), QColor(255, 255, 0)));
    EXPECT_EQ(image.qimage().pixelColor(150, 120).alpha(), 0);
}

TEST(PaintingImage, NothingIsDrawnWithoutALayer)
{
    Painting painting({ 100, 100 });
    platform::ImageContext view({ 100, 100 }, false, 1);
    painting.drawPaintingTo(view);
    EXPECT_EQ(view.image().qimage().pixelColor(50, 50).alpha(), 0);
}

TEST(PaintingImage, ExportScaleFollowsTheDevice)
{
    {
        ScopedDeviceProfile device(DeviceProfile::retinaPhone());
        auto painting = redLineAtTheTop({ 320, 436 });
        Image image = painting->getPaintingImage();
        EXPECT_EQ(image.scale(), 2.0f);
        EXPECT_EQ(image.pixelWidth(), 640);
        EXPECT_EQ(image.pixelHeight(), 872);
        EXPECT_TRUE(near(image.qimage().pixelColor(300, 40), red));
    }
    {
        DeviceProfile retinaTablet = DeviceProfile::tablet();
        retinaTablet.screenScale = 2;
        ScopedDeviceProfile device(retinaTablet);
        auto painting = redLineAtTheTop({ 300, 200 });
        EXPECT_EQ(painting->getPaintingImage().pixelWidth(), 300);
    }
}
