#include "Classes/model/PaintingManager.h"
#include "Classes/model/StrokeFile.h"
#include "PaintingFileTestSupport.h"

#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace {

// A PNG is complete only with its closing IEND chunk.
bool endsLikeAPng(const std::vector<uint8_t>& bytes)
{
    static const uint8_t iend[] = { 0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82 };
    return bytes.size() > sizeof iend && std::equal(std::begin(iend), std::end(iend), bytes.end() - sizeof iend);
}

}

TEST(PaintingSaveCrash, KilledAtRandomWhileSavingTheLastCompleteSaveAlwaysOpensIntact)
{
    ScopedDocuments documents;
    std::mt19937 random(20130303);
    // A save takes some tens of milliseconds, so the kills fall before, between and inside saves.
    std::uniform_int_distribution<int> delayMs(10, 160);
    std::map<QString, int> completed;
    int kills = 0;

    for (int round = 0; round < 50; ++round) {
        QProcess child;
        child.setProgram(PAINTING_SAVE_CHILD);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("PINTARO_DOCUMENTS", documents.path());
        child.setProcessEnvironment(environment);
        child.start();
        ASSERT_TRUE(child.waitForStarted(10000));
        ASSERT_TRUE(child.waitForReadyRead(10000));
        QThread::msleep(static_cast<unsigned long>(delayMs(random)));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        if (child.exitStatus() == QProcess::CrashExit)
            ++kills;

        QString last;
        for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() == 3 && fields[0] == "saved") {
                last = QString::fromUtf8(fields[1]);
                completed[last] = fields[2].toInt();
            }
        }
        if (last.isEmpty())
            continue;
        auto painting = Painting::initWithContentsOfFile(last);
        ASSERT_TRUE(painting) << "round " << round << ": " << last.toStdString();
        EXPECT_EQ(painting->activeLayer()->getStrokeNumber(), completed[last]) << last.toStdString();
    }
    EXPECT_EQ(kills, 50);
    EXPECT_GE(completed.size(), 10u);

    // Whatever sits under a final name is whole: every stroke file reads, every
    // picture is complete, the counter has its four bytes.
    int strokeFiles = 0;
    for (const QString& name : documents.files()) {
        const auto bytes = readBytes(documents.file(name));
        if (name.endsWith(".stk")) {
            ++strokeFiles;
            EXPECT_TRUE(decodeStrokeFile(bytes)) << name.toStdString();
        } else if (name.endsWith(".png")) {
            EXPECT_TRUE(endsLikeAPng(bytes)) << name.toStdString();
        } else if (name == "index") {
            EXPECT_EQ(bytes.size(), 4u);
        }
    }
    PaintingManager manager;
    manager.initPaintingManager();
    EXPECT_EQ(manager.paintingList().size(), static_cast<size_t>(strokeFiles));
    for (const auto& [name, strokes] : completed)
        EXPECT_TRUE(QFile::exists(documents.file(name + ".stk"))) << name.toStdString();
}
