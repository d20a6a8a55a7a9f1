#include "Classes/brushes/Brush.h"
#include "Classes/model/Painting.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

using platform::Point;
using platform::Rect;

namespace {

// A painting with one layer that draws in solid red with the brush type and
// mirror mode given.
std::unique_ptr<Painting> makePainting(int width = 300, int height = 300, int brushType = 13, int mirrixMode = 0)
{
    auto painting = std::make_unique<Painting>(platform::Size { static_cast<float>(width), static_cast<float>(height) });
    painting->addTransparentLayer();
    painting->setBrushColorWithSolidColor(platform::Color::rgba(1, 0, 0, 1));
    painting->switchBrush(brushType);
    painting->setMirrixMode(mirrixMode);
    return painting;
}

// Records a stroke of exactly `count` points (count ≥ 2), far enough apart to be kept.
void drawStroke(Painting& painting, Point start, int count)
{
    painting.strokeFrom(start);
    for (int i = 1; i < count - 1; ++i)
        painting.strokeTo({ start.x + 25.0f * i, start.y + ((i % 2) ? 12.0f : 0.0f) });
    painting.strokeEnd({ start.x + 25.0f * (count - 1), start.y + 5 });
}

std::vector<uint8_t> bytesOf(const uint8_t* memory, const Layer& layer)
{
    size_t size = static_cast<size_t>(layer.width()) * static_cast<size_t>(layer.height()) * 4;
    return std::vector<uint8_t>(memory, memory + size);
}

QImage screenOf(const Painting& painting)
{
    platform::ImageContext context({ static_cast<float>(painting.width()), static_cast<float>(painting.height()) }, true, 1);
    painting.drawPaintingTo(context);
    return context.image().qimage();
}

}

TEST(ReplayStepping, TenPointStrokeAtSpeedTwoEndsOnTheFifthStep)
{
    auto painting = makePainting();
    drawStroke(*painting, { 20, 50 }, 10);
    ASSERT_EQ(painting->activeLayer()->getStrokePointsNumber(), 10);

    painting->startPlayback();
    Layer* layer = painting->playbackLayer();
    ASSERT_EQ(layer, painting->layerArray().front().get());
    EXPECT_TRUE(painting->isMovieMode());
    // The start drew point 0 without counting it.
    EXPECT_EQ(layer->currentPlaybackPointIndex(), 1);
    EXPECT_EQ(layer->playbackedPoints(), 0);
    EXPECT_FLOAT_EQ(painting->getPlaybackProgress(), 0.0f);

    EXPECT_FALSE(painting->playback().isNull());
    EXPECT_EQ(layer->currentPlaybackPointIndex(), 3);
    EXPECT_FLOAT_EQ(painting->getPlaybackProgress(), 0.2f);

    for (int step = 2; step <= 4; ++step) {
        painting->playback();
        EXPECT_FALSE(painting->endOfPlayback()) << step;
    }
    EXPECT_FLOAT_EQ(painting->getPlaybackProgress(), 0.8f);
    EXPECT_EQ(layer->currentPlaybackPointIndex(), 9);

    // Point 9 ends the stroke; the second point of the step finds no stroke left.
    EXPECT_FALSE(painting->playback().isNull());
    EXPECT_TRUE(painting->endOfPlayback());
    EXPECT_EQ(painting->getPlaybackProgress(), 1.0f);
    EXPECT_EQ(layer->currentPlaybackStroke(), nullptr);

    // Nothing is left: the steps after the end change nothing.
    EXPECT_TRUE(painting->playback().isNull());
    EXPECT_TRUE(painting->endOfPlayback());
    EXPECT_EQ(painting->getPlaybackProgress(), 1.0f);
}

