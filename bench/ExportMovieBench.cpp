// A saved 768 × 980 painting of 300 strokes in mirror mode 9, drawn with the
// eight brushes of the brush button in turn, exported as the export screen
// does it at the tablet's size: 30 opening frames, the replay fitted into 720
// frames, 81 ending frames.
//   ExportMovie/render  the frame source alone, no encoder
//   ExportMovie/whole   the frame source pulled by the encoder into the album
// Compare with EncodeMovie, the encoder alone on frames of the same size.
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "Classes/movie/MovieFrameSource.h"
#include "Classes/movie/VideoEncoder.h"
#include "platform/media/PixelBuffer.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"

#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <sys/resource.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int paintingWidth = 768;
constexpr int paintingHeight = 980;
constexpr int cycleBrushes[] = { 37, 16, 13, 11, 34, 64, 24, 51 };

std::unique_ptr<Painting> makeSavedPainting()
{
    platform::srand(3);
    platform::srandom(3);
    auto painting = std::make_unique<Painting>(platform::Size { paintingWidth, paintingHeight });
    painting->addTransparentLayer();
    painting->setMirrixMode(9);
    painting->setCropRegion(platform::Rect(0, 0, paintingWidth, paintingHeight));
    for (int s = 0; s < 300; ++s) {
        painting->switchBrush(cycleBrushes[s % 8]);
        const float cx = 100 + static_cast<float>((s * 137) % 568);
        const float cy = 100 + static_cast<float>((s * 251) % 780);
        auto at = [&](int i) {
            const float angle = i * 0.35f + s;
            return platform::Point { cx + 90 * std::cos(angle), cy + 90 * std::sin(angle) };
        };
        painting->strokeFrom(at(0));
        for (int i = 1; i < 19; ++i)
            painting->strokeTo(at(i));
        painting->strokeEnd(at(19));
    }
    painting->setPaintingImage(painting->getPaintingImage());
    painting->setThumbnailImage(painting->paintingImage());
    if (!storePainting(QStringLiteral("bench"), *painting))
        return nullptr;
    return Painting::initWithContentsOfFile(QStringLiteral("bench"));
}

// Processor seconds of every thread of this process so far: on a busy machine
// the clock says more about the neighbours than about the export.
double processorSeconds()
{
    rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) != 0)
        return 0;
    return double(usage.ru_utime.tv_sec) + double(usage.ru_stime.tv_sec)
        + (double(usage.ru_utime.tv_usec) + double(usage.ru_stime.tv_usec)) / 1e6;
}

// The longest wait between two progress updates, which the screen posts after
// every frame.
struct ProgressGaps {
    Clock::time_point last = Clock::now();
    double longest { 0 };
    int updates { 0 };
    void tick()
    {
        const Clock::time_point now = Clock::now();
        longest = std::max(longest, std::chrono::duration<double>(now - last).count());
        last = now;
        ++updates;
    }
};

struct EndWait {
    std::mutex mutex;
    std::condition_variable changed;
    bool ended { false };
    bool succeeded { false };
    void end(bool ok)
    {
        std::lock_guard lock(mutex);
        ended = true;
        succeeded = ok;
        changed.notify_all();
    }
    bool wait()
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return ended; });
        return succeeded;
    }
};

void ExportMovie(benchmark::State& state)
{
    const bool encode = state.range(0) == 1;
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    QTemporaryDir directory;
    qputenv("PINTARO_DOCUMENTS", (directory.path() + "/Documents").toUtf8());
    qputenv("PINTARO_ALBUM", (directory.path() + "/Album").toUtf8());
    auto painting = makeSavedPainting();
    if (!painting) {
        state.SkipWithError("the painting could not be saved");
        return;
    }
    const platform::Size frameSize = painting->cropRect().size;
    for (auto _ : state) {
        MovieFrameSource source(*painting);
        source.setFrameSize(frameSize);
        ProgressGaps gaps;
        source.setFrameHandler([&] { gaps.tick(); });
        const Clock::time_point started = Clock::now();
        const double processorStarted = processorSeconds();
        int frames = 0;
        if (encode) {
            EndWait end;
            source.setEndHandler([&](bool ok) { end.end(ok); });
            VideoEncoder encoder(frameSize);
            source.prepare(encoder.fps());
            if (!encoder.startEncodingUsingPullWithDelegate(&source) || !end.wait()) {
                state.SkipWithError("the movie could not be written");
                break;
            }
            frames = encoder.frame();
        } else {
            source.prepare(24);
            while (auto frame = source.getPixelBufferOfNextFrame()) {
                benchmark::DoNotOptimize(frame->data());
                source.recyclePixelBuffer(std::move(frame));
                ++frames;
            }
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
        painting->stopPlayback();
        state.SetIterationTime(seconds);
        state.counters["cpu_s"] = processorSeconds() - processorStarted;
        state.counters["frames"] = frames;
        state.counters["fps"] = frames / seconds;
        state.counters["times_faster_than_playing"] = frames / 24.0 / seconds;
        state.counters["longest_progress_gap_ms"] = gaps.longest * 1000;
        state.counters["progress_updates_per_s"] = gaps.updates / seconds;
    }
    qunsetenv("PINTARO_DOCUMENTS");
    qunsetenv("PINTARO_ALBUM");
}

}

BENCHMARK(ExportMovie)
    ->ArgName("encode")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Repetitions(3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
