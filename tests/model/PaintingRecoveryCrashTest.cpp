#include "Classes/model/PaintingRecovery.h"
#include "Classes/model/StrokeFile.h"
#include "ModelTestSupport.h"
#include "helpers/RecoveryScript.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

namespace {

// What the child's painting held after each step: its stroke file and its canvas.
struct ScriptState {
    std::vector<uint8_t> strokeFile;
    std::vector<uint8_t> canvas;
};

std::vector<ScriptState> everyScriptState()
{
    auto painting = recoveryscript::makePainting();
    std::vector<ScriptState> states { { encodeStrokeFile(*painting), onScreen(*painting->activeLayer()) } };
    for (int step = 0; step < recoveryscript::steps; ++step) {
        recoveryscript::performStep(*painting, step);
        states.push_back({ encodeStrokeFile(*painting), onScreen(*painting->activeLayer()) });
    }
    return states;
}

// The highest step the child said its recovery held, 0 for none.
int lastRecoveredStep(const QByteArray& output)
{
    int last = 0;
    for (const QByteArray& line : output.split('\n'))
        if (line.startsWith("recovered "))
            last = std::max(last, line.mid(10).toInt());
    return last;
}

}

TEST(PaintingRecoveryCrash, KilledAtRandomTheRecoveryHoldsAtLeastTheLastReportedStateDrawnExactlyAsLive)
{
    QTemporaryDir root;
    const QString folder = root.filePath("Documents.recovery");
    const std::vector<ScriptState> states = everyScriptState();
    std::mt19937 random(20130303);
    std::uniform_int_distribution<int> delayMs(0, 600);
    int restoredWithStrokes = 0;

    for (int round = 0; round < 14; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        ASSERT_TRUE(PaintingRecovery::removeRecoveredPainting(folder));
        QProcess child;
        child.setProgram(PAINTING_RECOVERY_CHILD);
        child.setArguments({ folder });
        child.setStandardErrorFile(QProcess::nullDevice());
        child.start();
        ASSERT_TRUE(child.waitForStarted(30000));
        ASSERT_TRUE(child.waitForReadyRead(30000));
        // Every other round waits for a first write, so that restores are
        // checked however slow the machine; the kill still lands anywhere after.
        QByteArray output = child.readAllStandardOutput();
        if (round % 2)
            while (lastRecoveredStep(output) == 0 && child.state() == QProcess::Running && child.waitForReadyRead(10000))
                output += child.readAllStandardOutput();
        // A child that has finished drawing by then is simply found finished.
        if (!child.waitForFinished(delayMs(random))) {
            child.kill();
            ASSERT_TRUE(child.waitForFinished(10000));
        }
        output += child.readAllStandardOutput();
        const int reported = lastRecoveredStep(output);

        auto restored = PaintingRecovery::loadRecoveredPainting(folder);
        if (!restored) {
            EXPECT_EQ(reported, 0) << "a completed write was lost";
            continue;
        }
        EXPECT_FALSE(restored->isSaved());
        EXPECT_EQ(restored->mirrixMode(), restored->activeLayer()->strokeList().empty() ? Painting::defaultMirrixMode : 4);
        // Undo brings earlier states back, so any state from the last
        // reported one on may be the one kept.
        const std::vector<uint8_t> file = encodeStrokeFile(*restored);
        bool matched = false;
        for (size_t step = static_cast<size_t>(reported); step < states.size() && !matched; ++step) {
            if (states[step].strokeFile != file)
                continue;
            matched = true;
            EXPECT_TRUE(onScreen(*restored->activeLayer()) == states[step].canvas) << "step " << step;
            EXPECT_TRUE(offScreen(*restored->activeLayer()) == states[step].canvas) << "step " << step;
        }
        EXPECT_TRUE(matched) << "reported step " << reported << ", " << restored->activeLayer()->getStrokeNumber() << " strokes";
        if (restored->activeLayer()->getStrokeNumber() > 0)
            ++restoredWithStrokes;
    }
    EXPECT_GE(restoredWithStrokes, 7);
}
