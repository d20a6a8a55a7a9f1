// Renders every brush of the factory in several mirror modes on a black and a
// white background, for the tablet and the high-resolution phone, into PNGs.
//   brush_sheet [output folder]
#include "Classes/brushes/Brush.h"
#include "Classes/brushes/UIColorRandom.h"
#include "Classes/model/Stroke.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int cell = 260;
constexpr int labelWidth = 150;
const int modes[] = { 0, 1, 4, 9 };
const int brushTypes[] = { 37, 16, 13, 11, 34, 64, 24, 51, 23, 17, 29, 32, 33, 66, 67, 101 };

// A looping stroke inside the cell, its points about 20 to 30 points apart.
std::vector<platform::Point> samplePoints()
{
    std::vector<platform::Point> points;
    for (int i = 0; i < 22; ++i) {
        float t = i / 21.0f;
        float angle = t * 5.0f;
        float radius = 25 + 75 * t;
        points.push_back({ cell / 2.0f + radius * std::cos(angle) + 20, cell / 2.0f + radius * std::sin(angle) * 0.8f });
    }
    return points;
}

// One cell: a canvas the brush draws into, composed over the background.
QImage drawCell(int type, int mode, const QColor& background)
{
    std::vector<uint32_t> pixels(cell * cell, 0);
    auto context = platform::BitmapContext::create(pixels.data(), cell, cell, cell * 4, platform::PixelLayout::CanvasBGRA);
    auto brush = Brush::createBrush(type, nullptr);
    QImage result(cell, cell, QImage::Format_ARGB32_Premultiplied);
    result.fill(background);
    if (!brush || !context)
        return result;
    if (type == 23) {
        // The eraser needs something to erase: a band of solid paint.
        context->setFillColor(platform::Color::rgba(0.5f, 0.5f, 0.5f, 1));
        context->fillRect(platform::Rect(0, cell / 2.0f - 40, cell, 80));
    }
    brush->setMirrix(mode, { cell / 2.0f, cell / 2.0f });
    auto points = samplePoints();
    auto stroke = Stroke::create();
    stroke->setBrush(brush.get());
    stroke->strokeFrom(*context, StrokePoint(points.front()), false);
    for (size_t i = 1; i + 1 < points.size(); ++i)
        stroke->strokeTo(*context, StrokePoint(points[i]), false);
    stroke->strokeEnd(*context, StrokePoint(points.back()), false);
    brush->endStroke();
    context.reset();

    QImage canvas(reinterpret_cast<const uchar*>(pixels.data()), cell, cell, cell * 4, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.drawImage(0, 0, canvas.mirrored(false, true)); // the canvas's first row is its top in y-up terms
    return result;
}

QString renderSheet(const platform::DeviceProfile& profile, const QString& folder)
{
    platform::Device::setCurrent(profile);
    platform::srand(7);
    platform::srandom(7);
    const int columns = 2 * std::size(modes);
    QImage sheet(labelWidth + columns * cell, 30 + std::size(brushTypes) * cell, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(90, 90, 90));
    QPainter painter(&sheet);
    painter.setPen(Qt::white);
    for (int c = 0; c < columns; ++c) {
        QString title = QString("mode %1 on %2").arg(modes[c % std::size(modes)]).arg(c < 4 ? "black" : "white");
        painter.drawText(QRect(labelWidth + c * cell, 0, cell, 30), Qt::AlignCenter, title);
    }
    int row = 0;
    for (int type : brushTypes) {
        auto probe = Brush::createBrush(type, nullptr);
        QString name = probe ? QString::fromStdString(probe->name()) : QString("(none)");
        painter.drawText(QRect(4, 30 + row * cell, labelWidth - 8, cell), Qt::AlignVCenter | Qt::TextWordWrap,
            QString("%1\n%2").arg(type).arg(name));
        for (int c = 0; c < columns; ++c) {
            QColor background = c < 4 ? Qt::black : Qt::white;
            painter.drawImage(labelWidth + c * cell, 30 + row * cell, drawCell(type, modes[c % 4], background));
        }
        ++row;
    }
    painter.end();
    QString path = QDir(folder).absoluteFilePath(QString("brush_sheet_%1.png").arg(QString::fromStdString(profile.name)));
    return sheet.save(path) ? path : QString();
}

}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath() + "/pintaro-brush-sheet";
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "Cannot create %s\n", qPrintable(folder));
        return 1;
    }
    int failures = 0;
    for (const auto& profile : { platform::DeviceProfile::tablet(), platform::DeviceProfile::retinaPhone() }) {
        QString path = renderSheet(profile, folder);
        if (path.isEmpty()) {
            std::fprintf(stderr, "Cannot write the %s sheet into %s\n", profile.name.c_str(), qPrintable(folder));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    }
    return failures ? 1 : 0;
}
