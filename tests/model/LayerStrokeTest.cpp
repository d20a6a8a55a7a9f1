#include "Classes/brushes/Brush.h"
#include "Classes/model/Layer.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using platform::Point;
using platform::Rect;

namespace {

std::unique_ptr<Brush> pen()
{
    auto brush = Brush::createBrush(13, nullptr);
    brush->setMirrix(0, { 100, 100 });
    return brush;
}

// A brush that strokes its whole path on every segment in translucent black,
// so drawing a part twice shows as a darker pixel.
class WholePathBrush final : public Brush {
public:
    WholePathBrush()
    {
        m_type = 13;
        m_mustRedrawWholeStrokePath = true;
        setMirrix(0, { 0, 0 });
    }
    Rect drawStroke(platform::GraphicsContext& context, const platform::Path& path) override
    {
        context.saveGState();
        context.setLineWidth(6);
        context.setStrokeColor(platform::Color::rgba(0, 0, 0, 0.5f));
        context.addPath(path);
        context.strokePath();
        context.restoreGState();
        return updateDirtyRect(path, 4);
    }
};

// Alpha of the canvas pixel under painting point (x, y); the canvas keeps the
// painting's bottom row first.
int alphaAt(const Layer& layer, const uint8_t* memory, int x, int y)
{
    int row = static_cast<int>(layer.height()) - 1 - y;
    return memory[(static_cast<size_t>(row) * static_cast<size_t>(layer.width()) + x) * 4 + 3];
}

}

TEST(LayerStroke, MovesCloserThanTwentyPointsInSumAreDropped)
{
    auto layer = Layer::createWithSize({ 300, 300 });
    auto brush = pen();
    layer->strokeFromWithBrush(*brush, { 100, 100 });

    EXPECT_TRUE(layer->strokeTo({ 112, 107 }).isNull());
    EXPECT_EQ(layer->currentStroke()->getStrokePointsNumber(), 1);

    Rect drawn = layer->strokeTo({ 112, 108 });
    EXPECT_FALSE(drawn.isNull());
    EXPECT_EQ(layer->currentStroke()->getStrokePointsNumber(), 2);
    EXPECT_EQ(layer->dirtyRect(), drawn);

    // The spacing counts from the last recorded point, not the last touch.
    EXPECT_TRUE(layer->strokeTo({ 122, 108 }).isNull());
    EXPECT_FALSE(layer->strokeTo({ 132, 108 }).isNull());
    EXPECT_EQ(layer->currentStroke()->getStrokePointsNumber(), 3);
    // Backwards counts too.
    EXPECT_FALSE(layer->strokeTo({ 112, 108 }).isNull());
}

TEST(LayerStroke, StrokeBegunAndEndedInOnePlaceHoldsTwoPoints)
{
    auto layer = Layer::createWithSize({ 200, 200 });
    auto brush = pen();
    layer->strokeFromWithBrush(*brush, { 50.7f, 60.2f });
    Rect drawn = layer->strokeEnd({ 50.7f, 60.2f });

    ASSERT_EQ(layer->getStrokeNumber(), 1);
    EXPECT_EQ(layer->currentStroke(), nullptr);
    const auto& points = layer->strokeList()[0]->strokePoints();
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].CGPoint(), (Point { 50, 60 }));
    EXPECT_EQ(points[1].CGPoint(), (Point { 50, 60 }));
    EXPECT_EQ(layer->getStrokePointsNumber(), 2);
    EXPECT_TRUE(drawn.contains({ 50, 60 }));
}

TEST(LayerStroke, CallsWithoutAStrokeChangeNothing)
{
    auto layer = Layer::createWithSize({ 100, 100 });
    EXPECT_TRUE(layer->strokeTo({ 50, 50 }).isNull());
    EXPECT_TRUE(layer->strokeEnd({ 50, 50 }).isNull());
    EXPECT_EQ(layer->getStrokeNumber(), 0);
    EXPECT_EQ(layer->undoSnapshotCount(), 0u);
}

TEST(LayerStroke, FinishedStrokeReachesTheOffscreenCanvasOnlyWhenItEnds)
{
    auto layer = Layer::createWithSize({ 200, 200 });
    auto brush = pen();
    const size_t bytes = 200 * 200 * 4;
    layer->strokeFromWithBrush(*brush, { 20, 20 });
    layer->strokeTo({ 80, 30 });
    layer->strokeTo({ 150, 90 });
    EXPECT_NE(std::memcmp(layer->layerBitmapBuffer(), layer->offscreenBitmapBuffer(), bytes), 0);
    for (size_t i = 0; i < bytes; ++i)
        ASSERT_EQ(layer->offscreenBitmapBuffer()[i], 0) << i;

    layer->strokeEnd({ 160, 160 });
    EXPECT_EQ(std::memcmp(layer->layerBitmapBuffer(), layer->offscreenBitmapBuffer(), bytes), 0);
}

TEST(LayerStroke, WholePathBrushRedrawsOverTheLayerAsItWasBeforeTheStroke)
{
    auto layer = Layer::createWithSize({ 200, 200 });
    WholePathBrush brush;

    // A first stroke across the path of the second, which must survive the wipes.
    layer->strokeFromWithBrush(brush, { 60, 10 });
    layer->strokeEnd({ 60, 190 });
    const int crossingBefore = alphaAt(*layer, layer->layerBitmapBuffer(), 60, 100);

    layer->strokeFromWithBrush(brush, { 10, 100 });
    layer->strokeTo({ 40, 100 });
    const int afterOneSegment = alphaAt(*layer, layer->layerBitmapBuffer(), 20, 100);
    layer->strokeTo({ 100, 100 });
    layer->strokeTo({ 160, 100 });
    layer->strokeEnd({ 190, 100 });

    EXPECT_GT(afterOneSegment, 0);
    // Without the wipe the start would be stroked four times and grow darker.
    EXPECT_EQ(alphaAt(*layer, layer->layerBitmapBuffer(), 20, 100), afterOneSegment);
    EXPECT_GT(alphaAt(*layer, layer->layerBitmapBuffer(), 60, 100), crossingBefore);
    EXPECT_EQ(alphaAt(*layer, layer->layerBitmapBuffer(), 60, 20), crossingBefore);
}
