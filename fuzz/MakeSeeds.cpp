// Saves a few real paintings and copies their stroke files into a folder, as
// the fuzzer's seed corpus.
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

}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_stroke_file_seeds <corpus folder>\n");
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
        const QString target = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/%1.stk").arg(name);
        QFile::remove(target);
        return QFile::copy(*getPaintingDirectoryPath() + QLatin1Char('/') + name + QStringLiteral(".stk"), target);
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
    return ok ? 0 : 1;
}
