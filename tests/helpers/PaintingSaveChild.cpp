// Saves a growing painting over and over through the painting list, printing
// "saved <name> <strokes>" once each save has completed. The crash test kills
// it at random moments and checks what it left behind.
#include "Classes/brushes/Brush.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingManager.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Painting painting({ 96, 96 });
    painting.setMirrixMode(0);
    painting.addTransparentLayer();
    PaintingManager manager;
    std::printf("ready\n");
    std::fflush(stdout);

    QElapsedTimer lifetime;
    lifetime.start();
    // An orphan stops by itself.
    for (int i = 0; lifetime.elapsed() < 30000; ++i) {
        const float x = static_cast<float>(i * 7 % 80);
        painting.switchBrush(i % 2 ? 13 : 11);
        painting.strokeFrom({ x, 5 });
        painting.strokeTo({ x + 10, 40 });
        painting.strokeEnd({ 90 - x, 90 });
        painting.setPaintingImage(painting.getPaintingImage());

        bool done = false;
        std::shared_ptr<PaintingItem> saved;
        manager.savePainting(painting, nullptr, [&](std::shared_ptr<PaintingItem> item) {
            saved = std::move(item);
            done = true;
        });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (!saved)
            return 1;
        std::printf("saved %s %d\n", qPrintable(saved->paintingName()), painting.activeLayer()->getStrokeNumber());
        std::fflush(stdout);
    }
    return 0;
}
