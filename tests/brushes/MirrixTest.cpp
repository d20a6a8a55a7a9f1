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

std::vector<Copy> mirrorAndRotate(int n, int step)
{
    std::vector<Copy> list { { 0, false } };
    for (int k = 0; k < n; ++k) {
        if (k > 0)
            list.push_back({ k * step, false });
        list.push_back({ k * step, true });
    }
    return list;
}

std::vector<Copy> fan(int n)
{
    std::vector<Copy> list;
    for (int k = 0; k < n; ++k)
        list.push_back({ k * 360 / n, false });
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
    const Case cases[] = {
        { 0, identity }, { 3, identity }, { 12, identity }, { 16, identity }, { -1, identity },
        { 1, { { 0, false }, { 0, true } } }, { 2, { { 0, false }, { 180, true } } },
        { 4, mirrorAndRotate(4, 90) }, { 5, mirrorAndRotate(5, 72) }, { 6, mirrorAndRotate(6, 60) },
        { 7, mirrorAndRotate(7, 51) }, { 8, mirrorAndRotate(8, 45) }, { 9, mirrorAndRotate(9, 40) },
        { 10, fan(5) }, { 11, fan(6) },
    };
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

TEST(Mirrix, AFreshListIsTheIdentityAndFurtherModesAppendUpToTheCapacity)
{
    Mirrix fresh;
    ASSERT_EQ(fresh.matrixNumber(), 1);
    EXPECT_TRUE(fresh.getMatrix()[0].isIdentity());

    Mirrix twice;
    twice.setMode(9, { 160, 240 });
    twice.setMode(9, { 160, 240 });
    EXPECT_EQ(twice.matrixNumber(), Mirrix::capacity);

    Mirrix both;
    both.setMode(1, { 160, 240 });
    both.setMode(2, { 160, 240 });
    ASSERT_EQ(both.matrixNumber(), 3);
    EXPECT_EQ(both.getMatrix()[2].map({ 10, 100 }), (Point { 10, 380 }));
}
