// Saves a few real paintings and copies their stroke files into a folder, as
// the stroke file fuzzer's seed corpus; with a second folder, it also writes
// each painting's files packed as the painting fuzzer reads them.
#include "Classes/brushes/Brush.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void draw(Painting& painting, int type, std::initializer_list<platform::Point> points)
{
    painting.switchBrush(type);
    auto point = points.begin();
    painting.strokeFrom(*point++);
    for (; point + 1 < points.end(); ++point)
        painting.strokeTo(*point);
    painting.strokeEnd(*point);
}

// The painting's files, each as a tag byte, a 32-bit length and the bytes.
bool writePacked(const QString& base, const QString& target)
{
    const QString names[] = { QStringLiteral(".stk"), QStringLiteral(".png"), QStringLiteral("_thumb.png"),
        QStringLiteral("_bkg.png"), QStringLiteral("_layer_0.png"), QStringLiteral("_layer_1.png") };
    QByteArray packed;
    for (uint8_t tag = 0; tag < 6; ++tag) {
        QFile file(base + names[tag]);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        const auto length = static_cast<uint32_t>(bytes.size());
        packed.append(static_cast<char>(tag));
        packed.append(reinterpret_cast<const char*>(&length), 4);
        packed.append(bytes);
    }
    QFile out(target);
    return out.open(QIODevice::WriteOnly) && out.write(packed) == packed.size();
}

}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_stroke_file_seeds <stroke file corpus> [painting corpus]\n");
        return 2;
    }
    QTemporaryDir documents;
    qputenv("PINTARO_DOCUMENTS", documents.path().toUtf8());
    QDir().mkpath(argv[1]);

    int seed = 0;
    auto save = [&](Painting& painting) {
        const QString name = QStringLiteral("seed-%1").arg(++seed);
        if (!storePainting(name, painting))
            return false;
        const QString base = *getPaintingDirectoryPath() + QLatin1Char('/') + name;
        const QString target = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/%1.stk").arg(name);
        QFile::remove(target);
        if (!QFile::copy(base + QStringLiteral(".stk"), target))
            return false;
        if (argc == 3)
            QDir().mkpath(QString::fromLocal8Bit(argv[2]));
        return argc != 3 || writePacked(base, QString::fromLocal8Bit(argv[2]) + QStringLiteral("/%1.painting").arg(name));
    };

    Painting empty({ 64, 48 });
    empty.addTransparentLayer();
    bool ok = save(empty);

    Painting pen({ 320, 416 });
    pen.addTransparentLayer();
    draw(pen, 13, { { 10, 20 }, { 50, 60 } });
    ok = ok && save(pen);

    // Every brush kind, several strokes, two layers.
    Painting mixed({ 200, 150 });
    mixed.setMirrixMode(4);
    mixed.addTransparentLayer();
    const int types[] = { 37, 16, 13, 11, 34, 64, 24, 51, 23, 17 };
    for (int i = 0; i < 10; ++i) {
        const float y = 10.0f + 13.0f * i;
        draw(mixed, types[i], { { 5, y }, { 60, y + 5 }, { 120, y }, { 190, y + 8 } });
    }
    mixed.addTransparentLayer();
    draw(mixed, 11, { { 100, 100 }, { 20, 20 }, { 150, 30 } });
    ok = ok && save(mixed);

    // A small painting with every picture: a photo background, the full
    // picture, the thumbnail and its layer.
    Painting pictured({ 48, 40 });
    pictured.setMirrixMode(9);
    pictured.addTransparentLayer();
    QImage photo(48, 40, QImage::Format_RGB32);
    photo.fill(Qt::darkCyan);
    pictured.setBackgroundImage(platform::Image(photo));
    draw(pictured, 17, { { 5, 5 }, { 30, 20 }, { 40, 35 } });
    draw(pictured, 64, { { 40, 5 }, { 10, 30 } });
    pictured.setPaintingImage(pictured.getPaintingImage());
    pictured.setThumbnailImage(pictured.getPaintingImage());
    ok = ok && save(pictured);
    return ok ? 0 : 1;
}
