// Draws a painting step by step, reporting each change to the recovery
// writer, and prints "recovered <step>" each time the recovery folder (the
// first argument) holds the painting as it was after that step. The recovery
// crash test kills it at random moments and opens what it left behind.
#include "Classes/model/PaintingRecovery.h"
#include "RecoveryScript.h"

#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <thread>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    auto painting = recoveryscript::makePainting();
    PaintingRecovery recovery(QString::fromLocal8Bit(argv[1]));
    recovery.setWriteObserver([](uint64_t generation, bool succeeded) {
        if (succeeded && generation > 0) {
            std::printf("recovered %llu\n", static_cast<unsigned long long>(generation));
            std::fflush(stdout);
        }
    });
    std::printf("ready\n");
    std::fflush(stdout);

    for (int step = 0; step < recoveryscript::steps; ++step) {
        recoveryscript::performStep(*painting, step);
        recovery.paintingChanged(painting);
        // About a child's pace of short strokes, so that kills fall on
        // writes of every size and between them.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    PaintingRecovery::waitUntilWritten();
    std::printf("done\n");
    std::fflush(stdout);
    return 0;
}