TEST(ReplayStepping, StepCrossesIntoTheNextStrokeAndCountsItsFirstPoint)
{
    auto painting = makePainting();
    drawStroke(*painting, { 20, 50 }, 3);
    drawStroke(*painting, { 20, 150 }, 3);
    painting->setPlaybackSpeed(4);

    painting->startPlayback();
    Layer* layer = painting->playbackLayer();
    const Stroke* first = layer->strokeList()[0].get();
    const Stroke* second = layer->strokeList()[1].get();
    EXPECT_EQ(layer->currentPlaybackStroke(), first);

    // Points 1 and 2 of the first stroke, then points 0 and 1 of the second.
    Rect changed = painting->playback();
    EXPECT_EQ(layer->currentPlaybackStroke(), second);
    EXPECT_EQ(layer->currentPlaybackStrokeIndex(), 1);
    EXPECT_EQ(layer->currentPlaybackPointIndex(), 2);
    EXPECT_EQ(layer->playbackedPoints(), 4);
    EXPECT_FALSE(painting->endOfPlayback());
    // The step reports both strokes' changes.
    EXPECT_TRUE(changed.contains({ 45, 55 }));
    EXPECT_TRUE(changed.contains({ 40, 155 }));
    // The stroke left behind no longer points at the brush that replayed it.
    EXPECT_EQ(first->brush(), nullptr);
    EXPECT_EQ(second->brush(), layer->playbackBrush());

    // Point 2 ends the second stroke; the list is exhausted on the next point.
    painting->playback();
    EXPECT_TRUE(painting->endOfPlayback());
    EXPECT_EQ(painting->getPlaybackProgress(), 1.0f);
}

TEST(ReplayStepping, PaintingWithoutStrokesIsAtItsEndAtOnce)
{
    auto painting = makePainting();
    painting->startPlayback();
    EXPECT_TRUE(painting->endOfPlayback());
    EXPECT_EQ(painting->playbackLayer()->currentPlaybackStroke(), nullptr);
    EXPECT_TRUE(painting->playback().isNull());
    EXPECT_EQ(painting->getPlaybackProgress(), 1.0f);
    painting->stopPlayback();

    // Without any layer too, and nothing is drawn.
    Painting empty({ 50, 50 });
    empty.startPlayback();
    EXPECT_TRUE(empty.endOfPlayback());
    EXPECT_TRUE(empty.playback().isNull());
    empty.stopPlayback();
    EXPECT_FALSE(empty.isMovieMode());
}

TEST(ReplayStepping, StrokeOfATypeWithoutBrushAdvancesWithoutDrawing)
{
    auto painting = makePainting();
    drawStroke(*painting, { 20, 50 }, 4);
    // A record whose type the factory does not make, as a file might hold.
    auto odd = Stroke::create();
    brush_meta record = brush_meta::zero();
    record.type = 200;
    std::vector<uint8_t> bytes(28 + 3 * 4, 0);
    record.toBytes(bytes.data() + 4);
    ASSERT_TRUE(odd->unpackStrokePoints(bytes, 4));
    ASSERT_EQ(Brush::createBrush(200, nullptr), nullptr);
    painting->activeLayer()->addStroke(std::move(odd));

    painting->startPlayback();
    int steps = 0;
    while (!painting->endOfPlayback() && steps < 100) {
        bool onOddStroke = painting->playbackLayer()->currentPlaybackStrokeIndex() == 1;
        Rect changed = painting->playback();
        if (onOddStroke) {
            EXPECT_TRUE(changed.isNull());
        }
        ++steps;
    }
    EXPECT_TRUE(painting->endOfPlayback());
    EXPECT_EQ(steps, 4);
}

TEST(ReplaySpeed, StaysAtTwoOrAboveAndHasNoCeiling)
{
    Painting painting({ 100, 100 });
    EXPECT_EQ(painting.playbackSpeed(), 2);
    painting.playbackSlower();
    EXPECT_EQ(painting.playbackSpeed(), 2);
    painting.playbackFaster();
    EXPECT_EQ(painting.playbackSpeed(), 3);
    for (int i = 0; i < 1000; ++i)
        painting.playbackFaster();
    EXPECT_EQ(painting.playbackSpeed(), 1003);

    painting.setPlaybackSpeed(0);
    EXPECT_EQ(painting.playbackSpeed(), 2);
    painting.setPlaybackSpeed(INT_MAX);
    painting.playbackFaster();
    EXPECT_EQ(painting.playbackSpeed(), INT_MAX);
}

