#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Path.h"

#include <gtest/gtest.h>
#include <numbers>

using namespace platform;

TEST(Rect, NullIsDistinctFromZeroAndUnionWithNullGivesTheOther)
{
    Rect null = Rect::null();
    EXPECT_TRUE(null.isNull());
    EXPECT_FALSE(Rect::zero().isNull());
    Rect r(1, 2, 3, 4);
    EXPECT_EQ(null.united(r), r);
    EXPECT_EQ(r.united(null), r);
    EXPECT_EQ(Rect::zero().united(r), Rect(0, 0, 4, 6)); // zero is a real point
    EXPECT_TRUE(Rect(0, 0, 1, 1).intersected(Rect(5, 5, 1, 1)).isNull());
}

TEST(Rect, IntegralRoundsOutward)
{
    EXPECT_EQ(Rect(1.5f, -0.5f, 2.2f, 1.0f).integral(), Rect(1, -1, 3, 2));
    EXPECT_EQ(Rect(0, 0, -2, -2).standardized(), Rect(-2, -2, 2, 2));
}

TEST(AffineTransform, OperationsPrependSoTheyActFirst)
{
    // Translate by O, rotate, translate by −O: a rotation about O.
    Point o { 160, 240 };
    auto t = AffineTransform::makeTranslation(o.x, o.y).rotated(std::numbers::pi_v<float> / 2).translated(-o.x, -o.y);
    Point p = t.map({ 170, 240 });
    EXPECT_NEAR(p.x, 160, 1e-3);
    EXPECT_NEAR(p.y, 250, 1e-3);

    auto scaleThenMove = AffineTransform::makeTranslation(10, 0).scaled(2, 2);
    EXPECT_EQ(scaleThenMove.map({ 1, 1 }), (Point { 12, 2 }));
    auto moveThenScale = AffineTransform::makeTranslation(10, 0).concatenated(AffineTransform::makeScale(2, 2));
    EXPECT_EQ(moveThenScale.map({ 1, 1 }), (Point { 22, 2 }));
    auto inverse = scaleThenMove.inverted();
    EXPECT_EQ(inverse.map({ 12, 2 }), (Point { 1, 1 }));
}

TEST(AffineTransform, MapRectGivesTheBoundingBoxAndKeepsNull)
{
    auto mirror = AffineTransform::makeTranslation(100, 0).scaled(-1, 1);
    EXPECT_EQ(mirror.mapRect(Rect(10, 5, 20, 5)), Rect(70, 5, 20, 5));
    auto quarter = AffineTransform::makeRotation(std::numbers::pi_v<float> / 4);
    Rect box = quarter.mapRect(Rect(0, 0, 10, 10));
    EXPECT_NEAR(box.width(), 14.142f, 1e-3);
    EXPECT_TRUE(mirror.mapRect(Rect::null()).isNull());
}

TEST(Path, BoundingBoxIncludesControlPoints)
{
    Path path;
    EXPECT_TRUE(path.boundingBox().isNull());
    path.moveTo({ 0, 0 });
    path.quadCurveTo({ 50, 100 }, { 100, 0 });
    EXPECT_EQ(path.boundingBox(), Rect(0, 0, 100, 100));
    EXPECT_EQ(path.currentPoint(), (Point { 100, 0 }));
}

TEST(Path, ArcToPointIsTangentToBothLines)
{
    Path path;
    path.moveTo({ 0, 0 });
    path.arcToPoint({ 10, 0 }, { 10, 10 }, 5);
    // The arc ends where it meets the second line, five from the corner.
    Point end = path.currentPoint();
    EXPECT_NEAR(end.x, 10, 1e-3);
    EXPECT_NEAR(end.y, 5, 1e-3);
    Rect box = path.boundingBox();
    EXPECT_LE(box.maxX(), 10.01f);
}
