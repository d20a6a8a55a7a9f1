#include "Classes/brushes/ShapeBrush.h"
#include "BrushTestHelpers.h"
#include "Classes/brushes/CircleFlowerBrush.h"
#include "Classes/brushes/Mirrix.h"
#include "Classes/model/Layer.h"

// Filled by the non-zero rule, a loop drawn round twice has no hole in the middle.
TEST(ShapeBrush, ALoopWoundTwiceIsSolidAtItsCentre)
{
    TestCanvas canvas(200, 200);
    ShapeBrush brush;
    brush.setColor(Color::rgba(0, 1, 0, 1));
    // One fill of the whole path, as when the shape is redrawn over a restored canvas.
    const auto points = loopPoints({ 100, 100 }, 60, 2, 32);
    platform::Path path;
    path.moveTo(points.front());
    for (const Point& p : points)
        path.lineTo(p);
    brush.drawStroke(canvas.context(), path);
    EXPECT_EQ(canvas.pixel(100, 100), 0xff00ff00u);
}

// Step by step under the finger, the shape shows its whole path so far filled
// in every mirror copy, one copy over another, as QPainter fills them: the
// fill kept between steps neither loses nor repeats a part, and the copies,
// painted together, come out as painted in turn. One brush goes from canvas to
// canvas and mode to mode, as between paintings, and keeps nothing of the last.
TEST(ShapeBrush, EachStepShowsTheWholePathFilledInEveryMirrorCopy)
{
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    auto brush = Brush::createBrush(16, nullptr);
    brush->setColor(Color::rgba(0.2f, 0.6f, 0.9f, 1));
    brush_meta data = brush->brushData();
    data.alpha = 235;
    brush->setBrushData(data);
    const auto points = loopPoints({ 150, 110 }, 45, 1.7f, 26);
    for (auto [mode, width, height] : { std::tuple { 0, 240, 200 }, { 9, 240, 200 }, { 2, 260, 210 }, { 4, 240, 200 } }) {
        SCOPED_TRACE(mode);
        brush->setMirrix(mode, { width / 2.0f, height / 2.0f });
        auto layer = Layer::createWithSize({ static_cast<float>(width), static_cast<float>(height) });
        layer->strokeFromWithBrush(*brush, points.front());
        for (size_t i = 1; i < points.size(); ++i) {
            if (i + 1 < points.size())
                layer->strokeTo(points[i]);
            else
                layer->strokeEnd(points[i]);
            if (i % 5 != 0 && i + 1 < points.size())
                continue;
            TestCanvas expected(width, height);
            auto& context = expected.context();
            for (const platform::AffineTransform& transform : brush->mirrix()->getMatrix()) {
                context.saveGState();
                context.concatCTM(transform);
                context.setFillColor(Color::rgba(51 / 255.0f, 153 / 255.0f, 229 / 255.0f, 235 / 255.0f));
                context.addPath(*brush->strokePath());
                context.fillPath();
                context.restoreGState();
            }
            // The layer's rows run bottom-up, as the canvas's do.
            const QImage drawn(layer->layerBitmapBuffer(), width, height, width * 4, QImage::Format_ARGB32_Premultiplied);
            EXPECT_LE(maxChannelDifference(drawn.mirrored(false, true), expected.uprightImage()), 4) << "after step " << i;
            if (i + 1 == points.size()) {
                EXPECT_GT(expected.paintedPixelCount(), 4000);
            }
        }
    }
}

// The flower rings the centre of the grid cell it is in, a cell being 80 points on a
// phone and 100 on a tablet; on a high-resolution phone a fast step's circles would be
// too large to draw.
TEST(CircleFlowerBrush, RingsItsGridCellAndSkipsCirclesTooLargeForTheScreen)
{
    {
        ScopedDeviceProfile phone(DeviceProfile::phone());
        EXPECT_EQ(CircleFlowerBrush::gridCentre({ 130, 260 }), (Point { 120, 280 }));
    }
    ScopedDeviceProfile retina(DeviceProfile::retinaPhone());
    TestCanvas canvas(300, 300);
    CircleFlowerBrush brush;
    brush.prepareBrush();
    brush.strokeFrom(canvas.context(), { 100, 100 });
    EXPECT_TRUE(brush.strokeTo(canvas.context(), { 136, 100 }).isNull()); // radius 72
    EXPECT_EQ(canvas.paintedPixelCount(), 0);
    EXPECT_FALSE(brush.strokeTo(canvas.context(), { 150, 100 }).isNull()); // radius 28
}
