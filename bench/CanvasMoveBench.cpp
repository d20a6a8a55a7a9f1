// Canvas moves: a mouse move delivered to the editor's canvas widget, through
// the painting's stroke, up to the end of the repaint of what it changed,
// offscreen on the tablet. Compare with TouchMove of the same brush and mode.
#include "Classes/editor/DoodleView.h"
#include "Classes/model/Painting.h"
#include "bench/TouchPath.h"
#include "platform/system/Device.h"

#include <QApplication>
#include <QMouseEvent>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>
#include <vector>

namespace {

bool ensureWidgetApplication()
{
    if (QCoreApplication::instance())
        return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "pintaro_bench";
    static char* argv[] = { name, nullptr };
    new QApplication(argc, argv);
    return true;
}

void send(QWidget& canvas, QEvent::Type type, platform::Point p)
{
    QPointF local(p.x, p.y);
    QMouseEvent event(type, local, canvas.mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas, &event);
}

void CanvasMove(benchmark::State& state)
{
    if (!ensureWidgetApplication()) {
        state.SkipWithError("needs a widget application");
        return;
    }
    platform::Device::setCurrent(platform::DeviceProfile::tablet());
    const int type = static_cast<int>(state.range(0));
    const int mode = static_cast<int>(state.range(1));
    auto painting = std::make_shared<Painting>(platform::Size { 768, 980 });
    painting->addTransparentLayer();
    painting->setMirrixMode(mode);
    painting->switchBrush(type);
    if (!painting->brush()) {
        state.SkipWithError("no brush of this type");
        return;
    }
    DoodleView canvas;
    canvas.resize(768, 1024);
    canvas.setPainting(painting);
    canvas.show();
    QCoreApplication::processEvents();

    int i = 0;
    platform::Point last = touchAt(i++);
    send(canvas, QEvent::MouseButtonPress, last);
    int moves = 0;
    // The whole move, and its part up to the repaint (the stroke itself).
    std::vector<double> moveMicroseconds, strokeMicroseconds;
    moveMicroseconds.reserve(1 << 16);
    strokeMicroseconds.reserve(1 << 16);
    for (auto _ : state) {
        if (moves >= 200) {
            state.PauseTiming();
            send(canvas, QEvent::MouseButtonRelease, last = nextTouch(i, last));
            QCoreApplication::sendPostedEvents();
            send(canvas, QEvent::MouseButtonPress, last = touchAt(i++));
            moves = 0;
            state.ResumeTiming();
        }
        last = nextTouch(i, last);
        ++moves;
        auto start = std::chrono::steady_clock::now();
        send(canvas, QEvent::MouseMove, last);
        auto stroked = std::chrono::steady_clock::now();
        // The repaint of the marked rectangles runs here, as the window's next update.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        auto end = std::chrono::steady_clock::now();
        if (moveMicroseconds.size() < moveMicroseconds.capacity()) {
            moveMicroseconds.push_back(std::chrono::duration<double, std::micro>(end - start).count());
            strokeMicroseconds.push_back(std::chrono::duration<double, std::micro>(stroked - start).count());
        }
    }
    send(canvas, QEvent::MouseButtonRelease, last);
    auto percentile = [](std::vector<double>& values, int percent) {
        auto at = values.begin() + static_cast<long>(values.size() * percent / 100);
        std::nth_element(values.begin(), at, values.end());
        return *at;
    };
    if (!moveMicroseconds.empty()) {
        state.counters["p50_us"] = percentile(moveMicroseconds, 50);
        state.counters["p99_us"] = percentile(moveMicroseconds, 99);
        state.counters["stroke_p50_us"] = percentile(strokeMicroseconds, 50);
    }
}

void canvasMoveArguments(benchmark::internal::Benchmark* benchmark)
{
    // The eight brushes of the brush button and the eraser.
    for (int type : { 37, 16, 13, 11, 34, 64, 24, 51, 23 })
        for (int mode : { 0, 1, 4, 9 })
            benchmark->Args({ type, mode });
}

}

BENCHMARK(CanvasMove)->Apply(canvasMoveArguments)->Unit(benchmark::kMicrosecond);
