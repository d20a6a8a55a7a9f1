// What keeping the recovery adds to a touch's lift on the main thread: the
// report of a full-size tablet painting of 300 strokes after each new stroke,
// while the writes run on their own queue. For comparison, the first report
// after a painting is opened, which packs every stroke once.
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingRecovery.h"
#include "platform/system/Device.h"

#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr float paintingWidth = 768;
constexpr float paintingHeight = 980;
constexpr int strokeCount = 300;
const int brushTypes[] = { 37, 16, 13, 11, 34, 64, 24, 51 };

platform::Point touchAt(int i)
{
    float angle = i * 0.11f;
    return { 384 + 300 * std::cos(angle) + 40 * std::sin(i * 0.5f), 490 + 420 * std::sin(angle * 0.7f) };
}

// The main thread's own time, which a busy machine's other threads do not add to.
double threadCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void drawStroke(Painting& painting, int stroke)
{
    painting.switchBrush(brushTypes[stroke % 8]);
    int i = stroke * 10;
    painting.strokeFrom(touchAt(i++));
    for (int move = 0; move < 8; ++move)
        painting.strokeTo(touchAt(i++));
    painting.strokeEnd(touchAt(i));
}

std::shared_ptr<Painting> makeFullPainting(bool onPhoto)
{
    platform::Device::setCurrent(platform::DeviceProfile::tablet());
    auto painting = std::make_shared<Painting>(platform::Size { paintingWidth, paintingHeight });
    if (onPhoto) {
        QImage photo(static_cast<int>(paintingWidth), static_cast<int>(paintingHeight), QImage::Format_ARGB32_Premultiplied);
        photo.fill(qRgb(120, 160, 200));
        painting->setBackgroundImage(platform::Image(std::move(photo)));
    }
    painting->addTransparentLayer();
    for (int stroke = 0; stroke < strokeCount; ++stroke)
        drawStroke(*painting, stroke);
    return painting;
}

// Each iteration times the report after one more stroke, then takes the
// stroke back (untimed) so that the painting keeps its size.
void RecoveryWrite(benchmark::State& state)
{
    QTemporaryDir folder;
    auto painting = makeFullPainting(state.range(0) != 0);
    PaintingRecovery recovery(folder.filePath("Documents.recovery"));
    recovery.paintingChanged(painting);
    PaintingRecovery::waitUntilWritten();
    int stroke = strokeCount;
    std::vector<double> lifts, cpu;
    lifts.reserve(static_cast<size_t>(state.max_iterations));
    cpu.reserve(static_cast<size_t>(state.max_iterations));
    for (auto _ : state) {
        drawStroke(*painting, stroke++);
        const double cpuStart = threadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        recovery.paintingChanged(painting);
        const auto end = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        lifts.push_back(seconds);
        cpu.push_back(threadCpuSeconds() - cpuStart);
        painting->undoStroke();
        recovery.paintingChanged(painting);
    }
    PaintingRecovery::waitUntilWritten();
    // The mean of a few hundred lifts is the time slices the writer takes
    // from a loaded machine as much as our own; the median is the lift.
    std::sort(lifts.begin(), lifts.end());
    state.counters["median_us"] = lifts[lifts.size() / 2] * 1e6;
    state.counters["p90_us"] = lifts[lifts.size() * 9 / 10] * 1e6;
    std::sort(cpu.begin(), cpu.end());
    state.counters["cpu_median_us"] = cpu[cpu.size() / 2] * 1e6;
    state.SetLabel(state.range(0) ? "300 strokes on a photo" : "300 strokes");
}

void RecoveryWriteFirstAfterOpening(benchmark::State& state)
{
    QTemporaryDir folder;
    auto painting = makeFullPainting(false);
    for (auto _ : state) {
        PaintingRecovery recovery(folder.filePath("Documents.recovery"));
        recovery.paintingChanged(painting);
        state.PauseTiming();
        PaintingRecovery::waitUntilWritten();
        state.ResumeTiming();
    }
}

}

BENCHMARK(RecoveryWrite)->Arg(0)->Arg(1)->UseManualTime()->Iterations(200)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(RecoveryWriteFirstAfterOpening)->Iterations(50)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
