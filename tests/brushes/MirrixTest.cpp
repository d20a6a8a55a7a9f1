#include "Classes/brushes/Mirrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using platform::AffineTransform;
using platform::Point;

namespace {

constexpr Point centre { 160, 240 };

struct Expected {
    int degrees;
    bool mirrored;
};

// O + R(θ)·S·(p - O), with S the left-right flip when mirrored; a positive angle
// turns clockwise on a y-down screen.
Point expectedMap(Point p, Point origin, int degrees, bool mirrored)
{
    const double theta = degrees * std::numbers::pi / 180.0;
    double x = p.x - origin.x;
    const double y = p.y - origin.y;
    if (mirrored)
        x = -x;
    return { static_cast<float>(origin.x + x * std::cos(theta) - y * std::sin(theta)),
        static_cast<float>(origin.y + x * std::sin(theta) + y * std::cos(theta)) };
}

void expectTransforms(const Mirrix& mirrix, Point origin, const std::vector<Expected>& expected)
{
    ASSERT_EQ(mirrix.matrixNumber(), static_cast<int32_t>(expected.size()));
    ASSERT_EQ(mirrix.getMatrix().size(), expected.size());
    const Point samples[] = { { 100, 50 }, { 300, 420 }, origin, { 0, 0 } };
    for (size_t i = 0; i < expected.size(); ++i) {
        for (Point p : samples) {
            Point got = mirrix.getMatrix()[i].map(p);
            Point want = expectedMap(p, origin, expected[i].degrees, expected[i].mirrored);
            EXPECT_NEAR(got.x, want.x, 2e-3) << "entry " << i << " at (" << p.x << ", " << p.y << ")";
            EXPECT_NEAR(got.y, want.y, 2e-3) << "entry " << i << " at (" << p.x << ", " << p.y << ")";
        }
    }
}

std::vector<Expected> mirrorAndRotate(int n, int step)
{
    std::vector<Expected> list { { 0, false } };
    for (int k = 0; k < n; ++k) {
        if (k > 0)
            list.push_back({ k * step, false });
        list.push_back({ k * step, true });
    }
    return list;
}

Mirrix mirrixWithMode(int32_t mode, Point origin = centre)
{
    Mirrix mirrix;
    mirrix.setMode(mode, origin);
    return mirrix;
}

}

TEST(MirrixTest, FreshObjectHoldsOnlyTheIdentity)
{
    Mirrix mirrix;
    ASSERT_EQ(mirrix.matrixNumber(), 1);
    EXPECT_TRUE(mirrix.getMatrix()[0].isIdentity());
}

TEST(MirrixTest, ReflectionsAboutTheCentre)
{
    Mirrix leftRight = mirrixWithMode(1);
    ASSERT_EQ(leftRight.matrixNumber(), 2);
    EXPECT_TRUE(leftRight.getMatrix()[0].isIdentity());
    EXPECT_EQ(leftRight.getMatrix()[1].map({ 100, 50 }), (Point { 220, 50 }));
    EXPECT_EQ(leftRight.getMatrix()[1].map({ 100, 300 }), (Point { 220, 300 }));

    Mirrix topBottom = mirrixWithMode(2);
    ASSERT_EQ(topBottom.matrixNumber(), 2);
    EXPECT_EQ(topBottom.getMatrix()[1].map({ 70, 100 }), (Point { 70, 380 }));
    EXPECT_EQ(topBottom.getMatrix()[1].map({ 300, 100 }), (Point { 300, 380 }));
    EXPECT_EQ(topBottom.mode(), 2);
}

TEST(MirrixTest, OrderFourIsEightCopiesOfQuarterTurnsEachAlsoMirrored)
{
    Mirrix mirrix = mirrixWithMode(4);
    expectTransforms(mirrix, centre,
        { { 0, false }, { 0, true }, { 90, false }, { 90, true }, { 180, false }, { 180, true }, { 270, false },
            { 270, true } });

    // A point right of the centre turns to below it (clockwise on screen).
    Point turned = mirrix.getMatrix()[2].map({ 170, 240 });
    EXPECT_NEAR(turned.x, 160, 1e-3);
    EXPECT_NEAR(turned.y, 250, 1e-3);
}

