#include "Classes/brushes/ShapeBrush.h"
#include "BrushTestHelpers.h"
#include "Classes/brushes/CircleChasisBrush.h"
#include "Classes/brushes/CircleFlowerBrush.h"

using namespace brushtest;

TEST(ShapeBrush, AClosedLoopFillsItsInsideAndReportsTheWholeShape)
{
    TestCanvas loop(200, 200);
    ShapeBrush brush;
    brush.setMirrix(0, { 100, 100 });
    brush.setColor(Color::rgba(1, 0, 0, 1));
    auto stroke = drawLiveStroke(brush, loop, loopPoints({ 100, 100 }, 60, 1, 16));
    EXPECT_EQ(loop.pixel(100, 100), 0xffff0000u);
    EXPECT_EQ(loop.pixel(100, 150), 0xffff0000u);
    EXPECT_EQ(loop.alpha(100, 170), 0);
    EXPECT_EQ(loop.alpha(20, 100), 0);
    EXPECT_TRUE(stroke->dirtyRect().contains({ 41, 41 }));
    EXPECT_TRUE(stroke->dirtyRect().contains({ 159, 159 }));
}

TEST(ShapeBrush, ALoopWoundTwiceIsSolidAtItsCentre)
{
    TestCanvas canvas(200, 200);
    ShapeBrush brush;
    brush.setColor(Color::rgba(0, 1, 0, 1));
    auto points = loopPoints({ 100, 100 }, 60, 2, 32);
    platform::Path path;
    path.moveTo(points.front());
    for (size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i]);
    brush.drawStroke(canvas.context(), path);
    EXPECT_EQ(canvas.pixel(100, 100), 0xff00ff00u);
}

TEST(CircleChasisBrush, FillsACircleSpanningTwoTouchPoints)
{
    TestCanvas canvas(200, 200);
    CircleChasisBrush brush;
    brush.setColor(Color::rgba(1, 1, 0, 1));
    brush.strokeFrom(canvas.context(), { 50, 100 });
    // Diameter 40 about (70, 100), widened by 4.
    EXPECT_EQ(brush.strokeTo(canvas.context(), { 90, 100 }), Rect(46, 76, 48, 48));
    EXPECT_EQ(canvas.pixel(70, 82), 0xffffff00u);
    EXPECT_EQ(canvas.alpha(70, 77), 0);
}

TEST(CircleFlowerBrush, RingsItsGridCellWithCirclesUpToTwiceTheStep)
{
    {
        ScopedDeviceProfile phone(DeviceProfile::phone());
        EXPECT_EQ(CircleFlowerBrush::gridCentre({ 130, 260 }), (Point { 120, 280 }));
    }
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    EXPECT_EQ(CircleFlowerBrush::gridCentre({ 130, 260 }), (Point { 150, 250 }));
    EXPECT_EQ(CircleFlowerBrush::gridCentre({ 0, 99.5f }), (Point { 50, 50 }));
    TestCanvas canvas(300, 300);
    CircleFlowerBrush brush;
    brush.setColor(Color::rgba(1, 1, 1, 1));
    brush.prepareBrush();
    brush.strokeFrom(canvas.context(), { 130, 250 });
    // Step 10, so radius 20 about (150, 250), widened by 4.
    EXPECT_EQ(brush.strokeTo(canvas.context(), { 130, 260 }), Rect(126, 226, 48, 48));
    EXPECT_GT(canvas.alpha(170, 250), 0);
    EXPECT_EQ(canvas.alpha(150, 250), 0);

    // On a high-resolution phone, a fast step's circles would be too large to draw.
    ScopedDeviceProfile retina(DeviceProfile::retinaPhone());
    TestCanvas small(300, 300);
    CircleFlowerBrush fine;
    fine.prepareBrush();
    fine.strokeFrom(small.context(), { 100, 100 });
    EXPECT_TRUE(fine.strokeTo(small.context(), { 136, 100 }).isNull()); // radius 72
    EXPECT_EQ(small.paintedPixelCount(), 0);
    EXPECT_FALSE(fine.strokeTo(small.context(), { 150, 100 }).isNull()); // radius 28
}
