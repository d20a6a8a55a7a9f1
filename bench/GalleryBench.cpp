// Opening the thumbnail grid over 1000 saved tablet paintings (building the
// list from the stored files and laying out the first screen of cells), and
// scrolling it one row further, with the peak resident memory once the whole
// grid has been scrolled through.
#include "Classes/gallery/PaintingThumbnailViewController.h"
#include "Classes/gallery/ThumbnailImageView.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "Classes/model/PaintingManager.h"
#include "platform/system/Device.h"
#include "platform/system/DispatchQueue.h"
#include "platform/ui/Animation.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/NavigationController.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int distinctPaintings = 8;

// Widgets need a QApplication; the benchmark program has none of its own.
bool ensureWidgetApplication()
{
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "pintaro_bench";
        static char* argv[] = { name, nullptr };
        static QApplication application(argc, argv);
        platform::ui::setAnimationsEnabled(false);
    }
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

// A few tablet paintings saved through the painting list, then copied under
// later names and dates until there are `count`, as years of saving would
// leave them. Made once per run and shared by both benchmarks.
class SavedGallery {
public:
    static SavedGallery& withPaintings(int count)
    {
        static SavedGallery gallery(count);
        return gallery;
    }
    bool ready() const { return m_ready; }

private:
    explicit SavedGallery(int count)
    {
        qputenv("PINTARO_DOCUMENTS", m_folder.path().toUtf8());
        platform::Device::setCurrent(platform::DeviceProfile::tablet());
        PaintingManager manager;
        int second = 0;
        manager.setClock([&second] { return QDateTime(QDate(2013, 1, 1), QTime(9, 0, 0)).addSecs(second); });
        for (int n = 0; n < distinctPaintings; ++n, ++second) {
            Painting painting({ 768, 980 });
            painting.addTransparentLayer();
            for (int s = 0; s < 12; ++s) {
                painting.switchBrush(s % 2 ? 37 : 13);
                const auto at = [&](int i) {
                    const float angle = float(i) * 0.4f + float(s * 3 + n);
                    return platform::Point { 384 + (120 + 20 * float(s)) * std::cos(angle), 490 + (160 + 15 * float(s)) * std::sin(angle) };
                };
                painting.strokeFrom(at(0));
                for (int i = 1; i < 10; ++i)
                    painting.strokeTo(at(i));
                painting.strokeEnd(at(10));
            }
            painting.setPaintingImage(painting.getPaintingImage());
            manager.savePainting(painting, nullptr, nullptr);
            platform::DispatchQueue::global().waitUntilIdle();
            platform::DispatchQueue::mainQueue().waitUntilIdle();
        }
        const auto directory = getPaintingDirectoryPath();
        if (!directory || manager.paintingList().size() != distinctPaintings)
            return;
        const QDir folder(*directory);
        const QDateTime base = QDateTime::currentDateTime().addDays(-400);
        for (int i = distinctPaintings; i < count; ++i) {
            const QString source = manager.paintingList()[static_cast<size_t>(i % distinctPaintings)]->paintingName();
            const QString name = base.addSecs(i * 3600).toString(QStringLiteral("yyyy-MM-dd-HH-mm-ss"));
            for (const QString& file : folder.entryList({ source + QStringLiteral("*") }, QDir::Files)) {
                const QString target = folder.filePath(name + file.mid(source.size()));
                QFile::copy(folder.filePath(file), target);
                if (file.endsWith(QStringLiteral(".stk"))) {
                    QFile stamped(target);
                    if (stamped.open(QIODevice::ReadWrite))
                        stamped.setFileTime(base.addSecs(i * 3600), QFileDevice::FileModificationTime);
                }
            }
        }
        m_ready = QDir(*directory).entryList({ QStringLiteral("*.stk") }, QDir::Files).size() == count;
    }

    QTemporaryDir m_folder;
    bool m_ready { false };
};

// The window with a screen below the grid, as the home screen would be.
struct GalleryWindow {
    GalleryWindow()
        : window(std::make_shared<platform::ui::ViewController>())
    {
        window.resize(768, 1024);
        window.show();
        QCoreApplication::processEvents();
    }
    std::shared_ptr<PaintingThumbnailViewController> open()
    {
        auto grid = platform::ui::makeScreen<PaintingThumbnailViewController>();
        window.navigationController().pushViewController(grid, false);
        QCoreApplication::processEvents();
        return grid;
    }
    platform::ui::MainWindow window;
};

long residentKilobytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    }
    return 0;
}

bool allThumbnailsShown(const PaintingThumbnailViewController& grid)
{
    return std::all_of(grid.visibleCells().begin(), grid.visibleCells().end(),
        [](const ThumbnailImageView* cell) { return cell->hasThumbnail(); });
}

double medianMs(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::nth_element(samples.begin(), samples.begin() + static_cast<long>(samples.size() / 2), samples.end());
    return samples[samples.size() / 2];
}

bool prepare(benchmark::State& state)
{
    if (!ensureWidgetApplication()) {
        state.SkipWithError("no widget application");
        return false;
    }
    platform::Device::setCurrent(platform::DeviceProfile::tablet());
    if (!SavedGallery::withPaintings(static_cast<int>(state.range(0))).ready()) {
        state.SkipWithError("the paintings could not be saved");
        return false;
    }
    return true;
}

void GalleryOpen(benchmark::State& state)
{
    if (!prepare(state))
        return;
    GalleryWindow window;
    std::vector<double> samples;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto grid = window.open();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        samples.push_back(took.count());
        state.SetIterationTime(took.count() / 1000);
        if (grid->imageCount() != state.range(0))
            state.SkipWithError("the grid lists another number of paintings");
        window.window.navigationController().popViewController(false);
        QCoreApplication::processEvents();
    }
    state.counters["median_ms"] = medianMs(samples);
}

void GalleryScrollRow(benchmark::State& state)
{
    if (!prepare(state))
        return;
    GalleryWindow window;
    auto grid = window.open();
    QScrollBar& bar = *grid->thumbnailScrollView()->verticalScrollBar();
    const int row = static_cast<int>(grid->frameForCellAtIndex(4).y() - grid->frameForCellAtIndex(0).y());
    const long rssBefore = residentKilobytes("VmRSS:");
    std::vector<double> samples;
    std::vector<double> tileSamples;
    std::vector<double> shownSamples;
    size_t mostCells = 0;
    for (auto _ : state) {
        if (bar.value() >= bar.maximum()) {
            state.PauseTiming();
            bar.setValue(0);
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        bar.setValue(bar.value() + row);
        tileSamples.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        // The new row is on screen once the window has painted it.
        grid->thumbnailScrollView()->viewport()->repaint();
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        samples.push_back(took.count());
        state.SetIterationTime(took.count() / 1000);
        // Its thumbnails follow from the global queue; how long until all show.
        state.PauseTiming();
        while (!allThumbnailsShown(*grid) && std::chrono::steady_clock::now() - start < std::chrono::seconds(2))
            QCoreApplication::processEvents();
        grid->thumbnailScrollView()->viewport()->repaint();
        shownSamples.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        state.ResumeTiming();
        mostCells = std::max(mostCells, grid->visibleCells().size() + grid->recycledCells().size());
    }
    // Then once through the whole grid, for the memory it leaves behind.
    for (bar.setValue(0); bar.value() < bar.maximum(); bar.setValue(bar.value() + row))
        QCoreApplication::processEvents();
    platform::DispatchQueue::global().waitUntilIdle();
    platform::DispatchQueue::mainQueue().waitUntilIdle();
    size_t loadedThumbnails = 0;
    for (const auto& item : grid->paintingManager()->paintingList())
        loadedThumbnails += item->thumbnailImage() ? 1 : 0;
    state.counters["median_ms"] = medianMs(samples);
    state.counters["tile_ms"] = medianMs(tileSamples);
    state.counters["shown_ms"] = medianMs(shownSamples);
    state.counters["cells"] = static_cast<double>(mostCells);
    state.counters["thumbs_loaded"] = static_cast<double>(loadedThumbnails);
    state.counters["rss_growth_MB"] = static_cast<double>(residentKilobytes("VmRSS:") - rssBefore) / 1024;
    state.counters["peak_rss_MB"] = static_cast<double>(residentKilobytes("VmHWM:")) / 1024;
}

}

BENCHMARK(GalleryOpen)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(GalleryScrollRow)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(240);
