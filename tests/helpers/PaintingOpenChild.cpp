// Opens every painting of the Documents folder as the gallery does (the list,
// each item's thumbnail and picture, the painting itself) and replays it,
// printing one line per painting with what it found, the time it took and the
// memory it needed. Then it saves a new painting. The hostile folder test
// runs it, so that a hang or a runaway allocation ends a child, not the test.
// It prints "begin <name>" and then
//   "opened <name> <painting> <thumbnail> <picture> <layers> <strokes> <layer pictures> <background> <ms> <kB>"
// and finally "saved <name>" or "save failed".
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingManager.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

namespace {

// A field of /proc/self/status in kB, such as "VmHWM", the peak resident size.
long statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field) && line.at(static_cast<int>(std::strlen(field))) == ':')
            return line.mid(static_cast<int>(std::strlen(field)) + 1).trimmed().split(' ').front().toLong();
    return -1;
}

// Lowers the recorded peak to the present size, so that the next peak is one painting's.
void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    PaintingManager manager;
    manager.initPaintingManager();
    for (const auto& item : manager.paintingList()) {
        std::printf("begin %s\n", qPrintable(item->paintingName()));
        std::fflush(stdout);
        resetPeak();
        const long before = statusKb("VmRSS");
        QElapsedTimer timer;
        timer.start();
        item->loadThumbnail();
        item->loadFullSizeImage();
        auto painting = Painting::initWithContentsOfFile(item->paintingName());
        const bool opened = painting != nullptr;
        int layers = 0, strokes = 0, layerPictures = 0;
        bool background = false;
        if (painting) {
            background = painting->backgroundImage().has_value();
            for (const auto& layer : painting->layerArray()) {
                ++layers;
                strokes += layer->getStrokeNumber();
                layerPictures += layer->snapShotImage() ? 1 : 0;
            }
            painting->startPlayback();
            for (int step = 0; step < 100000 && !painting->endOfPlayback(); ++step)
                painting->playback();
            painting->stopPlayback();
        }
        painting.reset();
        const long grew = statusKb("VmHWM") - before;
        std::printf("opened %s %d %d %d %d %d %d %d %lld %ld\n", qPrintable(item->paintingName()), opened,
            item->thumbnailImage().has_value(), item->fullSizeImage().has_value(), layers, strokes, layerPictures, background,
            static_cast<long long>(timer.elapsed()), grew);
        std::fflush(stdout);
    }

    Painting painting({ 64, 64 });
    painting.addTransparentLayer();
    painting.strokeFrom({ 5, 5 });
    painting.strokeEnd({ 50, 50 });
    painting.setPaintingImage(painting.getPaintingImage());
    bool done = false;
    manager.savePainting(painting, nullptr, [&](std::shared_ptr<PaintingItem> item) {
        std::printf("%s\n", item ? qPrintable("saved " + item->paintingName()) : "save failed");
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::fflush(stdout);
    return 0;
}
