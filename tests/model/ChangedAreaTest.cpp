#include "ModelTestSupport.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using platform::Color;
using platform::DeviceProfile;
using platform::Point;
using platform::Rect;
using platform::ScopedDeviceProfile;

namespace {

// The first changed pixel outside every one of the rectangles, as text; empty
// when there is none. Memory row r holds the painting's row height − 1 − r.
std::string changeOutside(const std::vector<uint8_t>& before, const uint8_t* after, int width, int height,
    const std::vector<Rect>& rects)
{
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row) {
        const uint8_t* old = before.data() + row * rowBytes;
        const uint8_t* now = after + row * rowBytes;
        if (std::memcmp(old, now, rowBytes) == 0)
            continue;
        const float y = static_cast<float>(height - 1 - row) + 0.5f;
        for (int x = 0; x < width; ++x) {
            if (std::memcmp(old + x * 4, now + x * 4, 4) == 0)
                continue;
            bool inside = false;
            for (const Rect& r : rects)
                inside = inside || r.contains({ x + 0.5f, y });
            if (!inside)
                return std::to_string(x) + "," + std::to_string(static_cast<int>(y));
        }
    }
    return {};
}

// Checks one call's answer: the changed pixels lie in the rectangles, which lie
// in the returned rectangle (and make it up exactly, unless the brush redraws
// its whole path and reports the tiles it drew). Returns whether anything changed.
bool checkStep(const Painting& painting, const std::vector<uint8_t>& before, const uint8_t* after, const Rect& returned,
    const char* what, size_t step)
{
    const auto& copies = painting.changedRects();
    Rect united = Rect::null();
    for (const Rect& r : copies)
        united = united.united(r);
    if (painting.brush()->mMustRedrawWholeStrokePath()) {
        EXPECT_EQ(united.united(returned), returned) << what << " step " << step;
    } else {
        EXPECT_EQ(united, returned) << what << " step " << step;
    }
    EXPECT_EQ(copies.empty(), returned.isNull()) << what << " step " << step;
    const std::string outside = changeOutside(before, after, painting.width(), painting.height(), copies);
    EXPECT_EQ(outside, "") << what << " step " << step << " changed a pixel outside its rectangles";
    return !returned.isNull();
}

// Far jumps, back across earlier segments and up to the edges: wide glows and
// hatching reach back to old segments, and the edge clamps the rectangles.
std::vector<Point> tourOf(float w, float h)
{
    const float fractions[][2] = { { 0.1f, 0.15f }, { 0.3f, 0.1f }, { 0.45f, 0.3f }, { 0.004f, 0.3f },
        { 0.35f, 0.6f }, { 0.5f, 0.8f }, { 0.7f, 0.995f }, { 0.998f, 0.6f }, { 0.8f, 0.38f }, { 0.84f, 0.34f } };
    std::vector<Point> points;
    for (const auto& f : fractions)
        points.push_back({ f[0] * w, f[1] * h });
    return points;
}

}

// The screen repaints only what each call reports, so every pixel a step changes
// must lie inside the rectangles of its mirror copies, for every brush, mirror
// mode and device, live and replayed, on the painting the editor makes.
// The first touches are far apart and run back across earlier segments and up to
// the edges.
TEST(ChangedArea, EveryStepOfEveryBrushModeAndDeviceStaysInsideItsCopiesRectangles)
{
    const int types[] = { 37, 16, 13, 11, 34, 64, 24, 101, 23, 17, 29, 32, 33, 51 };
    const int modes[] = { 0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11 };
    for (const DeviceProfile& profile : { DeviceProfile::tablet(), DeviceProfile::phone(), DeviceProfile::retinaPhone() }) {
        ScopedDeviceProfile device(profile);
        const int width = static_cast<int>(profile.screenSize.width);
        const int height = static_cast<int>(profile.screenSize.height) - 44;
        const std::vector<Point> tour = tourOf(static_cast<float>(width), static_cast<float>(height));
        for (int type : types) {
            for (int mode : modes) {
                SCOPED_TRACE(testing::Message() << profile.name << " type " << type << " mode " << mode);
                auto painting = makePainting(width, height, mode);
                Layer& layer = *painting->activeLayer();
                if (type == 23) {
                    layer.layerContext()->setFillColor(Color::rgba(0.9f, 0.5f, 0.1f, 1));
                    layer.layerContext()->fillRect(Rect(0, 0, static_cast<float>(width), static_cast<float>(height)));
                    layer.syncOnScreenToOffScreen();
                }
                painting->switchBrush(type);
                painting->strokeFrom(tour.front());
                int changedSteps = 0;
                std::vector<uint8_t> before;
                for (size_t i = 1; i < tour.size(); ++i) {
                    before.assign(layer.layerBitmapBuffer(), layer.layerBitmapBuffer() + width * height * 4);
                    const Rect r = i + 1 < tour.size() ? painting->strokeTo(tour[i]) : painting->strokeEnd(tour[i]);
                    changedSteps += checkStep(*painting, before, layer.layerBitmapBuffer(), r, "live", i);
                }
                // The flower brush skips circles too large for a phone's screen.
                EXPECT_GE(changedSteps, type == 33 ? 1 : static_cast<int>(tour.size()) - 1);

                // A replay draws with the same brushes about a centre half a point
                // away; a few modes show it.
                if (mode != 0 && mode != 4 && mode != 9)
                    continue;
                painting->startPlayback();
                for (size_t step = 0; !painting->endOfPlayback() && step < tour.size(); ++step) {
                    const uint8_t* canvas = layer.playbackBitmapBuffer();
                    before.assign(canvas, canvas + width * height * 4);
                    checkStep(*painting, before, canvas, painting->playback(), "replay", step);
                }
                EXPECT_TRUE(painting->endOfPlayback());
                painting->stopPlayback();
                if (HasFailure())
                    return;
            }
        }
    }
}

// Moves the layer drops, a painting without a brush, and the end of a replay
// report no rectangles at all.
TEST(ChangedArea, CallsThatChangeNothingLeaveNoRectangles)
{
    auto painting = makePainting(320, 416, 9);
    painting->strokeFrom({ 100, 100 });
    EXPECT_FALSE(painting->strokeTo({ 140, 120 }).isNull());
    EXPECT_EQ(painting->changedRects().size(), 18u); // the eighteen copies of mode 9
    EXPECT_TRUE(painting->strokeTo({ 150, 125 }).isNull());
    EXPECT_TRUE(painting->changedRects().empty());
    painting->strokeEnd({ 150, 125 });
    painting->startPlayback();
    replayToEnd(*painting);
    EXPECT_TRUE(painting->playback().isNull());
    EXPECT_TRUE(painting->changedRects().empty());
    painting->stopPlayback();

    painting->switchBrush(12); // no brush of this type
    EXPECT_EQ(painting->strokeTo({ 10, 10 }), Rect::zero());
    EXPECT_TRUE(painting->changedRects().empty());
}
