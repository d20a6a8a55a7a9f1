#include "Classes/brushes/ShapeBrush.h"
#include "BrushTestHelpers.h"
#include "Classes/brushes/CircleFlowerBrush.h"

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
