#include "Classes/model/StrokeFile.h"
#include "ModelTestSupport.h"

#include "Classes/model/PaintingManager.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <set>
#include <sys/stat.h>

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
    // Generous: a loaded machine may take seconds to start a program.
    ASSERT_TRUE(child.waitForStarted(30000));
    ASSERT_TRUE(child.waitForReadyRead(30000));
}

// The names of saves whose pictures are there but whose stroke file is not.
std::set<QString> unfinishedSaves(const ScopedDocuments& documents)
{
    static const QRegularExpression picture(QStringLiteral("^(\\d{4}(?:-\\d+)+)(_thumb|_layer_0)?\\.png$"));
    const QStringList files = documents.files();
    std::set<QString> names;
    for (const QString& file : files)
        if (auto match = picture.match(file); match.hasMatch() && !files.contains(match.captured(1) + ".stk"))
            names.insert(match.captured(1));
    return names;
}

// A stop signal takes effect some time after it is sent, thread by thread:
// waits until every thread of the process is stopped.
bool waitUntilStopped(qint64 pid)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 10000) {
        const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
        bool allStopped = true;
        for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile stat(tasks.filePath(task + "/stat"));
            const QByteArray fields = stat.open(QIODevice::ReadOnly) ? stat.readAll() : QByteArray();
            // The state follows the command name's closing parenthesis.
            const qsizetype state = fields.lastIndexOf(')') + 2;
            if (state < 2 || state >= fields.size() || (fields[state] != 'T' && fields[state] != 't'))
                allStopped = false;
        }
        if (allStopped)
            return true;
    }
    return false;
}

// Lets the child run until it is caught between writing a save's first
// picture and its stroke file, and stops it there. False if that never happens.
bool stopMidSave(QProcess& child, const ScopedDocuments& documents)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        if (!unfinishedSaves(documents).empty()) {
            ::kill(static_cast<pid_t>(child.processId()), SIGSTOP);
            // Stopped now: if the save is still unfinished, it is caught inside.
            if (waitUntilStopped(child.processId()) && !unfinishedSaves(documents).empty())
                return true;
            ::kill(static_cast<pid_t>(child.processId()), SIGCONT);
        }
        child.readAllStandardOutput();
    }
    return false;
}

std::vector<std::pair<QString, std::vector<uint8_t>>> everyFile(const ScopedDocuments& documents)
{
    std::vector<std::pair<QString, std::vector<uint8_t>>> files;
    for (const QString& name : documents.files())
        files.emplace_back(name, readBytes(documents.file(name)));
    return files;
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
        // Every other round lets a save complete first, so that whole saves are
        // checked however slow the machine; the kill still lands anywhere after it.
        QByteArray output;
        if (round % 2) {
            while (savesReported(output).empty() && child.state() == QProcess::Running) {
                child.waitForReadyRead(100);
                output += child.readAllStandardOutput();
            }
        }
        child.waitForFinished(delayMs(random));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(10000));
        ASSERT_EQ(child.exitStatus(), QProcess::CrashExit) << "round " << round;

        const auto saves = savesReported(output + child.readAllStandardOutput());
        completed += saves.size();
        if (saves.empty())
            continue;
        const auto& [last, strokes] = saves.back();
        auto painting = Painting::initWithContentsOfFile(last);
        ASSERT_TRUE(painting) << "round " << round << ": " << last.toStdString();
        EXPECT_EQ(painting->activeLayer()->getStrokeNumber(), strokes) << last.toStdString();
    }
    EXPECT_GE(completed, 20u);

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

TEST(OrphanFiles, OnlyPicturesOfKilledSavesAndUnfinishedWritesGoAndNeverWhileAnotherProcessSaves)
{
    ScopedDocuments documents;
    auto painting = makeSamplePainting();
    painting->setThumbnailImage(painting->paintingImage());
    ASSERT_TRUE(storePainting("2013-03-03-10-11-12", *painting));
    ASSERT_TRUE(storePainting("holiday", *painting));
    const QString killed = "2013-03-03-10-11-13-2";
    for (const char* suffix : { ".png", "@2x.png", "_thumb.png", "_layer_0.png", "_bkg@2x.png" })
        ASSERT_TRUE(writeBytes(documents.file(killed + suffix), { 1 }));
    const QStringList gone { killed + ".png", killed + "@2x.png", killed + "_thumb.png", killed + "_layer_0.png",
        killed + "_bkg@2x.png", "2013-03-03-10-11-12.stk.Ab12Cd", "index.x9Y8z7" };
    for (const char* name : { "2013-03-03-10-11-12.stk.Ab12Cd", "index.x9Y8z7", "notes.txt", "holiday-2.png" })
        ASSERT_TRUE(writeBytes(documents.file(name), { 2 }));
    ASSERT_EQ(::mkfifo(QFile::encodeName(documents.file("2013-03-03-10-11-14_thumb.png")).constData(), 0644), 0);
    const QStringList before = documents.files();

    EXPECT_EQ(PaintingManager::removeOrphanFiles(), gone.size());
    QStringList expected = before;
    for (const QString& name : gone)
        expected.removeAll(name);
    EXPECT_EQ(documents.files(), expected);
    EXPECT_EQ(PaintingManager::removeOrphanFiles(), 0);

    // Another process caught between a save's pictures and its stroke file:
    // nothing of the folder is touched, and its save then completes whole.
    QProcess child;
    startChild(child, documents);
    ASSERT_TRUE(stopMidSave(child, documents));
    const QString midSave = *unfinishedSaves(documents).begin();
    const auto frozen = everyFile(documents);
    EXPECT_EQ(PaintingManager::removeOrphanFiles(), 0);
    EXPECT_TRUE(everyFile(documents) == frozen);
    ::kill(static_cast<pid_t>(child.processId()), SIGCONT);
    QByteArray output;
    QElapsedTimer timer;
    timer.start();
    auto reported = [&] {
        for (const auto& [name, strokes] : savesReported(output))
            if (name == midSave)
                return true;
        return false;
    };
    while (!reported() && timer.elapsed() < 30000) {
        child.waitForReadyRead(100);
        output += child.readAllStandardOutput();
    }
    ASSERT_TRUE(reported());
    auto reopened = Painting::initWithContentsOfFile(midSave);
    ASSERT_TRUE(reopened);
    EXPECT_TRUE(reopened->activeLayer()->snapShotImage() && reopened->paintingImage());

    // Killed there instead, its pictures are orphans, and they go.
    ASSERT_TRUE(stopMidSave(child, documents));
    const std::set<QString> killedSaves = unfinishedSaves(documents);
    child.kill();
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_GE(PaintingManager::removeOrphanFiles(), 1);
    EXPECT_TRUE(unfinishedSaves(documents).empty());
    for (const QString& name : killedSaves)
        for (const char* suffix : { ".png", "_thumb.png", "_layer_0.png" })
            EXPECT_FALSE(documents.files().contains(name + suffix)) << name.toStdString();
    for (const QString& name : documents.files())
        if (name.endsWith(".stk"))
            EXPECT_TRUE(Painting::initWithContentsOfFile(name.chopped(4))) << name.toStdString();
}
