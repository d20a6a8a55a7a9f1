#pragma once

#include "Classes/brushes/Brush.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/DispatchQueue.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdint>
#include <memory>
#include <vector>

// Points the Documents directory at a fresh temporary folder for the life of a test.
struct ScopedDocuments final {
    ScopedDocuments() { qputenv("PINTARO_DOCUMENTS", folder.path().toUtf8()); }
    ~ScopedDocuments() { qunsetenv("PINTARO_DOCUMENTS"); }
    QString path() const { return folder.path(); }
    QString file(const QString& name) const { return folder.path() + QStringLiteral("/Painting/") + name; }
    QStringList files() const { return QDir(file({})).entryList(QDir::Files, QDir::Name); }

    QTemporaryDir folder;
};

// Starts a helper program on the test's Documents folder; false if it never starts talking.
inline bool startChild(QProcess& child, const char* program, const QString& documents, const QStringList& arguments = {})
{
    child.setProgram(program);
    child.setArguments(arguments);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PINTARO_DOCUMENTS", documents);
    child.setProcessEnvironment(environment);
    // Unread, its warnings could fill the pipe and stall it.
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start();
    // Generous: a loaded machine may take seconds to start a program.
    return child.waitForStarted(30000) && child.waitForReadyRead(30000);
}

// Reads the child's output until `done` holds of it, the child ends or the time runs out.
template <typename Done>
bool readUntil(QProcess& child, QByteArray& output, Done done, int timeoutMs = 30000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done(output) && child.state() == QProcess::Running && timer.elapsed() < timeoutMs) {
        child.waitForReadyRead(100);
        output += child.readAllStandardOutput();
    }
    return done(output);
}

inline std::unique_ptr<Painting> makePainting(int width, int height, int mirrixMode = 9)
{
    auto painting = std::make_unique<Painting>(platform::Size { static_cast<float>(width), static_cast<float>(height) });
    painting->addTransparentLayer();
    painting->setMirrixMode(mirrixMode);
    return painting;
}

// Draws one stroke through the points with the given brush type.
inline void drawStroke(Painting& painting, int brushType, const std::vector<platform::Point>& points)
{
    painting.switchBrush(brushType);
    painting.strokeFrom(points.front());
    for (size_t i = 1; i + 1 < points.size(); ++i)
        painting.strokeTo(points[i]);
    painting.strokeEnd(points.back());
}

// Strokes of brushes that keep per-point data (pen 4 bytes, rainbow 8) and of
// ones that keep none, with the composed picture set as a save would need it.
inline std::unique_ptr<Painting> makeSamplePainting(int width = 320, int height = 416)
{
    auto painting = makePainting(width, height);
    drawStroke(*painting, 13, { { 20, 30 }, { 60, 40 }, { 100, 90 }, { 140, 60 } });
    drawStroke(*painting, 11, { { 30, 300 }, { 80, 330 }, { 130, 300 }, { 200, 350 } });
    drawStroke(*painting, 17, { { 250, 100 }, { 200, 150 }, { 250, 200 } });
    drawStroke(*painting, 37, { { 160, 200 }, { 190, 260 } });
    painting->setPaintingImage(painting->getPaintingImage());
    return painting;
}

// A stroke as read from a file: `count` points of the type, whose position,
// size and colour change point by point. Null if the points do not unpack.
inline std::unique_ptr<Stroke> recordedStroke(int type, int count)
{
    brush_meta record = brush_meta::zero();
    record.type = type;
    std::vector<uint8_t> packed;
    Stroke::archiveStrokePoint(packed, StrokePoint({ 1, 2 }, record));
    for (int i = 1; i < count; ++i) {
        const int16_t position[2] = { static_cast<int16_t>(i % 3000), static_cast<int16_t>(i / 3000) };
        record.size = 5 + static_cast<float>(i % 50);
        record.red = static_cast<uint8_t>(i);
        const auto meta = Brush::packingBrush(type).packBrushMetaData(record);
        const auto* bytes = reinterpret_cast<const uint8_t*>(position);
        packed.insert(packed.end(), bytes, bytes + sizeof position);
        packed.insert(packed.end(), meta.begin(), meta.end());
    }
    auto stroke = Stroke::create();
    return stroke->unpackStrokePoints(packed, count) ? std::move(stroke) : nullptr;
}

inline std::vector<uint8_t> canvasBytes(const uint8_t* memory, const Layer& layer)
{
    return { memory, memory + static_cast<size_t>(layer.width()) * static_cast<size_t>(layer.height()) * 4 };
}
inline std::vector<uint8_t> onScreen(const Layer& layer) { return canvasBytes(layer.layerBitmapBuffer(), layer); }
inline std::vector<uint8_t> offScreen(const Layer& layer) { return canvasBytes(layer.offscreenBitmapBuffer(), layer); }

// Steps a replay until it ends; false if it never does.
inline bool replayToEnd(Painting& painting)
{
    for (int step = 0; step < 1000 && !painting.endOfPlayback(); ++step)
        painting.playback();
    return painting.endOfPlayback();
}

inline std::vector<uint8_t> readBytes(const QString& path)
{
    QFile file(path);
    const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return { data.begin(), data.end() };
}

inline bool writeBytes(const QString& path, const std::vector<uint8_t>& bytes)
{
    QFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    return file.open(QIODevice::WriteOnly) && file.write(reinterpret_cast<const char*>(bytes.data()), size) == size;
}

// Every file of the folder with its bytes, optionally leaving out the counter,
// which a failed save may still advance.
inline std::vector<std::pair<QString, std::vector<uint8_t>>> filesOf(const ScopedDocuments& documents, bool withIndex = true)
{
    std::vector<std::pair<QString, std::vector<uint8_t>>> files;
    for (const QString& name : documents.files())
        if (withIndex || name != "index")
            files.emplace_back(name, readBytes(documents.file(name)));
    return files;
}

// The painting on a screen: background and every layer, as the editor shows it.
inline QImage screenOf(const Painting& painting)
{
    platform::ImageContext context({ static_cast<float>(painting.width()), static_cast<float>(painting.height()) }, true, 1);
    painting.drawPaintingTo(context);
    return context.image().qimage();
}

// Waits for the saves started so far and runs their completions.
inline bool drainSaves()
{
    return platform::DispatchQueue::global().waitUntilIdle() && platform::DispatchQueue::mainQueue().waitUntilIdle();
}
