#include "Classes/brushes/UIColorRandom.h"
#include "Classes/model/PaintingManager.h"
#include "ModelTestSupport.h"
#include "platform/media/PixelBuffer.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

using platform::DispatchQueue;
using platform::Point;

namespace {

// The brush button's eight brushes.
constexpr int cycleBrushes[] = { 37, 16, 13, 11, 34, 64, 24, 101 };

// Every brush of the brush button in random colour, in a mirror mode, three
// times round. Some brushes seed the generators from the clock when made, so
// they are seeded again after each switch; the colour cycles run on untouched.
std::unique_ptr<Painting> drawEveryBrush(unsigned seed)
{
    resetRandomColorStateForTesting();
    initRandom();
    auto painting = makePainting(320, 416, 4);
    painting->setBrushColorWithRandomColor();
    for (int round = 0; round < 3; ++round) {
        for (int type : cycleBrushes) {
            painting->switchBrush(type);
            platform::srandom(seed + type * 10 + round);
            platform::srand(seed + type * 10 + round);
            // A zigzag; switching again to the same type keeps the seeded brush.
            std::vector<Point> points;
            for (int i = 0; i < 9; ++i)
                points.push_back({ 10.0f + round * 20 + 30.0f * i, 30.0f + type % 7 * 50 + ((i % 2) ? 45.0f : 0.0f) });
            drawStroke(*painting, type, points);
        }
    }
    painting->setPaintingImage(painting->getPaintingImage());
    return painting;
}

// The replay canvas of a painting replayed to its end, as the export leaves it.
std::vector<uint8_t> replayed(Painting& painting, bool withFrames)
{
    painting.startPlayback();
    while (!painting.endOfPlayback()) {
        painting.playback();
        if (withFrames)
            painting.createPixelBufferFromCurrentFrameWithVideoSize({ 320, 416 }, platform::AffineTransform::identity());
    }
    const Layer& layer = *painting.playbackLayer();
    auto bytes = canvasBytes(layer.playbackBitmapBuffer(), layer);
    painting.stopPlayback();
    return bytes;
}

}

// The screens run the engine on several queues at once: the gallery opens
// paintings on the global queue, the list saves there too, and the export
// replays on the encoder's queue, while the child draws on the main thread.
// None may change the child's strokes, and every saved painting reopens and
// replays to the pixels it was drawn with.
TEST(EngineQueues, BackgroundOpensSavesAndExportsLeaveTheMainThreadsStrokesAsInASingleThreadedRun)
{
    ScopedDocuments documents;
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    const auto alone = onScreen(*drawEveryBrush(5)->activeLayer());

    // Paintings for the queues, each with the pixels it must replay to.
    std::vector<std::unique_ptr<Painting>> paintings;
    for (unsigned seed : { 11u, 12u, 13u, 14u, 15u })
        paintings.push_back(drawEveryBrush(seed));
    std::map<QString, std::vector<uint8_t>> expected;
    for (int i = 0; i < 2; ++i) {
        const QString name = QStringLiteral("open-%1").arg(i);
        ASSERT_TRUE(storePainting(name, *paintings[static_cast<size_t>(i)]));
        expected[name] = onScreen(*paintings[static_cast<size_t>(i)]->activeLayer());
    }
    Painting& exported = *paintings[2];
    const auto exportedPixels = onScreen(*exported.activeLayer());

    std::atomic<bool> mainDone { false };
    std::atomic<int> opens { 0 }, exports { 0 }, wrongReplays { 0 };
    DispatchQueue::global().async([&] {
        do {
            for (const auto& [name, pixels] : expected) {
                auto reopened = Painting::initWithContentsOfFile(name);
                if (!reopened || replayed(*reopened, false) != pixels)
                    ++wrongReplays;
                ++opens;
            }
        } while (!mainDone);
    });
    auto encoderQueue = DispatchQueue::createSerial("videoEncoderQueue");
    encoderQueue->async([&] {
        do {
            if (replayed(exported, true) != exportedPixels)
                ++wrongReplays;
            ++exports;
        } while (!mainDone);
    });
    PaintingManager manager;
    std::vector<std::pair<std::shared_ptr<PaintingItem>, size_t>> saved;
    for (size_t i : { 3u, 4u })
        manager.savePainting(*paintings[i], nullptr, [&saved, i](std::shared_ptr<PaintingItem> item) {
            saved.push_back({ std::move(item), i });
        });
    // Draw once the queues are under way.
    while (opens == 0 || exports == 0)
        std::this_thread::yield();
    const auto underLoad = onScreen(*drawEveryBrush(5)->activeLayer());
    mainDone = true;

    ASSERT_TRUE(DispatchQueue::global().waitUntilIdle());
    ASSERT_TRUE(encoderQueue->waitUntilIdle());
    ASSERT_TRUE(drainSaves());
    EXPECT_TRUE(underLoad == alone);
    EXPECT_EQ(wrongReplays, 0);
    ASSERT_EQ(saved.size(), 2u);
    for (const auto& [item, index] : saved) {
        ASSERT_TRUE(item);
        auto reopened = Painting::initWithContentsOfFile(item->paintingName());
        ASSERT_TRUE(reopened);
        EXPECT_TRUE(replayed(*reopened, false) == onScreen(*paintings[index]->activeLayer())) << index;
    }
}