TEST(ReplaySpeed, VideoEstimateAndRecordingSpeedFitTheFrames)
{
    // 1,000 points over two layers: the estimate counts every layer.
    auto painting = makePainting(2000, 400);
    for (int i = 0; i < 10; ++i)
        drawStroke(*painting, { 10, 20.0f + 15 * i }, 50);
    painting->addTransparentLayer();
    for (int i = 0; i < 10; ++i)
        drawStroke(*painting, { 10, 20.0f + 15 * i }, 50);
    ASSERT_EQ(painting->estimatedVideoFramesWithSpeed(1), 1000);

    EXPECT_EQ(painting->estimatedVideoFramesWithSpeed(3), 333);
    EXPECT_EQ(painting->estimatedVideoFramesWithSpeed(0), 1000);
    painting->setRecordPlaybackSpeedWithMaxFrames(300);
    EXPECT_EQ(painting->playbackSpeed(), 4);
    EXPECT_EQ(painting->estimatedVideoFramesWithSpeed(4), 250);
    painting->setRecordPlaybackSpeedWithMaxFrames(720);
    EXPECT_EQ(painting->playbackSpeed(), 2);
    // Too few frames to fit: the speed stops where going one faster no longer
    // shortens the replay (1000 div 36 and 1000 div 37 are both 27).
    painting->setRecordPlaybackSpeedWithMaxFrames(0);
    EXPECT_EQ(painting->playbackSpeed(), 37);

    Painting blank({ 100, 100 });
    blank.setPlaybackSpeed(7);
    blank.setRecordPlaybackSpeedWithMaxFrames(300);
    EXPECT_EQ(blank.playbackSpeed(), 2);
}

TEST(ReplayCanvas, StoppingLeavesTheLiveCanvasesAndScreenUntouched)
{
    auto painting = makePainting(200, 160, 37, 9);
    platform::srand(7);
    drawStroke(*painting, { 10, 30 }, 6);
    drawStroke(*painting, { 30, 90 }, 5);
    Layer& layer = *painting->activeLayer();
    auto onScreen = bytesOf(layer.layerBitmapBuffer(), layer);
    auto offScreen = bytesOf(layer.offscreenBitmapBuffer(), layer);
    QImage screen = screenOf(*painting);

    painting->startPlayback();
    painting->playback();
    painting->playback();
    // Mid-stroke the replay canvas shows less than the painting.
    EXPECT_NE(screenOf(*painting), screen);
    EXPECT_EQ(bytesOf(layer.layerBitmapBuffer(), layer), onScreen);
    painting->stopPlayback();

    EXPECT_FALSE(painting->isMovieMode());
    EXPECT_EQ(painting->playbackLayer(), nullptr);
    EXPECT_EQ(layer.playbackLayerContext(), nullptr);
    EXPECT_EQ(bytesOf(layer.layerBitmapBuffer(), layer), onScreen);
    EXPECT_EQ(bytesOf(layer.offscreenBitmapBuffer(), layer), offScreen);
    EXPECT_EQ(screenOf(*painting), screen);
    // No stroke is left pointing at a replay brush that is gone.
    EXPECT_EQ(layer.playbackBrush(), nullptr);
    for (const auto& stroke : layer.strokeList())
        EXPECT_TRUE(stroke->brush() == nullptr || stroke->brush() == painting->brush());

    // Drawing on after a replay still works on the live canvas.
    drawStroke(*painting, { 10, 140 }, 3);
    EXPECT_EQ(layer.getStrokeNumber(), 3);
}

