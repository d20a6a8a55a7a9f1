#include "BrushTestHelpers.h"

#include <string>

// Live strokes with a fixed generator seed, on a tablet.
TEST(BrushGolden, LiveStrokesMatchTheirReferences)
{
    struct Case {
        int type;
        const char* name;
        unsigned seed;
        QColor background; // transparent: the eraser on a filled canvas
    };
    const Case cases[] = { { 17, "NeonBrush", 24, Qt::black }, { 24, "NeonPenBrush", 31, Qt::black },
        { 34, "NeonNecklaceBrush", 41, Qt::black }, { 37, "NeonBrightBrush", 44, Qt::black },
        { 11, "RainbowBrush", 11, Qt::white }, { 23, "RubberBrush", 0, Qt::transparent } };
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    for (const Case& c : cases) {
        for (int mode : { 0, 4 }) {
            const std::string name = std::string(c.name) + "_mode" + std::to_string(mode);
            SCOPED_TRACE(name);
            seedRandomness(c.seed);
            TestCanvas canvas(240, 180);
            const bool erases = c.background == QColor(Qt::transparent);
            if (erases)
                fillCanvas(canvas);
            drawLiveStroke(*makeBrush(c.type, mode, canvas), canvas, wavyPoints({ 40, 60 }, 8, 18));
            EXPECT_EQ(compareWithGolden(
                          erases ? canvas.uprightImage() : onBackground(canvas, c.background), name, 2),
                "");
        }
    }
}

// Strokes read from fixed records, as from a file, over black.
TEST(BrushGolden, RecordedStrokesMatchTheirReferences)
{
    struct Case {
        const char* name;
        int height;
        std::vector<std::shared_ptr<Stroke>> strokes;
    };
    const auto wave = wavyPoints({ 30, 70 }, 11, 24);
    const auto low = wavyPoints({ 20, 110 }, 14, 20);
    const Case cases[] = { { "PatternBrush_51_mac_brush", 240,
                               { recordedStroke(51, 20, { 240, 60, 200, 255 }, 31337, 0, wave) } },
        { "PatternBrush_64_colour_dots", 240,
            { recordedStroke(64, 24, { 40, 90, 250, 230 }, 31337, 0, wave) } },
        { "PatternBrush_66_crayon", 240, { recordedStroke(66, 22, { 250, 140, 20, 250 }, 31337, 1, wave) } },
        { "PatternBrush_72_heart", 240, { recordedStroke(72, 24, { 250, 40, 80, 255 }, 31337, 0, wave) } },
        { "PatternBrush_80_mirror4", 240, { recordedStroke(80, 16, { 40, 200, 90, 220 }, 31337, 4, wave) } },
        { "SparseChalkBrush_101_chalk", 240,
            { recordedStroke(101, 18, { 255, 255, 255, 255 }, 31337, 9, wave) } },
        { "CircleChasisBrush_wave", 220, { recordedStroke(32, 2, { 40, 220, 200, 210 }, 5, 0, low) } },
        { "CircleFlowerBrush_wave", 220, { recordedStroke(33, 1, { 250, 120, 220, 255 }, 5, 0, low) } },
        { "SketchyBrush_wave", 220,
            { recordedStroke(29, 2, { 250, 210, 60, 255 }, 2024, 0, wavyPoints({ 30, 110 }, 16, 15)) } },
        { "ShapeBrush_open_and_mirrored_loop", 240,
            { recordedStroke(16, 5, { 250, 200, 30, 240 }, 0, 0, wavyPoints({ 30, 100 }, 10, 25)),
                recordedStroke(16, 5, { 60, 120, 250, 250 }, 0, 4, loopPoints({ 100, 80 }, 40, 1, 12)) } } };
    ScopedDeviceProfile tablet(DeviceProfile::tablet());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestCanvas canvas(300, c.height);
        for (const auto& stroke : c.strokes)
            ASSERT_TRUE(replayStroke(*stroke, canvas));
        EXPECT_EQ(compareWithGolden(onBackground(canvas, Qt::black), c.name, 3), "");
    }
}
