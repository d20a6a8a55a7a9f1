// libFuzzer target for a whole painting read from its files. The input is a
// list of files, each a tag byte, a 32-bit little-endian length and the
// bytes: tag 0 is the stroke file, 1 the full picture, 2 the thumbnail, 3 the
// background, 4 and up the layer pictures. They are written into a painting
// folder, and the painting is then opened as the gallery opens it (the list,
// the item's pictures, the painting) and replayed to its end. Any input must
// open or be refused without a crash, undefined behaviour, a hang or
// unbounded memory.
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "Classes/model/PaintingManager.h"
#include "Classes/model/StrokeFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

QString folder;

QString fileNameForTag(uint8_t tag)
{
    switch (tag) {
    case 0:
        return QStringLiteral("fuzz.stk");
    case 1:
        return QStringLiteral("fuzz.png");
    case 2:
        return QStringLiteral("fuzz_thumb.png");
    case 3:
        return QStringLiteral("fuzz_bkg.png");
    default:
        return QStringLiteral("fuzz_layer_%1.png").arg(tag - 4);
    }
}

}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Damaged pictures make the decoder complain on every run; the complaints slow it down.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { });
    static QGuiApplication app(*argc, *argv);
    static QTemporaryDir documents;
    qputenv("PINTARO_DOCUMENTS", documents.path().toUtf8());
    folder = *getPaintingDirectoryPath();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QDir directory(folder);
    for (const QString& entry : directory.entryList(QDir::Files))
        directory.remove(entry);
    for (size_t at = 0; at + 5 <= size;) {
        const uint8_t tag = data[at] % 8;
        uint32_t length;
        std::memcpy(&length, data + at + 1, 4);
        at += 5;
        length = static_cast<uint32_t>(std::min<size_t>(length, size - at));
        QFile file(directory.filePath(fileNameForTag(tag)));
        if (file.open(QIODevice::WriteOnly))
            file.write(reinterpret_cast<const char*>(data + at), length);
        at += length;
    }
    // Canvases are kept to a megapixel here so that executions stay fast;
    // the largest sizes the limits allow are opened by the unit tests.
    const QByteArray stroke = [&] {
        QFile file(directory.filePath(QStringLiteral("fuzz.stk")));
        return file.open(QIODevice::ReadOnly) ? file.read(16) : QByteArray();
    }();
    if (stroke.size() == 16) {
        int32_t header[4];
        std::memcpy(header, stroke.constData(), 16);
        const int64_t width = std::clamp(header[1], 0, 1 << 16), height = std::clamp(header[2], 0, 1 << 16);
        const int64_t layers = std::clamp(header[3], 1, 1 << 16);
        if (width * height * layers > (1 << 20))
            return 0;
    }

    PaintingManager manager;
    manager.initPaintingManager();
    for (const auto& item : manager.paintingList()) {
        item->loadThumbnail();
        item->loadFullSizeImage();
        auto painting = Painting::initWithContentsOfFile(item->paintingName());
        if (!painting)
            continue;
        painting->startPlayback();
        for (int step = 0; step < 20000 && !painting->endOfPlayback(); ++step)
            painting->playback();
        painting->stopPlayback();
    }
    return 0;
}
