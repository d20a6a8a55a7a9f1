#include "Classes/model/StrokeFile.h"
#include "ModelTestSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <gtest/gtest.h>
#include <random>

namespace {

// A PNG is complete only with its closing IEND chunk.
bool endsLikeAPng(const std::vector<uint8_t>& bytes)
{
    static const uint8_t iend[] = { 0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82 };
    return bytes.size() > sizeof iend && std::equal(std::begin(iend), std::end(iend), bytes.end() - sizeof iend);
}

// Lines "saved <name> <strokes>" of the child's output, in order.
std::vector<std::pair<QString, int>> savesReported(const QByteArray& output)
{
    std::vector<std::pair<QString, int>> saves;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 3 && fields[0] == "saved")
            saves.emplace_back(QString::fromUtf8(fields[1]), fields[2].toInt());
    }
    return saves;
}

void startChild(QProcess& child, const ScopedDocuments& documents)
{
    child.setProgram(PAINTING_SAVE_CHILD);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PINTARO_DOCUMENTS", documents.path());
    child.setProcessEnvironment(environment);
    // Unread, its warnings could fill the pipe and stall it.
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start();
    ASSERT_TRUE(child.waitForStarted(10000));
    ASSERT_TRUE(child.waitForReadyRead(10000));
}

}

TEST(PaintingSaveCrash, KilledAtRandomWhileSavingTheLastCompleteSaveAlwaysOpensIntact)
{
    ScopedDocuments documents;
    std::mt19937 random(20130303);
    size_t completed = 0;

    // The first child shows how long one save takes on this machine, so that
    // the kills fall before, between and inside saves however loaded it is.
    QElapsedTimer timer;
    {
        QProcess child;
        startChild(child, documents);
        timer.start();
        QByteArray output;
        while (savesReported(output).empty() && timer.elapsed() < 20000) {
            child.waitForReadyRead(100);
            output += child.readAllStandardOutput();
        }
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
    }
    std::uniform_int_distribution<int> delayMs(0, 3 * std::max(5, static_cast<int>(timer.elapsed())));

    for (int round = 0; round < 40; ++round) {
        QProcess child;
        startChild(child, documents);
        child.waitForFinished(delayMs(random));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "round " << round;

        const auto saves = savesReported(child.readAllStandardOutput());
        completed += saves.size();
        if (saves.empty())
            continue;
        const auto& [last, strokes] = saves.back();
        auto painting = Painting::initWithContentsOfFile(last);
        ASSERT_TRUE(painting) << "round " << round << ": " << last.toStdString();
        EXPECT_EQ(painting->activeLayer()->getStrokeNumber(), strokes) << last.toStdString();
    }
    // Enough kills land after whole saves to check them, even on a loaded machine.
    EXPECT_GE(completed, 5u);

    // Whatever sits under a final name is whole.
    for (const QString& name : documents.files()) {
        const auto bytes = readBytes(documents.file(name));
        if (name.endsWith(".stk")) {
            EXPECT_TRUE(decodeStrokeFile(bytes)) << name.toStdString();
        } else if (name.endsWith(".png")) {
            EXPECT_TRUE(endsLikeAPng(bytes)) << name.toStdString();
        } else if (name == "index") {
            EXPECT_EQ(bytes.size(), 4u);
        }
    }
}
