// Touch moves: one layer strokeTo of about 25 points of finger travel into a
// 768 × 980 canvas, per brush type and mirror mode, over short strokes and
// late in a long one.
#include "Classes/brushes/Brush.h"
#include "Classes/model/Layer.h"
#include "bench/TouchPath.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/system/Device.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <ctime>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

namespace {

constexpr int canvasWidth = 768;
constexpr int canvasHeight = 980;

struct Canvas {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(canvasWidth * canvasHeight, 0);
    std::unique_ptr<platform::BitmapContext> context = platform::BitmapContext::create(
        pixels.data(), canvasWidth, canvasHeight, canvasWidth * 4, platform::PixelLayout::CanvasBGRA);
};

// Each move's wall time, and the processor time this thread spent on it: on a
// shared machine the wall time's tail is mostly other programs' turns.
struct MoveTimes {
    std::vector<double> wall;
    std::vector<double> processor;

    MoveTimes()
    {
        wall.reserve(1 << 16);
        processor.reserve(1 << 16);
    }
};

double threadMicroseconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

void timeMove(platform::Point p, Layer& layer, MoveTimes& times)
{
    const double processorStart = threadMicroseconds();
    auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(layer.strokeTo(p));
    const double wall = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    const double processor = threadMicroseconds() - processorStart;
    if (times.wall.size() < times.wall.capacity()) {
        times.wall.push_back(wall);
        times.processor.push_back(processor);
    }
}

// The median and 99th percentile of the timed moves, as counters.
void reportPercentiles(benchmark::State& state, MoveTimes& times)
{
    // The benchmark's own time is a mean; a child feels the median and the tail.
    for (auto [name, percent, values] : { std::tuple { "p50_us", 50, &times.wall }, { "p99_us", 99, &times.wall },
             { "cpu_p50_us", 50, &times.processor }, { "cpu_p99_us", 99, &times.processor } }) {
        if (values->empty())
            break;
        auto at = values->begin() + static_cast<long>(values->size() * percent / 100);
        std::nth_element(values->begin(), at, values->end());
        state.counters[name] = *at;
    }
}

std::unique_ptr<Brush> benchBrush(benchmark::State& state)
{
    platform::Device::setCurrent(platform::DeviceProfile::tablet());
    auto brush = Brush::createBrush(static_cast<int>(state.range(0)), nullptr);
    if (!brush) {
        state.SkipWithError("no brush of this type");
        return nullptr;
    }
    brush->setMirrix(static_cast<int>(state.range(1)), { canvasWidth / 2.0f, canvasHeight / 2.0f });
    return brush;
}

void TouchMove(benchmark::State& state)
{
    auto brush = benchBrush(state);
    if (!brush)
        return;
    // Through the layer, as under the finger: brushes that redraw their whole
    // path also restore the canvas under it first.
    auto layer = Layer::createWithSize({ canvasWidth, canvasHeight });
    int i = 0;
    platform::Point last = touchAt(i++);
    layer->strokeFromWithBrush(*brush, last);
    int moves = 0;
    // Each move is also timed on its own, for the 99th percentile a child would feel.
    MoveTimes times;
    for (auto _ : state) {
        // Long strokes are ended and restarted off the clock, as a child lifts the finger.
        if (moves >= 200) {
            state.PauseTiming();
            layer->strokeEnd(last = nextTouch(i, last));
            layer->strokeFromWithBrush(*brush, last = touchAt(i++));
            moves = 0;
            state.ResumeTiming();
        }
        last = nextTouch(i, last);
        ++moves;
        timeMove(last, *layer, times);
    }
    reportPercentiles(state, times);
}

// The moves from the 300th to the 400th point of one long stroke: a move must
// not cost more as the stroke grows.
void TouchMoveLong(benchmark::State& state)
{
    constexpr int firstTimedPoint = 300;
    constexpr int lastTimedPoint = 400;
    auto brush = benchBrush(state);
    if (!brush)
        return;
    auto layer = Layer::createWithSize({ canvasWidth, canvasHeight });
    int i = 0;
    platform::Point last;
    int points = lastTimedPoint;
    MoveTimes times;
    for (auto _ : state) {
        if (points >= lastTimedPoint) {
            state.PauseTiming();
            if (layer->currentStroke())
                layer->strokeEnd(last = nextTouch(i, last));
            layer->clear();
            i = 0;
            layer->strokeFromWithBrush(*brush, last = touchAt(i++));
            for (points = 1; points < firstTimedPoint; ++points)
                layer->strokeTo(last = nextTouch(i, last));
            state.ResumeTiming();
        }
        last = nextTouch(i, last);
        ++points;
        timeMove(last, *layer, times);
    }
    reportPercentiles(state, times);
}

void ShadowStroke(benchmark::State& state)
{
    Canvas canvas;
    auto& context = *canvas.context;
    const float blur = static_cast<float>(state.range(0));
    int i = 0;
    for (auto _ : state) {
        platform::Point from = touchAt(i++);
        platform::Point to = touchAt(i);
        context.saveGState();
        context.setLineWidth(8);
        context.setLineCap(platform::LineCap::Round);
        context.setStrokeColor(platform::Color::rgba(0.2f, 1, 0.4f, 1));
        context.setShadow({ 0, 0 }, blur, platform::Color::rgba(0.2f, 1, 0.4f, 1));
        context.moveToPoint(from);
        context.addQuadCurveToPoint({ (from.x + to.x) / 2 + 5, (from.y + to.y) / 2 }, to);
        context.strokePath();
        context.restoreGState();
    }
}

void touchMoveArguments(benchmark::internal::Benchmark* benchmark)
{
    // The eight brushes of the brush button, the eraser, and the other types.
    for (int type : { 37, 16, 13, 11, 34, 64, 24, 51, 23, 29, 32, 33, 66, 67, 101 })
        for (int mode : { 0, 1, 2, 4, 9 })
            if (mode != 2 || type == 16)
                benchmark->Args({ type, mode });
}

void longStrokeArguments(benchmark::internal::Benchmark* benchmark)
{
    for (int mode : { 0, 1, 2, 4, 9 })
        benchmark->Args({ 16, mode });
}

}

BENCHMARK(TouchMove)->Apply(touchMoveArguments)->Unit(benchmark::kMicrosecond);
BENCHMARK(TouchMoveLong)->Apply(longStrokeArguments)->Unit(benchmark::kMicrosecond);
BENCHMARK(ShadowStroke)->Arg(20)->Unit(benchmark::kMicrosecond);
