#include "Classes/brushes/Mirrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

using platform::Point;

namespace {

struct Copy {
    int degrees;
    bool mirrored;
};

// O + R(θ)·S·(p - O), with S the left-right flip when mirrored; a positive angle
// turns clockwise on a y-down screen.
Point expectedMap(Point p, Point origin, Copy copy)
{
    const double theta = copy.degrees * std::numbers::pi / 180.0;
    const double x = copy.mirrored ? origin.x - p.x : p.x - origin.x;
    const double y = p.y - origin.y;
    return { static_cast<float>(origin.x + x * std::cos(theta) - y * std::sin(theta)),
        static_cast<float>(origin.y + x * std::sin(theta) + y * std::cos(theta)) };
}

// The copies of order n: rotations by whole steps, each also mirrored unless a fan.
std::vector<Copy> copies(int n, bool mirrored)
{
    std::vector<Copy> list { { 0, false } };
    for (int k = 0; k < n; ++k) {
        if (k > 0)
            list.push_back({ k * (360 / n), false });
        if (mirrored)
            list.push_back({ k * (360 / n), true });
    }
    return list;
}

}

// Orders five to nine turn by whole degrees, so seven leaves a 54-degree gap.
TEST(Mirrix, EachModeHoldsItsReflectionsAndRotationsAboutTheOrigin)
{
    struct Case {
        int32_t mode;
        std::vector<Copy> copies;
    };
    const std::vector<Copy> identity { { 0, false } };
    const Case cases[] = { { 0, identity }, { 3, identity }, { 12, identity }, { 16, identity },
        { -1, identity }, { 1, { { 0, false }, { 0, true } } }, { 2, { { 0, false }, { 180, true } } },
        { 4, copies(4, true) }, { 5, copies(5, true) }, { 6, copies(6, true) }, { 7, copies(7, true) },
        { 8, copies(8, true) }, { 9, copies(9, true) }, { 10, copies(5, false) }, { 11, copies(6, false) } };
    for (Point origin : { Point { 160, 240 }, Point { 160.5f, 208.5f } }) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "mode " << c.mode << " about " << origin.x << "," << origin.y);
            Mirrix mirrix;
            mirrix.setMode(c.mode, origin);
            EXPECT_EQ(mirrix.mode(), c.mode);
            ASSERT_EQ(mirrix.getMatrix().size(), c.copies.size());
            for (size_t i = 0; i < c.copies.size(); ++i) {
                for (Point p : { Point { 100, 50 }, Point { 300, 420 }, origin }) {
                    Point got = mirrix.getMatrix()[i].map(p);
                    Point want = expectedMap(p, origin, c.copies[i]);
                    EXPECT_NEAR(got.x, want.x, 2e-3) << "copy " << i;
                    EXPECT_NEAR(got.y, want.y, 2e-3) << "copy " << i;
                }
            }
        }
    }
}

// Modes append to the list; a second one must not run past its fixed array.
TEST(Mirrix, AFreshListIsTheIdentityAndASecondModeStopsAtTheCapacity)
{
    Mirrix fresh;
    ASSERT_EQ(fresh.matrixNumber(), 1);
    EXPECT_TRUE(fresh.getMatrix()[0].isIdentity());

    Mirrix twice;
    twice.setMode(9, { 160, 240 });
    twice.setMode(9, { 160, 240 });
    EXPECT_EQ(twice.matrixNumber(), Mirrix::capacity);
}
