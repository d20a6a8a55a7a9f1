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
        // Modes 1 and 2 reflect across x = centre.x and y = centre.y, for a
        // brush made after the mode was set and for one already made.
        painting.setMirrixMode(1);
        painting.switchBrush(penType);
        EXPECT_EQ(painting.brush()->mirrix()->getMatrix()[1].map({ 0, 0 }), (Point { 320, 0 }));
        painting.setMirrixMode(2);
        EXPECT_EQ(painting.brush()->mirrix()->getMatrix()[1].map({ 0, 0 }), (Point { 0, 416 }));
    }
}

// Strokes go to the active layer, and only a finished one makes the painting unsaved.
TEST(PaintingBrush, SwitchingKeepsTheSameTypesBrushAndFinishesAStrokeInProgressWithTheOldOne)
{
    Painting painting({ 200, 200 });
    painting.addTransparentLayer();
    painting.addTransparentLayer();
    painting.setIsSaved(true);
    painting.setBrushColorWithSolidColor(Color::rgba(1, 0.5f, 0, 1));
    painting.switchBrush(penType);
    painting.setBrushSize(9);
    Brush* pen = painting.brush();
    painting.switchBrush(penType);
    ASSERT_EQ(painting.brush(), pen);
    EXPECT_EQ(pen->brushData().size, 9.0f);

    painting.strokeFrom({ 10, 10 });
    EXPECT_EQ(painting.dirtyRect(), painting.strokeTo({ 60, 60 }));
    EXPECT_TRUE(painting.isSaved());
    painting.switchBrush(noBrushType);
    EXPECT_EQ(painting.layerArray()[0]->getStrokeNumber(), 0);
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

    // Finished strokes, whether lifted or ended by a switch, keep no pointer to
    // a brush that the next switch destroys; a replay lends them its own.
    drawStroke(painting, 11, { { 20, 20 }, { 90, 40 }, { 150, 150 } });
    EXPECT_FALSE(painting.isSaved());
    painting.setBrush(Brush::createBrush(penType, nullptr));
    for (const auto& stroke : painting.activeLayer()->strokeList())
        EXPECT_EQ(stroke->brush(), nullptr);
    painting.startPlayback();
    replayToEnd(painting);
    painting.stopPlayback();
    for (const auto& stroke : painting.activeLayer()->strokeList())
        EXPECT_EQ(stroke->brush(), nullptr);
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
    // The crop's sides align to 16 by adding one, then rounding down; its size
    // is taken from the top left, its origin is not applied.
    painting->setCropRegion(Rect(40, 40, 300, 31));
    EXPECT_EQ(painting->unalignedCropRect(), Rect(40, 40, 300, 31));
    EXPECT_EQ(painting->getPaintingImage().qimage(), image.copy(0, 0, 288, 32));

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
