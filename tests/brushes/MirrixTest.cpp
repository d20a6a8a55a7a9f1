#include "Classes/brushes/Mirrix.h"
#include "BrushTestHelpers.h"

#include <utility>

namespace {

struct Copy {
    int degrees;
    bool mirrored;
};

// The copies of order n: rotations by whole degrees, each also mirrored unless a fan.
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

// Each copy maps p to O + R(θ)·S·(p - O), with S the left-right flip when mirrored and
// a positive angle turning clockwise on a y-down screen. Orders five to nine turn by
// whole degrees, so seven leaves a 54-degree gap.
TEST(Mirrix, EachModeHoldsItsReflectionsAndRotationsAboutTheOrigin)
{
    const std::pair<int32_t, std::vector<Copy>> cases[] = { { 0, copies(1, false) }, { 3, copies(1, false) },
        { 12, copies(1, false) }, { 16, copies(1, false) }, { -1, copies(1, false) }, { 1, copies(1, true) },
        { 2, { { 0, false }, { 180, true } } }, { 4, copies(4, true) }, { 5, copies(5, true) },
        { 6, copies(6, true) }, { 7, copies(7, true) }, { 8, copies(8, true) }, { 9, copies(9, true) },
        { 10, copies(5, false) }, { 11, copies(6, false) } };
    for (Point o : { Point { 160, 240 }, Point { 160.5f, 208.5f } }) {
        for (const auto& [mode, expected] : cases) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " about " << o.x << "," << o.y);
            Mirrix mirrix;
            mirrix.setMode(mode, o);
            EXPECT_EQ(mirrix.mode(), mode);
            ASSERT_EQ(mirrix.getMatrix().size(), expected.size());
            for (size_t i = 0; i < expected.size(); ++i) {
                const double theta = expected[i].degrees * std::numbers::pi / 180.0;
                for (Point p : { Point { 100, 50 }, Point { 300, 420 }, o }) {
                    const double x = expected[i].mirrored ? o.x - p.x : p.x - o.x, y = p.y - o.y;
                    const Point got = mirrix.getMatrix()[i].map(p);
                    EXPECT_NEAR(got.x, o.x + x * std::cos(theta) - y * std::sin(theta), 2e-3) << "copy " << i;
                    EXPECT_NEAR(got.y, o.y + x * std::sin(theta) + y * std::cos(theta), 2e-3) << "copy " << i;
                }
            }
        }
    }
}

// Modes append to the list; a second one must not run past its fixed array.
TEST(Mirrix, AFreshListIsTheIdentityAndASecondModeStopsAtTheCapacity)
{
    Mirrix mirrix;
    ASSERT_EQ(mirrix.matrixNumber(), 1);
    EXPECT_TRUE(mirrix.getMatrix()[0].isIdentity());
    mirrix.setMode(9, { 160, 240 });
    mirrix.setMode(9, { 160, 240 });
    EXPECT_EQ(mirrix.matrixNumber(), Mirrix::capacity);
}
