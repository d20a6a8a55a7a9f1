#include "Classes/brushes/Mirrix.h"
#include "ModelTestSupport.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/Device.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using platform::Color;
using platform::DeviceProfile;
using platform::Point;
using platform::Rect;
using platform::ScopedDeviceProfile;

namespace {

constexpr int penType = 13;
// A type the factory makes no brush for.
constexpr int noBrushType = 12;

}

TEST(PaintingBrush, MirrorTurnsAboutTheWholePointCentre)
{
    for (platform::Size size : { platform::Size { 320, 416 }, platform::Size { 321, 417 } }) {
        Painting painting(size);
        painting.switchBrush(penType);
        // Modes 1 and 2 reflect across x = centre.x and y = centre.y.
        painting.setMirrixMode(1);
        EXPECT_EQ(painting.brush()->mirrix()->getMatrix()[1].map({ 0, 0 }), (Point { 320, 0 }));
        painting.setMirrixMode(2);
        // A brush made later gets the painting's mode and centre too.
        painting.switchBrush(noBrushType);
        painting.switchBrush(penType);
        EXPECT_EQ(painting.brush()->mirrix()->getMatrix()[1].map({ 0, 0 }), (Point { 0, 416 }));
    }
}

TEST(PaintingBrush, StrokesReachTheActiveLayerAndOnlyFinishedOnesUnsave)
{
    Painting painting({ 200, 200 });
    painting.switchBrush(penType);
    painting.strokeFrom({ 10, 10 });
    // Without a layer the zero rectangle, where no change would be null.
    EXPECT_EQ(painting.strokeEnd({ 150, 100 }), Rect::zero());
    painting.addTransparentLayer();
    painting.addTransparentLayer();
    painting.setIsSaved(true);
    painting.strokeFrom({ 10, 10 });
    EXPECT_TRUE(painting.strokeTo({ 15, 15 }).isNull()) << "too close to be recorded";
    EXPECT_EQ(painting.dirtyRect(), painting.strokeTo({ 100, 100 }));
    EXPECT_TRUE(painting.isSaved());
    EXPECT_EQ(painting.dirtyRect(), painting.strokeEnd({ 150, 100 }));
    EXPECT_FALSE(painting.isSaved());
    EXPECT_EQ(painting.layerArray()[1]->getStrokeNumber(), 1);
    EXPECT_EQ(painting.layerArray()[0]->getStrokeNumber(), 0);
    EXPECT_TRUE(painting.undoStroke());
    EXPECT_FALSE(painting.undoStroke());
}

TEST(PaintingBrush, SwitchingKeepsTheSameTypesBrushAndFinishesAStrokeInProgressWithTheOldOne)
{
    Painting painting({ 200, 200 });
    painting.addTransparentLayer();
    painting.setBrushColorWithSolidColor(Color::rgba(1, 0.5f, 0, 1));
    painting.switchBrush(penType);
    painting.setBrushSize(9);
    Brush* pen = painting.brush();
    painting.switchBrush(penType);
    ASSERT_EQ(painting.brush(), pen);
    EXPECT_EQ(pen->brushData().size, 9.0f);

    painting.strokeFrom({ 10, 10 });
    painting.strokeTo({ 60, 60 });
    painting.switchBrush(noBrushType);
    ASSERT_EQ(painting.activeLayer()->getStrokeNumber(), 1);
    const auto& points = painting.activeLayer()->strokeList()[0]->strokePoints();
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[2].CGPoint(), (Point { 60, 60 }));
    EXPECT_EQ(points[2].brushData().type, static_cast<uint32_t>(penType));
    EXPECT_EQ(painting.strokeEnd({ 100, 100 }), Rect::zero());
    // A new brush follows the colour mode.
    painting.switchBrush(penType);
    EXPECT_EQ(painting.brush()->mode(), Brush::modeSolidColor);
    painting.setBrushColorWithRandomColor();
    EXPECT_TRUE(painting.brush()->isRandomColor());
}

TEST(PaintingCrop, SidesAlignTo16ByAddingOneThenRoundingDown)
{
    for (auto [side, aligned] : { std::pair { 320, 320 }, { 980, 976 }, { 959, 960 }, { 300, 288 }, { 14, 0 }, { 15, 16 } })
        EXPECT_EQ(AlignTo16(side), aligned) << side;
    Painting painting({ 768, 980 });
    painting.setCropRegion(Rect(5, 7, 14.9f, 980));
    EXPECT_EQ(painting.cropRect(), Rect(5, 7, 0, 976));
    EXPECT_EQ(painting.unalignedCropRect(), Rect(5, 7, 14.9f, 980));
}

TEST(PaintingImage, PictureIsUprightOverTheBackgroundAndMatchesTheView)
{
    ScopedDeviceProfile device(DeviceProfile::tablet());
    // A thick red line along the top, on blue.
    auto painting = makePainting(300, 200, 0);
    painting->setBackgroundColor(Color::rgba(0, 0, 1, 1));
    painting->setBrushColorWithSolidColor(Color::rgba(1, 0, 0, 1));
    painting->switchBrush(penType);
    painting->setBrushSize(12);
    drawStroke(*painting, penType, { { 10, 20 }, { 150, 20 }, { 290, 20 } });
    const QImage image = painting->getPaintingImage().qimage();
    ASSERT_EQ(image.size(), QSize(300, 200));
    EXPECT_EQ(image.pixel(150, 20), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(150, 180), qRgb(0, 0, 255));
    platform::ImageContext view({ 300, 200 }, false, 1);
    painting->drawPaintingTo(view);
    EXPECT_EQ(view.image().qimage(), image);
    // The crop's size is taken from the top left: its origin is not applied.
    painting->setCropRect(Rect(40, 40, 100, 30));
    EXPECT_EQ(painting->getPaintingImage().qimage(), image.copy(0, 0, 100, 30));

    // A background picture replaces the colour, upright at its own size.
    QImage photo(100, 80, QImage::Format_ARGB32_Premultiplied);
    photo.fill(Qt::yellow);
    QPainter(&photo).fillRect(0, 0, 100, 40, Qt::green);
    painting->setBackgroundImage(platform::Image(photo));
    painting->setCropRect(Rect(0, 0, 300, 200));
    const QImage withPhoto = painting->getPaintingImage().qimage();
    EXPECT_EQ(withPhoto.pixel(50, 30), qRgb(0, 255, 0));
    EXPECT_EQ(withPhoto.pixel(50, 70), qRgb(255, 255, 0));
    EXPECT_EQ(qAlpha(withPhoto.pixel(150, 120)), 0);
}