TEST(ReplayCanvas, FinishedReplayRedrawsTheLivePixelsForEveryBrush)
{
    // Brushes that draw the same pixels from the same records; the mirror
    // modes reach the replay through the first point's record.
    for (int type : { 13, 11, 16, 17, 24, 34, 37 }) {
        for (int mode : { 0, 9 }) {
            auto painting = makePainting(240, 200, type, mode);
            platform::srand(11);
            platform::srandom(11);
            painting->setBrushColorWithRandomColor();
            drawStroke(*painting, { 10, 30 }, 7);
            drawStroke(*painting, { 40, 120 }, 4);
            Layer& layer = *painting->activeLayer();

            painting->startPlayback();
            int steps = 0;
            while (!painting->endOfPlayback() && steps++ < 100)
                painting->playback();
            ASSERT_TRUE(painting->endOfPlayback());
            auto replayed = bytesOf(layer.playbackBitmapBuffer(), layer);
            EXPECT_TRUE(replayed == bytesOf(layer.layerBitmapBuffer(), layer)) << "type " << type << " mode " << mode;
            // The whole replayed stroke list sits in the offscreen canvas too.
            EXPECT_TRUE(replayed == bytesOf(layer.offscreenBitmapBuffer(), layer)) << "type " << type;
            painting->stopPlayback();
        }
    }
}

TEST(ReplayCanvas, MovieModeShowsTheReplayAndTheLivePictureOnceStopped)
{
    auto painting = makePainting(120, 100);
    painting->setBackgroundColor(platform::Color::rgba(0, 0, 1, 1));
    drawStroke(*painting, { 10, 30 }, 4);
    QImage live = screenOf(*painting);

    painting->startPlayback();
    QImage start = screenOf(*painting);
    // Only point 0 is drawn: the background alone.
    EXPECT_EQ(start.pixel(5, 5), start.pixel(40, 33));
    EXPECT_NE(start, live);

    // A view that turns movie mode on after the replay stopped shows the
    // last picture, which is the live one, not an empty screen.
    painting->stopPlayback();
    painting->setIsMovieMode(true);
    EXPECT_EQ(screenOf(*painting), live);
}

TEST(ReplayCanvas, ReplayOfTheFirstLayerIsShownWhenAnotherLayerIsActive)
{
    auto painting = makePainting(120, 100);
    drawStroke(*painting, { 10, 30 }, 4);
    QImage live = screenOf(*painting);
    painting->addTransparentLayer();
    painting->startPlayback();
    while (!painting->endOfPlayback())
        painting->playback();
    EXPECT_EQ(painting->playbackLayer(), painting->layerArray().front().get());
    EXPECT_EQ(screenOf(*painting), live);
    painting->stopPlayback();
}

TEST(ReplayCanvas, RestartingBeginsAgainFromTheFirstStroke)
{
    auto painting = makePainting();
    drawStroke(*painting, { 20, 50 }, 4);
    drawStroke(*painting, { 20, 150 }, 4);
    painting->startPlayback();
    painting->playback();
    painting->playback();
    EXPECT_EQ(painting->playbackLayer()->currentPlaybackStrokeIndex(), 1);

    painting->startPlayback();
    Layer* layer = painting->playbackLayer();
    EXPECT_EQ(layer->currentPlaybackStrokeIndex(), 0);
    EXPECT_EQ(layer->currentPlaybackPointIndex(), 1);
    EXPECT_EQ(layer->playbackedPoints(), 0);
    EXPECT_EQ(painting->getPlaybackProgress(), 0.0f);
    painting->stopPlayback();
}

TEST(ReplayStepping, LayerWithoutReplayCanvasEndsAtOnceInsteadOfNever)
{
    // A layer whose canvases could not be made still holds its strokes, as one
    // read from a file might; an export driving its replay must still finish.
    auto layer = Layer::createWithSize({ 0, 0 });
    ASSERT_FALSE(layer->hasCanvas());
    auto stroke = Stroke::create();
    brush_meta record = brush_meta::zero();
    record.type = 13;
    std::vector<uint8_t> bytes(28 + 2 * 8, 0);
    record.toBytes(bytes.data() + 4);
    ASSERT_TRUE(stroke->unpackStrokePoints(bytes, 3));
    layer->addStroke(std::move(stroke));

    layer->startPlayback();
    EXPECT_EQ(layer->playbackLayerContext(), nullptr);
    EXPECT_TRUE(layer->endOfStrokeList());
    EXPECT_EQ(layer->getPlaybackProgress(), 1.0f);
    EXPECT_TRUE(layer->playbackNextStrokePointsOfNumber(2).isNull());
    layer->stopPlayback();
}
