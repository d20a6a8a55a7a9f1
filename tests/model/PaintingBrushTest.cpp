#include "Classes/brushes/Brush.h"
#include "Classes/brushes/Mirrix.h"
#include "Classes/model/Painting.h"

#include <gtest/gtest.h>

using platform::Color;
using platform::Point;
using platform::Rect;

namespace {

constexpr int penType = 13;
// A type the factory makes no brush for.
constexpr int noBrushType = 12;

}

TEST(PaintingBrush, NewPaintingStartsInRandomColourWithMirrorModeNine)
{
    Painting painting({ 320.7f, 416.2f });
    EXPECT_EQ(painting.width(), 320);
    EXPECT_EQ(painting.height(), 416);
    EXPECT_EQ(painting.brushType(), Painting::defaultBrushType);
    EXPECT_EQ(painting.mirrixMode(), 9);
    EXPECT_TRUE(painting.isRandomColor());
    EXPECT_EQ(painting.brushColor(), Color::white());
    EXPECT_EQ(painting.backgroundColor(), Color::rgba(0, 0, 0, 1));
    EXPECT_TRUE(painting.cropRect().isNull());
    EXPECT_EQ(painting.dirtyRect(), Rect::zero());
    EXPECT_FALSE(painting.isSaved());
    EXPECT_NE(painting.patternManager(), nullptr);
    EXPECT_EQ(painting.layers(), 0);
    EXPECT_EQ(painting.activeLayer(), nullptr);
}

TEST(PaintingBrush, SwitchingToTheCurrentTypeKeepsTheSameBrush)
{
    Painting painting({ 320, 416 });
    painting.switchBrush(penType);
    Brush* pen = painting.brush();
    ASSERT_NE(pen, nullptr);
    painting.setBrushSize(9);
    painting.switchBrush(penType);
    EXPECT_EQ(painting.brush(), pen);
    EXPECT_EQ(painting.brush()->brushData().size, 9.0f);
}

TEST(PaintingBrush, NewBrushFollowsTheColourMode)
{
    Painting painting({ 320, 416 });
    painting.switchBrush(noBrushType);
    painting.switchBrush(penType);
    ASSERT_NE(painting.brush(), nullptr);
    EXPECT_TRUE(painting.brush()->isRandomColor());
    EXPECT_EQ(painting.brush()->mode(), 0) << "a random-colour brush is given no colour";

    const Color orange = Color::rgba(1, 0.5f, 0, 1);
    painting.setBrushColorWithSolidColor(orange);
    EXPECT_FALSE(painting.isRandomColor());
    painting.switchBrush(noBrushType);
    EXPECT_EQ(painting.brush(), nullptr);
    painting.switchBrush(penType);
    ASSERT_NE(painting.brush(), nullptr);
    EXPECT_FALSE(painting.brush()->isRandomColor());
    EXPECT_EQ(painting.brush()->mode(), Brush::modeSolidColor);
    EXPECT_EQ(painting.brush()->brushData().red, 255);
    EXPECT_EQ(painting.brush()->brushData().green, 127);
    EXPECT_EQ(painting.brush()->brushData().blue, 0);

    painting.setBrushColorWithRandomColor();
    EXPECT_TRUE(painting.isRandomColor());
    EXPECT_FALSE(painting.brushColor().has_value());
    EXPECT_TRUE(painting.brush()->isRandomColor());
}

TEST(PaintingBrush, MirrorTurnsAboutTheWholePointCentre)
{
    for (platform::Size size : { platform::Size { 320, 416 }, platform::Size { 321, 417 } }) {
        Painting painting(size);
        painting.switchBrush(penType);
        // Modes 1 and 2 reflect across x = centre.x and y = centre.y.
        painting.setMirrixMode(1);
        EXPECT_EQ(painting.mirrixMode(), 1);
        ASSERT_EQ(painting.brush()->mirrix()->matrixNumber(), 2);
        EXPECT_EQ(painting.brush()->mirrix()->getMatrix()[1].map({ 0, 0 }), (Point { 320, 0 }));
        EXPECT_EQ(painting.brush()->brushData().mirrixMode, 1u);
        painting.setMirrixMode(2);
        EXPECT_EQ(painting.brush()->mirrix()->getMatrix()[1].map({ 0, 0 }), (Point { 0, 416 }));
        // A brush made later gets the painting's mode and centre too.
        painting.switchBrush(noBrushType);
        painting.switchBrush(penType);
        EXPECT_EQ(painting.brush()->mirrix()->getMatrix()[1].map({ 0, 0 }), (Point { 0, 416 }));
    }
}

