// Saving a full-size tablet painting of 300 strokes (pictures and stroke file,
// each written and synced to disk) and opening it again.
#include "Classes/brushes/Brush.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "Classes/model/PaintingManager.h"
#include "platform/system/Device.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <memory>

namespace {

constexpr float paintingWidth = 768;
constexpr float paintingHeight = 980;
constexpr int strokeCount = 300;

// Points about 25 apart on loops across the whole canvas (a few fall closer and
// are not recorded, which only shortens the strokes a little).
platform::Point touchAt(int i)
{
    float angle = i * 0.11f;
    return { 384 + 300 * std::cos(angle) + 40 * std::sin(i * 0.5f), 490 + 420 * std::sin(angle * 0.7f) };
}

// A painting as a child leaves it: 300 strokes of the eight brushes, random
// colours, the default mirror mode, and the pictures the save path writes.
std::unique_ptr<Painting> makeFullPainting()
{
    platform::Device::setCurrent(platform::DeviceProfile::tablet());
    auto painting = std::make_unique<Painting>(platform::Size { paintingWidth, paintingHeight });
    painting->addTransparentLayer();
    const int types[] = { 37, 16, 13, 11, 34, 64, 24, 51 };
    int i = 0;
    for (int stroke = 0; stroke < strokeCount; ++stroke) {
        painting->switchBrush(types[stroke % 8]);
        painting->strokeFrom(touchAt(i++));
        for (int move = 0; move < 8; ++move)
            painting->strokeTo(touchAt(i++));
        painting->strokeEnd(touchAt(i++));
    }
    painting->setPaintingImage(painting->getPaintingImage());
    PaintingManager manager;
    painting->setThumbnailImage(manager.createThumbnail(*painting->paintingImage()));
    return painting;
}

struct Documents {
    QTemporaryDir folder;
    Documents() { qputenv("PINTARO_DOCUMENTS", folder.path().toUtf8()); }
};

void SavePainting(benchmark::State& state)
{
    Documents documents;
    auto painting = makeFullPainting();
    for (auto _ : state) {
        if (!storePainting("bench", *painting)) {
            state.SkipWithError("save failed");
            return;
        }
    }
}

void OpenPainting(benchmark::State& state)
{
    Documents documents;
    auto painting = makeFullPainting();
    if (!storePainting("bench", *painting)) {
        state.SkipWithError("save failed");
        return;
    }
    for (auto _ : state) {
        auto opened = Painting::initWithContentsOfFile("bench");
        if (!opened) {
            state.SkipWithError("open failed");
            return;
        }
        benchmark::DoNotOptimize(opened.get());
    }
}

}

BENCHMARK(SavePainting)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(OpenPainting)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
