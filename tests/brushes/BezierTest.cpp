#include "Classes/brushes/Bezier.h"

#include <gtest/gtest.h>

#include <cmath>

using platform::Point;

namespace {

float manhattan(Point a, Point b)
{
    return std::fabs(a.x - b.x) + std::fabs(a.y - b.y);
}

}

TEST(Bezier, PointsRunFromStartToEndLessThanTheThresholdApart)
{
    Bezier bezier;
    bezier.setThreashold(3);
    auto points = bezier.decomposeWithStartPoint({ 0, 0 }, { 40, 80 }, { 100, 10 });
    ASSERT_GE(points.size(), 2u);
    EXPECT_EQ(points.front(), (Point { 0, 0 }));
    EXPECT_EQ(points.back(), (Point { 100, 10 }));
    for (size_t i = 1; i < points.size(); ++i)
        EXPECT_LT(manhattan(points[i - 1], points[i]), 3.0f) << i;
}

TEST(Bezier, ShortSegmentsAndTapsGiveJustTheirEnds)
{
    Bezier bezier;
    bezier.setThreashold(5);
    auto shortOne = bezier.decomposeWithStartPoint({ 10, 10 }, { 11, 11 }, { 12, 12 });
    ASSERT_EQ(shortOne.size(), 2u);
    EXPECT_EQ(shortOne[1], (Point { 12, 12 }));
    auto tap = bezier.decomposeWithStartPoint({ 7, 7 }, { 7, 7 }, { 7, 7 });
    ASSERT_EQ(tap.size(), 2u);
    EXPECT_EQ(tap[0], tap[1]);
}

TEST(Bezier, KeepsAtMostFiveHundredPoints)
{
    Bezier bezier;
    bezier.setThreashold(1);
    auto points = bezier.decomposeWithStartPoint({ 0, 0 }, { 2000, 0 }, { 4000, 0 });
    ASSERT_EQ(points.size(), 500u);
    // The kept ones are the first 500, in order from the start.
    EXPECT_EQ(points[0], (Point { 0, 0 }));
    for (size_t i = 1; i < points.size(); ++i)
        ASSERT_GT(points[i].x, points[i - 1].x);
    EXPECT_LT(points.back().x, 1000.0f);
}

TEST(Bezier, ANonPositiveThresholdStillEnds)
{
    Bezier bezier;
    bezier.setThreashold(0);
    auto points = bezier.decomposeWithStartPoint({ 0, 0 }, { 1, 1 }, { 2, 0 });
    EXPECT_EQ(points.size(), 500u);
    bezier.setThreashold(2.5f);
}
