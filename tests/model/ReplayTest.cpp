#include "ModelTestSupport.h"
#include "platform/system/Random.h"

#include <gtest/gtest.h>

using platform::Point;

namespace {

// Records a stroke of exactly `count` points (count ≥ 2), far enough apart to be kept.
void drawZigzag(Painting& painting, Point start, int count)
{
    painting.strokeFrom(start);
    for (int i = 1; i < count - 1; ++i)
        painting.strokeTo({ start.x + 25.0f * i, start.y + ((i % 2) ? 12.0f : 0.0f) });
    painting.strokeEnd({ start.x + 25.0f * (count - 1), start.y + 5 });
}

std::unique_ptr<Painting> penPainting(int width = 300, int height = 300, int type = 13, int mirrixMode = 0)
{
    auto painting = makePainting(width, height, mirrixMode);
    painting->setBrushColorWithSolidColor(platform::Color::rgba(1, 0, 0, 1));
    painting->switchBrush(type);
    return painting;
}

}

TEST(ReplayStepping, TenPointStrokeAtSpeedTwoEndsOnTheFifthStepAndRestartsFromTheStart)
{
    auto painting = penPainting();
    drawZigzag(*painting, { 20, 50 }, 10);
    for (int run = 0; run < 2; ++run) {
        painting->startPlayback();
        // The start drew point 0 without counting it.
        EXPECT_TRUE(painting->playbackLayer()->currentPlaybackPointIndex() == 1 && painting->getPlaybackProgress() == 0);
        for (int step = 1; step <= 4; ++step) {
            EXPECT_FALSE(painting->playback().isNull() || painting->endOfPlayback()) << step;
            EXPECT_FLOAT_EQ(painting->getPlaybackProgress(), 0.2f * step);
        }
        // Point 9 ends the stroke; the second point of the step finds no stroke left.
        EXPECT_FALSE(painting->playback().isNull());
        EXPECT_TRUE(painting->endOfPlayback());
        EXPECT_EQ(painting->getPlaybackProgress(), 1.0f);
        EXPECT_TRUE(painting->playback().isNull());
    }
}

TEST(ReplayStepping, ReplaysWithNothingToDrawStillEnd)
{
    Painting blank({ 50, 50 });
    blank.addTransparentLayer();
    blank.startPlayback();
    EXPECT_TRUE(blank.endOfPlayback() && blank.playback().isNull() && blank.getPlaybackProgress() == 1.0f);
    blank.stopPlayback();
    EXPECT_FALSE(blank.isMovieMode());

    // A stroke of a type no brush draws, as a file might hold, is stepped over.
    auto painting = penPainting();
    drawZigzag(*painting, { 20, 50 }, 4);
    painting->activeLayer()->addStroke(recordedStroke(200, 4));
    ASSERT_EQ(Brush::createBrush(200, nullptr), nullptr);
    painting->startPlayback();
    int steps = 0;
    for (; !painting->endOfPlayback() && steps < 100; ++steps) {
        const bool onOddStroke = painting->playbackLayer()->currentPlaybackStrokeIndex() == 1;
        EXPECT_TRUE(painting->playback().isNull() || !onOddStroke);
    }
    EXPECT_EQ(steps, 4);

    // A layer whose canvases could not be made still holds its strokes; an
    // export driving its replay must still finish.
    auto layer = Layer::createWithSize({ 0, 0 });
    layer->addStroke(recordedStroke(13, 3));
    layer->startPlayback();
    EXPECT_TRUE(layer->endOfStrokeList());
    EXPECT_EQ(layer->getPlaybackProgress(), 1.0f);
    EXPECT_TRUE(layer->playbackNextStrokePointsOfNumber(2).isNull());
    layer->stopPlayback();
}

TEST(ReplaySpeed, RecordingSpeedIsTheSlowestThatFitsThePointsOfEveryLayerInTheFrames)
{
    auto painting = penPainting(1300, 60);
    drawZigzag(*painting, { 10, 20 }, 50);
    painting->addTransparentLayer();
    drawZigzag(*painting, { 10, 20 }, 50);
    // With too few frames the speed stops where one faster no longer shortens
    // the replay: 100 div 13 and 100 div 14 are both 7.
    for (auto [frames, speed] : { std::pair { 30, 4 }, { 1000, 2 }, { 0, 14 } }) {
        painting->setRecordPlaybackSpeedWithMaxFrames(frames);
        EXPECT_EQ(painting->playbackSpeed(), speed) << frames;
    }
}

TEST(ReplayCanvas, StoppingLeavesTheLiveCanvasesAndScreenUntouched)
{
    auto painting = penPainting(200, 160, 37, 9);
    painting->setBackgroundColor(platform::Color::rgba(0, 0, 1, 1));
    platform::srand(7);
    drawZigzag(*painting, { 10, 30 }, 6);
    drawZigzag(*painting, { 30, 90 }, 5);
    Layer& layer = *painting->activeLayer();
    const auto live = onScreen(layer);
    const auto liveOffScreen = offScreen(layer);
    const QImage screen = screenOf(*painting);

    // Mid-replay the screen shows the replay canvas, with less on it than the painting.
    painting->startPlayback();
    painting->playback();
    EXPECT_NE(screenOf(*painting), screen);
    painting->stopPlayback();

    EXPECT_FALSE(painting->isMovieMode());
    EXPECT_TRUE(layer.playbackLayerContext() == nullptr && layer.playbackBrush() == nullptr);
    for (const auto& stroke : layer.strokeList())
        EXPECT_TRUE(stroke->brush() == nullptr || stroke->brush() == painting->brush());
    EXPECT_TRUE(onScreen(layer) == live && offScreen(layer) == liveOffScreen);
    EXPECT_EQ(screenOf(*painting), screen);
    // A view that turns movie mode on after the replay stopped shows the last
    // picture, which is the live one, not an empty screen.
    painting->setIsMovieMode(true);
    EXPECT_EQ(screenOf(*painting), screen);
}

TEST(ReplayCanvas, FinishedReplayRedrawsTheLivePixelsForEveryBrushAndMirrorMode)
{
    // The mirror modes reach the replay through the first point's record.
    for (int type : { 13, 11, 16, 17, 24, 34, 37 }) {
        for (int mode : { 0, 9 }) {
            SCOPED_TRACE(testing::Message() << "type " << type << " mode " << mode);
            auto painting = penPainting(240, 200, type, mode);
            platform::srand(11);
            platform::srandom(11);
            painting->setBrushColorWithRandomColor();
            drawZigzag(*painting, { 10, 30 }, 7);
            drawZigzag(*painting, { 40, 120 }, 4);
            const Layer& layer = *painting->activeLayer();
            // The replay shows the first layer even when another one is active.
            painting->addTransparentLayer();
            painting->startPlayback();
            ASSERT_TRUE(replayToEnd(*painting));
            const auto replayed = canvasBytes(layer.playbackBitmapBuffer(), layer);
            EXPECT_TRUE(replayed == onScreen(layer) && replayed == offScreen(layer));
            EXPECT_EQ(layer.getStrokePointsNumber(), 11);
        }
    }
}
