#include "BrushTestHelpers.h"
#include "Classes/brushes/PatternManager.h"

#include <optional>
#include <utility>

// Two strokes of one live brush, the second starting where the first ended,
// replayed from their packed bytes by fresh brushes after the colour sequences
// have moved on: whatever a brush carries between strokes must not change them.
TEST(BrushReplay, EveryBrushAndMirrorModeReplaysAsDrawnLive)
{
    const DeviceProfile tablet = DeviceProfile::tablet();
    std::vector<std::pair<int, DeviceProfile>> cases;
    for (int type : { 11, 13, 16, 17, 23, 24, 29, 32, 33, 34, 37, 51, 64, 66, 67, 68, 69, 70, 71, 72, 73, 74,
             75, 76, 77, 78, 79, 80, 81, 82, 83, 84, 85, 101 })
        cases.push_back({ type, tablet });
    // Phones draw some brushes their own way: the high-resolution one narrows the
    // neon glow in the middle of a stroke and thins the sketchy lines.
    cases.insert(cases.end(),
        { { 17, DeviceProfile::retinaPhone() }, { 29, DeviceProfile::retinaPhone() },
            { 34, DeviceProfile::phone() } });
    for (const auto& [type, profile] : cases) {
        for (int mode : { 0, 1, 4, 9 }) {
            // Random colour, then solid colours whose components fall between
            // bytes: the live stroke must draw what its record will replay.
            for (std::optional<Color> solid : { std::optional<Color>(), std::optional(Color::rgba(0.3f, 0.71f, 0.555f, 0.8f)),
                     std::optional(Color::rgba(0.93f, 0.4f, 0.1f, 1)) }) {
                SCOPED_TRACE(testing::Message() << "type " << type << " " << profile.name << " mode " << mode
                                                << (solid ? " solid" : " random"));
                ScopedDeviceProfile device(profile);
                const bool erases = type == 23;
                TestCanvas live(320, 260);
                if (erases)
                    fillCanvas(live);
                auto brush = makeBrush(type, mode, live);
                ASSERT_TRUE(brush);
                // Some brushes seed the generator from the clock when made.
                seedRandomness();
                if (solid)
                    brush->setColor(*solid);
                auto first = drawLiveStroke(*brush, live, wavyPoints({ 40, 70 }, 9, 22));
                const Point joint = first->strokePoints().back().CGPoint();
                const Point second[] = { joint, { joint.x + 30, joint.y + 60 },
                    { joint.x - 20, joint.y + 110 }, { joint.x - 80, joint.y + 120 } };
                auto next = drawLiveStroke(*brush, live, second);
                TestCanvas other(320, 260);
                drawLiveStroke(*brush, other, wavyPoints({ 40, 70 }, 5, 22));

                // One pattern manager for the replay, as a layer has: a stroke of the
                // same size and colour as the one before draws with its cached stamp.
                TestCanvas replay(320, 260);
                if (erases)
                    fillCanvas(replay);
                auto patterns = std::make_shared<PatternManager>();
                for (const Stroke* stroke : { first.get(), next.get() }) {
                    Stroke reread;
                    ASSERT_TRUE(reread.unpackStrokePoints(
                        stroke->packStrokePoints(), stroke->getStrokePointsNumber()));
                    ASSERT_TRUE(replayStroke(reread, replay, patterns));
                }
                EXPECT_GT(erases ? 320 * 260 - live.paintedPixelCount() : live.paintedPixelCount(), 300);
                EXPECT_EQ(maxChannelDifference(live, replay), 0);
            }
        }
    }
}