TEST(PaintingBrush, StrokesWithoutBrushOrLayerReturnTheZeroRectangle)
{
    Painting painting({ 200, 200 });
    painting.switchBrush(penType);
    painting.strokeFrom({ 10, 10 });
    EXPECT_EQ(painting.strokeTo({ 100, 100 }), Rect::zero());
    EXPECT_EQ(painting.strokeEnd({ 150, 100 }), Rect::zero());

    painting.addTransparentLayer();
    painting.switchBrush(noBrushType);
    painting.strokeFrom({ 10, 10 });
    EXPECT_EQ(painting.strokeTo({ 100, 100 }), Rect::zero());
    EXPECT_EQ(painting.strokeEnd({ 150, 100 }), Rect::zero());
    EXPECT_EQ(painting.activeLayer()->getStrokeNumber(), 0);
    EXPECT_FALSE(painting.undoStroke());
}

TEST(PaintingBrush, StrokeCallsReachTheActiveLayerAndMarkItUnsaved)
{
    Painting painting({ 200, 200 });
    painting.addTransparentLayer();
    painting.addTransparentLayer();
    EXPECT_EQ(painting.layers(), 2);
    EXPECT_EQ(painting.activeLayer(), painting.layerArray()[1].get());
    EXPECT_EQ(painting.activeLayer()->patternManager(), painting.patternManager());

    painting.switchBrush(penType);
    painting.setIsSaved(true);
    painting.strokeFrom({ 10, 10 });
    EXPECT_TRUE(painting.strokeTo({ 15, 15 }).isNull()) << "too close to be recorded";
    Rect moved = painting.strokeTo({ 100, 100 });
    EXPECT_FALSE(moved.isNull());
    EXPECT_EQ(painting.dirtyRect(), moved);
    EXPECT_TRUE(painting.isSaved()) << "only a finished stroke unsaves";
    Rect ended = painting.strokeEnd({ 150, 100 });
    EXPECT_EQ(painting.dirtyRect(), ended);
    EXPECT_FALSE(painting.isSaved());
    EXPECT_EQ(painting.layerArray()[1]->getStrokeNumber(), 1);
    EXPECT_EQ(painting.layerArray()[0]->getStrokeNumber(), 0);

    EXPECT_TRUE(painting.undoStroke());
    EXPECT_EQ(painting.activeLayer()->getStrokeNumber(), 0);
    EXPECT_FALSE(painting.undoStroke());
}

TEST(PaintingBrush, NotSavedNeedsTwoUnsavedStrokesOnTheFirstLayer)
{
    Painting painting({ 200, 200 });
    EXPECT_FALSE(painting.notSaved());
    painting.addTransparentLayer();
    painting.switchBrush(penType);
    auto stroke = [&painting](float y) {
        painting.strokeFrom({ 10, y });
        painting.strokeEnd({ 150, y });
    };
    stroke(20);
    EXPECT_FALSE(painting.notSaved());
    stroke(60);
    EXPECT_TRUE(painting.notSaved());
    painting.setIsSaved(true);
    EXPECT_FALSE(painting.notSaved());
    stroke(100);
    EXPECT_TRUE(painting.notSaved());
}

TEST(PaintingBrush, SwitchingBrushMidStrokeFinishesTheStrokeWithTheOldBrush)
{
    Painting painting({ 200, 200 });
    painting.addTransparentLayer();
    painting.switchBrush(penType);
    painting.strokeFrom({ 10, 10 });
    painting.strokeTo({ 60, 60 });
    painting.switchBrush(noBrushType);
    ASSERT_EQ(painting.activeLayer()->getStrokeNumber(), 1);
    const auto& points = painting.activeLayer()->strokeList()[0]->strokePoints();
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[2].CGPoint(), (Point { 60, 60 }));
    EXPECT_EQ(points[2].brushData().type, static_cast<uint32_t>(penType));
    EXPECT_EQ(painting.strokeEnd({ 100, 100 }), Rect::zero());
}