TEST(MirrixTest, OrdersFiveToNineUseWholeDegreeSteps)
{
    const int steps[] = { 72, 60, 51, 45, 40 };
    for (int n = 5; n <= 9; ++n) {
        SCOPED_TRACE(n);
        expectTransforms(mirrixWithMode(n), centre, mirrorAndRotate(n, steps[n - 5]));
    }
    EXPECT_EQ(mirrixWithMode(9).matrixNumber(), Mirrix::capacity);
}

TEST(MirrixTest, OrderSevenRotatesBy51DegreesLeavingA54DegreeGap)
{
    Mirrix mirrix = mirrixWithMode(7);
    ASSERT_EQ(mirrix.matrixNumber(), 14);
    const int rotations[] = { 51, 102, 153, 204, 255, 306 };
    for (int k = 1; k <= 6; ++k) {
        // The plain rotations sit at the even entries after the first mirror.
        Point p = mirrix.getMatrix()[static_cast<size_t>(2 * k)].map({ centre.x + 100, centre.y });
        double angle = std::atan2(p.y - centre.y, p.x - centre.x) * 180.0 / std::numbers::pi;
        if (angle < 0)
            angle += 360;
        EXPECT_NEAR(angle, rotations[k - 1], 1e-3);
    }
}

TEST(MirrixTest, FansRotateWithoutMirroring)
{
    expectTransforms(mirrixWithMode(10), centre, { { 0, false }, { 72, false }, { 144, false }, { 216, false }, { 288, false } });
    expectTransforms(mirrixWithMode(11), centre,
        { { 0, false }, { 60, false }, { 120, false }, { 180, false }, { 240, false }, { 300, false } });
    const Mirrix fan = mirrixWithMode(10);
    for (const AffineTransform& t : fan.getMatrix())
        EXPECT_GT(t.a * t.d - t.b * t.c, 0);
}

TEST(MirrixTest, TransformsFollowTheOriginGiven)
{
    const Point oddCentre { 160.5, 208.5 };
    expectTransforms(mirrixWithMode(5, oddCentre), oddCentre, mirrorAndRotate(5, 72));
    EXPECT_EQ(mirrixWithMode(1, oddCentre).getMatrix()[1].map({ 100, 7 }), (Point { 221, 7 }));
}

TEST(MirrixTest, ModesWithoutCopiesLeaveOnlyTheIdentity)
{
    for (int32_t mode : { 0, 3, 12, 13, 15, 16, -1, -4 }) {
        SCOPED_TRACE(mode);
        Mirrix mirrix = mirrixWithMode(mode);
        ASSERT_EQ(mirrix.matrixNumber(), 1);
        EXPECT_TRUE(mirrix.getMatrix()[0].isIdentity());
        EXPECT_EQ(mirrix.mode(), mode);
    }
}

TEST(MirrixTest, ASecondSetModeNeverOverrunsTheFixedArray)
{
    Mirrix mirrix;
    mirrix.setMode(9, centre);
    mirrix.setMode(9, centre);
    EXPECT_EQ(mirrix.matrixNumber(), Mirrix::capacity);

    Mirrix twice;
    twice.setMode(1, centre);
    twice.setMode(2, centre);
    ASSERT_EQ(twice.matrixNumber(), 3);
    EXPECT_EQ(twice.getMatrix()[2].map({ 10, 100 }), (Point { 10, 380 }));
}

TEST(MirrixTest, RadiansAreComputedInDoublePrecision)
{
    EXPECT_DOUBLE_EQ(Mirrix::radians(180), std::numbers::pi);
    EXPECT_DOUBLE_EQ(Mirrix::radians(51), 51 * std::numbers::pi / 180);
}
