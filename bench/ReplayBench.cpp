// Replay of a 768 × 980 painting: one step at speed 2, and one 768 × 976
// video frame of the replay state as the movie export asks for it.
#include "Classes/model/Painting.h"
#include "Classes/model/VideoFrameRenderer.h"
#include "platform/media/PixelBuffer.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr int paintingWidth = 768;
constexpr int paintingHeight = 980;

// 300 strokes of 20 recorded points each, spread over the painting.
std::unique_ptr<Painting> makePainting(int brushType, int mirrixMode)
{
    platform::srand(1);
    platform::srandom(1);
    auto painting = std::make_unique<Painting>(platform::Size { paintingWidth, paintingHeight });
    painting->addTransparentLayer();
    painting->switchBrush(brushType);
    painting->setMirrixMode(mirrixMode);
    painting->setCropRegion(platform::Rect(0, 0, paintingWidth, paintingHeight));
    for (int s = 0; s < 300; ++s) {
        float cx = 100 + static_cast<float>((s * 137) % 568);
        float cy = 100 + static_cast<float>((s * 251) % 780);
        auto at = [&](int i) {
            float angle = i * 0.35f + s;
            return platform::Point { cx + 90 * std::cos(angle), cy + 90 * std::sin(angle) };
        };
        painting->strokeFrom(at(0));
        for (int i = 1; i < 19; ++i)
            painting->strokeTo(at(i));
        painting->strokeEnd(at(19));
    }
    return painting;
}

void ReplayStep(benchmark::State& state)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    auto painting = makePainting(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    painting->setPlaybackSpeed(2);
    painting->startPlayback();
    for (auto _ : state) {
        if (painting->endOfPlayback()) {
            state.PauseTiming();
            painting->startPlayback();
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(painting->playback());
    }
    painting->stopPlayback();
}
BENCHMARK(ReplayStep)->Args({ 13, 0 })->Args({ 37, 9 })->Unit(benchmark::kMicrosecond);

// A painting halfway through its replay, its frame size and the export's
// transform for the number of left quarter turns.
struct FrameScene {
    std::unique_ptr<Painting> painting = makePainting(37, 0);
    platform::Size size { paintingWidth, 976 };
    platform::AffineTransform transform;

    explicit FrameScene(int turns)
    {
        painting->setPlaybackSpeed(10000);
        painting->startPlayback();
        painting->playback();
        for (int i = 0; i < turns; ++i) {
            transform = transform.concatenated(platform::AffineTransform::makeRotation(std::numbers::pi_v<float> / 2))
                            .concatenated(platform::AffineTransform::makeTranslation(size.height, 0));
            size = { size.height, size.width };
        }
    }
};

// What the export does per frame: a new buffer, drawn.
void ReplayFrame(benchmark::State& state)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    FrameScene scene(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(scene.painting->createPixelBufferFromCurrentFrameWithVideoSize(scene.size, scene.transform));
}
BENCHMARK(ReplayFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The drawing alone, into a buffer kept from frame to frame.
void ReplayFrameIntoKeptBuffer(benchmark::State& state)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    FrameScene scene(static_cast<int>(state.range(0)));
    auto buffer = platform::PixelBuffer::create(static_cast<int>(scene.size.width), static_cast<int>(scene.size.height));
    for (auto _ : state) {
        scene.painting->drawCurrentFrameToPixelBuffer(*buffer, scene.transform);
        benchmark::DoNotOptimize(buffer->data());
    }
}
BENCHMARK(ReplayFrameIntoKeptBuffer)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same frame drawn through a bitmap context, for comparison.
void ReplayFrameThroughContext(benchmark::State& state)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    FrameScene scene(0);
    auto buffer = platform::PixelBuffer::create(static_cast<int>(scene.size.width), static_cast<int>(scene.size.height));
    VideoFrameRenderer::Geometry geometry { 1, paintingWidth, paintingHeight, paintingHeight, scene.transform };
    const LayerCanvas& canvas = *scene.painting->playbackLayer()->playbackCanvas();
    for (auto _ : state) {
        VideoFrameRenderer::renderWithContext(*buffer, geometry, *scene.painting, &canvas);
        benchmark::DoNotOptimize(buffer->data());
    }
}
BENCHMARK(ReplayFrameThroughContext)->Unit(benchmark::kMicrosecond);

}
