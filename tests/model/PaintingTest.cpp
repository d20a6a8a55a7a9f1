#include "Classes/brushes/Mirrix.h"
#include "ModelTestSupport.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/PainterContext.h"
#include "platform/system/Device.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using platform::Color;
using platform::DeviceProfile;
using platform::Point;
using platform::Rect;
using platform::ScopedDeviceProfile;
using platform::Size;

namespace {

constexpr int penType = 13;
// A type the factory makes no brush for.
constexpr int noBrushType = 12;

// A painting with glowing, mirrored, pattern and eraser strokes.
std::unique_ptr<Painting> paintedPainting(int width, int height)
{
    auto painting = makePainting(width, height, 4);
    painting->setBackgroundColor(Color::rgba(0.1f, 0.3f, 0.6f, 1));
    drawStroke(*painting, 37, { { 30, 40 }, { 120, 90 }, { 200, 60 }, { 260, 200 } });
    drawStroke(*painting, 64, { { 50, 300 }, { 140, 250 }, { 220, 330 } });
    drawStroke(*painting, 23, { { 20, 200 }, { 150, 180 }, { 300, 220 } });
    return painting;
}

QImage throughPainter(const Painting& painting, QSize imageSize, const QTransform& transform)
{
    QImage image(imageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setTransform(transform);
    {
        platform::PainterContext context(painter, Size { float(painting.width()), float(painting.height()) });
        painting.drawPaintingTo(context);
    }
    // The painter is left as the widget set it.
    EXPECT_EQ(painter.transform(), transform);
    EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
    EXPECT_EQ(painter.opacity(), 1.0);
    return image;
}


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
    EXPECT_FALSE(painting.isSaved()) << "a stroke ended by a switch is as unsaved as a lifted one";
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

// A canvas widget draws the painting straight into its own painter; the pixels
// are those of a picture of the painting, in movie mode too, and wherever the
// widget's painter has placed the canvas.
TEST(PainterContext, DrawsThePaintingAsAPictureOfItWouldShowIt)
{
    for (bool withPhoto : { false, true }) {
        SCOPED_TRACE(withPhoto ? "photo background" : "colour background");
        auto painting = paintedPainting(320, 416);
        if (withPhoto) {
            QImage photo(320, 416, QImage::Format_ARGB32_Premultiplied);
            photo.fill(QColor(200, 120, 40));
            QPainter(&photo).fillRect(40, 60, 100, 80, QColor(20, 200, 90));
            painting->setBackgroundImage(platform::Image(photo));
        }
        for (bool replaying : { false, true }) {
            if (replaying) {
                painting->startPlayback();
                painting->playback();
            }
            platform::ImageContext picture(Size { 320, 416 }, false, 1);
            painting->drawPaintingTo(picture);
            const QImage expected = picture.image().qimage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            EXPECT_EQ(throughPainter(*painting, { 320, 416 }, {}), expected) << replaying;

            const QImage moved = throughPainter(*painting, { 360, 456 }, QTransform::fromTranslate(25, 30));
            EXPECT_EQ(moved.copy(25, 30, 320, 416), expected) << replaying;
            EXPECT_EQ(moved.pixel(10, 10), 0u);
        }
        painting->stopPlayback();
    }
}
