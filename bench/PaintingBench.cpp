// The painting-level costs of a touch: a move through Painting::strokeTo, the
// undo snapshot taken when a stroke begins, and the redraw of the 64 × 64
// rectangle that follows a move.
#include "Classes/brushes/Brush.h"
#include "Classes/model/Painting.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/Device.h"
#include "bench/TouchPath.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

constexpr float paintingWidth = 768;
constexpr float paintingHeight = 980;
// Long strokes slow nothing down, but their points pile up; start afresh now and then.
constexpr int movesPerStroke = 200;

std::unique_ptr<Painting> tabletPainting()
{
    platform::Device::setCurrent(platform::DeviceProfile::tablet());
    auto painting = std::make_unique<Painting>(platform::Size { paintingWidth, paintingHeight });
    painting->addTransparentLayer();
    return painting;
}

void PaintingMove(benchmark::State& state)
{
    auto painting = tabletPainting();
    painting->switchBrush(static_cast<int>(state.range(0)));
    painting->setMirrixMode(static_cast<int>(state.range(1)));
    if (!painting->brush()) {
        state.SkipWithError("no brush of this type");
        return;
    }
    int i = 0;
    int moves = 0;
    platform::Point last = touchAt(i++);
    painting->strokeFrom(last);
    for (auto _ : state) {
        last = nextTouch(i, last);
        benchmark::DoNotOptimize(painting->strokeTo(last));
        if (++moves % movesPerStroke == 0) {
            state.PauseTiming();
            painting->strokeEnd(last);
            painting->strokeFrom(last);
            state.ResumeTiming();
        }
    }
    painting->strokeEnd(nextTouch(i, last));
}
BENCHMARK(PaintingMove)->Args({ 13, 0 })->Args({ 13, 9 })->Unit(benchmark::kMicrosecond);

// The snapshot every stroke begins with: a copy of the whole on-screen canvas.
void LayerCacheUndo(benchmark::State& state)
{
    auto painting = tabletPainting();
    Layer& layer = *painting->activeLayer();
    for (auto _ : state)
        layer.cacheUndo();
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(paintingWidth * paintingHeight * 4));
}
BENCHMARK(LayerCacheUndo)->Unit(benchmark::kMicrosecond);

// Snapshot and undo together: the undo copies the snapshot back and the
// offscreen canvas after it.
void LayerCacheUndoThenUndo(benchmark::State& state)
{
    auto painting = tabletPainting();
    Layer& layer = *painting->activeLayer();
    for (auto _ : state) {
        layer.cacheUndo();
        benchmark::DoNotOptimize(layer.undo());
    }
}
BENCHMARK(LayerCacheUndoThenUndo)->Unit(benchmark::kMicrosecond);

// The view's redraw after a move: the painting drawn into a view-sized context
// clipped to the move's dirty rectangle.
void DrawPaintingDirtyRect(benchmark::State& state)
{
    auto painting = tabletPainting();
    painting->switchBrush(13);
    painting->strokeFrom(touchAt(0));
    for (int i = 1; i < 40; ++i)
        painting->strokeTo(touchAt(i));
    painting->strokeEnd(touchAt(40));
    platform::ImageContext view({ paintingWidth, paintingHeight }, false, 1);
    const float side = static_cast<float>(state.range(0));
    int i = 0;
    for (auto _ : state) {
        platform::Point p = touchAt(i++);
        view.saveGState();
        view.clipToRect(platform::Rect(std::floor(p.x) - side / 2, std::floor(p.y) - side / 2, side, side));
        painting->drawPaintingTo(view);
        view.restoreGState();
    }
}
BENCHMARK(DrawPaintingDirtyRect)->Arg(64)->Arg(980)->Unit(benchmark::kMicrosecond);

}
