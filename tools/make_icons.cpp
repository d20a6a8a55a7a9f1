// Renders the program's SVG icon into the PNG sizes of the desktop's icon
// theme, each into "<size>x<size>/apps/<name>.png" under the output folder.
//   make_icons icon.svg output-folder [size...]   (default sizes: 16 24 32 48 64 128 256 512)
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icons icon.svg output-folder [size...]\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QDir output(QString::fromLocal8Bit(argv[2]));
    QList<int> sizes;
    for (int i = 3; i < argc; ++i)
        sizes << QString::fromLocal8Bit(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = { 16, 24, 32, 48, 64, 128, 256, 512 };

    QSvgRenderer renderer(source);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "make_icons: %s is not a usable SVG file\n", argv[1]);
        return 1;
    }
    const QString name = QFileInfo(source).completeBaseName() + QStringLiteral(".png");
    for (int size : sizes) {
        if (size <= 0 || size > 4096) {
            std::fprintf(stderr, "make_icons: no icon of %d pixels\n", size);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!output.mkpath(folder) || !image.save(output.filePath(folder + QLatin1Char('/') + name))) {
            std::fprintf(stderr, "make_icons: could not write the %d pixel icon into %s\n", size, argv[2]);
            return 1;
        }
    }
    return 0;
}
