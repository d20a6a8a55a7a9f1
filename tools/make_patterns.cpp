// Draws the greyscale pattern pictures of the pattern brushes (dark = paint,
// white = transparent) and, on request, a contact sheet that shows each one
// as a picture and as a coloured stroke.
//
//   make_patterns <output-dir> [--sheet <sheet.png>]

#include "platform/system/Random.h"

#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <vector>

namespace {

// Big enough to scale down smoothly to the 14 to 24 point stamps, small enough
// that every feature stays at least a pixel wide there.
constexpr int pictureSize = 64;
constexpr float centre = pictureSize / 2.0f;
constexpr double pi = std::numbers::pi;

// Ink coverage per pixel, 0 (paper) to 1 (full paint).
class Ink {
public:
    Ink()
        : m_values(pictureSize * pictureSize, 0.0f)
    {
    }

    float at(int x, int y) const { return m_values[static_cast<size_t>(y * pictureSize + x)]; }
    float& at(int x, int y) { return m_values[static_cast<size_t>(y * pictureSize + x)]; }

    // Combines a per-pixel field (sampled at pixel centres) by taking the darker.
    void add(const std::function<float(float, float)>& field)
    {
        for (int y = 0; y < pictureSize; ++y)
            for (int x = 0; x < pictureSize; ++x)
                at(x, y) = std::max(at(x, y), std::clamp(field(x + 0.5f, y + 0.5f), 0.0f, 1.0f));
    }

    void multiply(const std::function<float(float, float)>& field)
    {
        for (int y = 0; y < pictureSize; ++y)
            for (int x = 0; x < pictureSize; ++x)
                at(x, y) *= std::clamp(field(x + 0.5f, y + 0.5f), 0.0f, 1.0f);
    }

    // Fills a path (antialiased) with the given strength.
    void fill(const QPainterPath& path, float strength = 1.0f) { paint(path, strength, false); }
    // Clears paint under the path, for holes and highlights.
    void erase(const QPainterPath& path, float amount = 1.0f) { paint(path, amount, true); }

    QImage toImage() const
    {
        QImage image(pictureSize, pictureSize, QImage::Format_Grayscale8);
        for (int y = 0; y < pictureSize; ++y) {
            uchar* line = image.scanLine(y);
            for (int x = 0; x < pictureSize; ++x)
                line[x] = static_cast<uchar>(std::lround(255.0f * (1.0f - std::clamp(at(x, y), 0.0f, 1.0f))));
        }
        return image;
    }

private:
    void paint(const QPainterPath& path, float strength, bool erasing)
    {
        QImage coverage(pictureSize, pictureSize, QImage::Format_Alpha8);
        coverage.fill(0);
        {
            QPainter painter(&coverage);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.fillPath(path, QColor(0, 0, 0, 255));
        }
        for (int y = 0; y < pictureSize; ++y) {
            const uchar* line = coverage.constScanLine(y);
            for (int x = 0; x < pictureSize; ++x) {
                float c = line[x] / 255.0f * strength;
                if (erasing)
                    at(x, y) *= 1.0f - c;
                else
                    at(x, y) = std::max(at(x, y), c);
            }
        }
    }

    std::vector<float> m_values;
};

float smoothstep(float edge0, float edge1, float v)
{
    float t = std::clamp((v - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

float distanceFromCentre(float x, float y, float cx = centre, float cy = centre)
{
    return std::hypot(x - cx, y - cy);
}

// A disc of radius r whose edge softens over `soft` pixels inwards.
float disc(float x, float y, float r, float soft = 1.0f, float cx = centre, float cy = centre)
{
    return 1.0f - smoothstep(r - soft, r, distanceFromCentre(x, y, cx, cy));
}

// Deterministic value noise in 0 … 1, smooth over cells of `cell` pixels.
float latticeValue(int ix, int iy, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(ix) * 374761393u + static_cast<uint32_t>(iy) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / static_cast<float>(0xffffff);
}

float valueNoise(float x, float y, float cellX, float cellY, uint32_t seed)
{
    float fx = x / cellX;
    float fy = y / cellY;
    int ix = static_cast<int>(std::floor(fx));
    int iy = static_cast<int>(std::floor(fy));
    float tx = smoothstep(0, 1, fx - ix);
    float ty = smoothstep(0, 1, fy - iy);
    float top = latticeValue(ix, iy, seed) * (1 - tx) + latticeValue(ix + 1, iy, seed) * tx;
    float bottom = latticeValue(ix, iy + 1, seed) * (1 - tx) + latticeValue(ix + 1, iy + 1, seed) * tx;
    return top * (1 - ty) + bottom * ty;
}

float grain(float x, float y, float cell, uint32_t seed)
{
    return 0.6f * valueNoise(x, y, cell, cell, seed) + 0.4f * valueNoise(x, y, cell / 2, cell / 2, seed + 17);
}

// Uniform floats from the program's own seeded generator, so every run draws the same.
class Dice {
public:
    explicit Dice(uint32_t seed)
        : m_generator(seed)
    {
    }
    float uniform(float lo, float hi)
    {
        return lo + (hi - lo) * static_cast<float>(m_generator.next() / 2147483648.0);
    }

private:
    platform::RandomGenerator m_generator;
};

QPainterPath circlePath(float cx, float cy, float r)
{
    QPainterPath path;
    path.addEllipse(QPointF(cx, cy), r, r);
    return path;
}

QPainterPath starPath(int points, float outer, float inner, float rotationDegrees)
{
    QPainterPath path;
    for (int i = 0; i < 2 * points; ++i) {
        double angle = (rotationDegrees - 90.0 + i * 180.0 / points) * pi / 180.0;
        float r = i % 2 == 0 ? outer : inner;
        QPointF p(centre + r * std::cos(angle), centre + r * std::sin(angle));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

QPainterPath rounded(const QPainterPath& path, float width)
{
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setJoinStyle(Qt::RoundJoin);
    stroker.setCapStyle(Qt::RoundCap);
    return path.united(stroker.createStroke(path)).simplified();
}

// The pictures, one function each.

QImage macBrush()
{
    // Airbrush round: a firm middle fading out towards the rim. The colour-dots
    // brush shows its dots through it too.
    Ink ink;
    ink.add([](float x, float y) { return 1.0f - smoothstep(13.0f, 30.0f, distanceFromCentre(x, y)); });
    return ink.toImage();
}

QImage hardRound()
{
    Ink ink;
    ink.add([](float x, float y) { return disc(x, y, 29.0f, 1.5f); });
    return ink.toImage();
}

QImage softRound()
{
    Ink ink;
    ink.add([](float x, float y) {
        float d = distanceFromCentre(x, y);
        return std::exp(-d * d / (2 * 12.5f * 12.5f)) * (1.0f - smoothstep(24, 31, d));
    });
    return ink.toImage();
}

QImage bristles()
{
    // Streaks of paint left by the separate hairs of a flat brush.
    Ink ink;
    Dice dice(3);
    for (int i = 0; i < 11; ++i) {
        float x = 7.0f + i * 5.0f + dice.uniform(-1.0f, 1.0f);
        float halfLength = std::sqrt(std::max(0.0f, 29.0f * 29.0f - (x - centre) * (x - centre))) * dice.uniform(0.7f, 0.95f);
        float top = centre - halfLength + dice.uniform(0.0f, 4.0f);
        float bottom = centre + halfLength - dice.uniform(0.0f, 4.0f);
        float width = dice.uniform(2.6f, 4.0f);
        float strength = dice.uniform(0.65f, 1.0f);
        QPainterPath hair;
        hair.addRoundedRect(QRectF(x - width / 2, top, width, bottom - top), width / 2, width / 2);
        ink.fill(hair, strength);
    }
    ink.multiply([](float x, float y) { return 0.55f + 0.6f * valueNoise(x, y, 3.0f, 9.0f, 31); });
    return ink.toImage();
}

QImage spray()
{
    Ink ink;
    Dice dice(4);
    for (int i = 0; i < 120; ++i) {
        // Denser towards the middle, like an airbrush can.
        float r = 28.0f * std::sqrt(dice.uniform(0.0f, 1.0f)) * dice.uniform(0.45f, 1.0f);
        float a = dice.uniform(0.0f, 2 * static_cast<float>(pi));
        float size = dice.uniform(1.2f, 2.6f);
        ink.fill(circlePath(centre + r * std::cos(a), centre + r * std::sin(a), size), dice.uniform(0.7f, 1.0f));
    }
    return ink.toImage();
}

QImage star()
{
    Ink ink;
    ink.fill(rounded(starPath(5, 27.0f, 11.5f, 0), 3.0f));
    return ink.toImage();
}

QImage heart()
{
    Ink ink;
    QPainterPath path;
    path.moveTo(centre, 56);
    path.cubicTo(20, 46, 4, 34, 5, 21);
    path.cubicTo(6, 11, 14, 6, 21, 6);
    path.cubicTo(27, 6, 31, 10, centre, 15);
    path.cubicTo(33, 10, 37, 6, 43, 6);
    path.cubicTo(50, 6, 58, 11, 59, 21);
    path.cubicTo(60, 34, 44, 46, centre, 56);
    path.closeSubpath();
    ink.fill(path.translated(0, 1));
    return ink.toImage();
}

QImage ring()
{
    Ink ink;
    ink.add([](float x, float y) { return disc(x, y, 29.0f, 1.5f) - disc(x, y, 18.0f, 1.5f); });
    return ink.toImage();
}

QImage diamond()
{
    Ink ink;
    QPainterPath path;
    path.moveTo(centre, 4);
    path.lineTo(60, centre);
    path.lineTo(centre, 60);
    path.lineTo(4, centre);
    path.closeSubpath();
    ink.fill(path);
    return ink.toImage();
}

QImage flower()
{
    Ink ink;
    for (int i = 0; i < 5; ++i) {
        double a = (-90.0 + i * 72.0) * pi / 180.0;
        ink.fill(circlePath(centre + 17.0f * std::cos(a), centre + 17.0f * std::sin(a), 12.0f));
    }
    // A pale gap around a solid heart lets the petals read as petals.
    ink.erase(circlePath(centre, centre, 9.5f));
    ink.fill(circlePath(centre, centre, 6.0f));
    return ink.toImage();
}

QImage splatter()
{
    Ink ink;
    Dice dice(10);
    QPainterPath blob;
    constexpr int corners = 14;
    for (int i = 0; i <= corners; ++i) {
        double a = i * 2 * pi / corners;
        float r = i == corners ? 0 : dice.uniform(14.0f, 21.0f);
        if (i == 0)
            blob.moveTo(centre + r * std::cos(a), centre + r * std::sin(a));
        else if (i < corners)
            blob.lineTo(centre + r * std::cos(a), centre + r * std::sin(a));
    }
    blob.closeSubpath();
    ink.fill(rounded(blob, 6.0f));
    for (int i = 0; i < 8; ++i) {
        float a = i * 2 * static_cast<float>(pi) / 8 + dice.uniform(-0.3f, 0.3f);
        float r = dice.uniform(23.0f, 27.0f);
        float size = dice.uniform(1.8f, 3.8f);
        ink.fill(circlePath(centre + r * std::cos(a), centre + r * std::sin(a), size));
    }
    return ink.toImage();
}

QImage calligraphyNib()
{
    Ink ink;
    QPainterPath nib;
    nib.addEllipse(QPointF(0, 0), 30.0, 8.0);
    QTransform turn;
    turn.translate(centre, centre);
    turn.rotate(-45);
    ink.fill(turn.map(nib));
    return ink.toImage();
}

QImage sparkle()
{
    Ink ink;
    auto twinkle = [](float r, float waist, float rotation) {
        QPainterPath path;
        QTransform turn;
        turn.translate(centre, centre);
        turn.rotate(rotation);
        path.moveTo(0, -r);
        path.quadTo(waist, -waist, r, 0);
        path.quadTo(waist, waist, 0, r);
        path.quadTo(-waist, waist, -r, 0);
        path.quadTo(-waist, -waist, 0, -r);
        path.closeSubpath();
        return turn.map(path);
    };
    ink.fill(twinkle(30.0f, 4.0f, 0));
    ink.fill(twinkle(17.0f, 3.0f, 45), 0.75f);
    ink.add([](float x, float y) { return 0.6f * std::exp(-std::pow(distanceFromCentre(x, y) / 9.0f, 2.0f)); });
    return ink.toImage();
}

QImage dryBrush()
{
    // A dry round brush: paint breaks up into streaks along the stroke.
    Ink ink;
    ink.add([](float x, float y) {
        float edge = 27.0f + 4.0f * (valueNoise(x, y, 7, 7, 131) - 0.5f);
        return disc(x, y, edge, 2.0f);
    });
    ink.multiply([](float x, float y) {
        float streaks = 0.75f * valueNoise(x, y, 16.0f, 1.7f, 13) + 0.25f * valueNoise(x, y, 5.0f, 5.0f, 14);
        return 0.2f + 0.8f * smoothstep(0.25f, 0.42f, streaks);
    });
    return ink.toImage();
}

QImage polkaCluster()
{
    Ink ink;
    ink.fill(circlePath(centre, centre, 8.5f));
    for (int i = 0; i < 6; ++i) {
        double a = (i * 60.0 + 30.0) * pi / 180.0;
        ink.fill(circlePath(centre + 20.5f * std::cos(a), centre + 20.5f * std::sin(a), 7.5f));
    }
    return ink.toImage();
}

QImage leaf()
{
    Ink ink;
    QPainterPath shape;
    shape.moveTo(0, -29);
    shape.cubicTo(17, -16, 17, 14, 0, 29);
    shape.cubicTo(-17, 14, -17, -16, 0, -29);
    shape.closeSubpath();
    QPainterPath vein;
    vein.moveTo(0, -20);
    vein.lineTo(0, 27);
    QPainterPathStroker stroker;
    stroker.setWidth(2.6);
    stroker.setCapStyle(Qt::RoundCap);
    QTransform turn;
    turn.translate(centre, centre);
    turn.rotate(35);
    ink.fill(turn.map(shape));
    ink.erase(turn.map(stroker.createStroke(vein)), 0.85f);
    return ink.toImage();
}

QImage crescent()
{
    Ink ink;
    ink.add([](float x, float y) {
        return disc(x, y, 28.0f, 1.5f) * (1.0f - disc(x, y, 22.0f, 1.5f, centre + 11.0f, centre - 7.0f));
    });
    return ink.toImage();
}

QImage bubble()
{
    // A soap bubble: a thin dark rim, a faint body and a bright window.
    Ink ink;
    ink.add([](float x, float y) {
        float d = distanceFromCentre(x, y);
        float rim = std::exp(-std::pow((d - 25.5f) / 3.0f, 2.0f));
        float body = 0.28f * disc(x, y, 27.0f, 3.0f);
        return std::max(rim, body);
    });
    ink.multiply([](float x, float y) { return 1.0f - 0.95f * disc(x, y, 6.0f, 3.0f, centre - 10.0f, centre - 10.0f); });
    return ink.toImage();
}

QImage plus()
{
    Ink ink;
    QPainterPath path;
    path.addRoundedRect(QRectF(centre - 9, 5, 18, 54), 6, 6);
    path.addRoundedRect(QRectF(5, centre - 9, 54, 18), 6, 6);
    ink.fill(path.simplified());
    return ink.toImage();
}

QImage charcoal()
{
    Ink ink;
    ink.add([](float x, float y) {
        float edge = 25.0f + 5.0f * (grain(x, y, 5, 191) - 0.5f);
        return disc(x, y, edge, 2.5f);
    });
    ink.multiply([](float x, float y) { return 0.5f + 0.7f * grain(x, y, 2.5f, 19); });
    return ink.toImage();
}

QImage crayon()
{
    // Wax catches only the peaks of the paper. Stamps overlap four or five deep
    // along a stroke, so each one leaves only sparse flecks; together they read
    // as grain rather than filling in solid.
    Ink ink;
    ink.add([](float x, float y) {
        float edge = 28.0f + 3.0f * (valueNoise(x, y, 5, 5, 661) - 0.5f);
        return disc(x, y, edge, 3.0f);
    });
    ink.multiply([](float x, float y) {
        float tooth = 0.7f * valueNoise(x, y, 1.5f, 1.5f, 66) + 0.3f * valueNoise(x, y, 2.5f, 6.0f, 67);
        return 0.04f + 0.5f * smoothstep(0.6f, 0.72f, tooth);
    });
    return ink.toImage();
}

QImage thinChalk()
{
    // A long, grainy mark; the chalk brush turns every stamp, so it reads as scratches.
    Ink ink;
    ink.add([](float x, float y) {
        float dx = (x - centre) / 29.0f;
        float dy = (y - centre) / 10.0f;
        float d = std::sqrt(dx * dx + dy * dy);
        float ragged = 0.85f + 0.3f * valueNoise(x, y, 4, 4, 1011);
        return 1.0f - smoothstep(ragged - 0.25f, ragged, d);
    });
    ink.multiply([](float x, float y) { return smoothstep(0.3f, 0.55f, grain(x, y, 3.0f, 101)); });
    return ink.toImage();
}

struct Pattern {
    const char* name;
    int spacing;
    QImage (*draw)();
};

const std::vector<Pattern>& patterns()
{
    static const std::vector<Pattern> list {
        { "mac_brush_1.png", 6, macBrush },
        { "brush_1.png", 3, hardRound },
        { "brush_2.png", 5, softRound },
        { "brush_3.png", 6, bristles },
        { "brush_4.png", 4, spray },
        { "brush_5.png", 6, star },
        { "brush_6.png", 6, heart },
        { "brush_7.png", 6, ring },
        { "brush_8.png", 3, diamond },
        { "brush_9.png", 5, flower },
        { "brush_10.png", 6, splatter },
        { "brush_11.png", 4, calligraphyNib },
        { "brush_12.png", 6, sparkle },
        { "brush_13.png", 3, dryBrush },
        { "brush_14.png", 6, polkaCluster },
        { "brush_15.png", 6, leaf },
        { "brush_16.png", 6, crescent },
        { "brush_17.png", 6, bubble },
        { "brush_18.png", 4, plus },
        { "brush_19.png", 3, charcoal },
        { "crayon_1.png", 4, crayon },
        { "chalk_thin_1.png", 5, thinChalk },
    };
    return list;
}

// The picture as a stamp of the given colour: dark shows the colour, light is clear.
QImage colouredStamp(const QImage& picture, int size, const QColor& colour)
{
    QImage scaled = picture.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                        .convertToFormat(QImage::Format_Grayscale8);
    QImage stamp(size, size, QImage::Format_ARGB32);
    for (int y = 0; y < size; ++y) {
        const uchar* grey = scaled.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(stamp.scanLine(y));
        for (int x = 0; x < size; ++x)
            out[x] = qRgba(colour.red(), colour.green(), colour.blue(), (255 - grey[x]) * colour.alpha() / 255);
    }
    return stamp;
}

void drawSampleStroke(QPainter& painter, const Pattern& pattern, const QImage& picture, QRectF area, int index)
{
    const int stampSize = 14 + (index * 5) % 11;
    QColor colour = QColor::fromHsvF((index % 8) / 8.0f, 0.95f, 1.0f, 0.85f);
    QImage stamp = colouredStamp(picture, stampSize, colour);
    const bool turning = QString(pattern.name).startsWith("chalk");
    Dice dice(static_cast<uint32_t>(index + 1));
    // A gentle wave across the area, stamped every `spacing` points (|dx| + |dy|).
    QPointF last;
    float travelled = 1e9f;
    for (float t = 0; t <= 1.0f; t += 0.002f) {
        QPointF p(area.left() + 14 + t * (area.width() - 28),
            area.center().y() + std::sin(t * 2 * pi) * (area.height() / 2 - 14));
        travelled += static_cast<float>(std::abs(p.x() - last.x()) + std::abs(p.y() - last.y()));
        last = p;
        if (travelled < pattern.spacing)
            continue;
        travelled = 0;
        painter.save();
        painter.translate(p);
        if (turning)
            painter.rotate(dice.uniform(-90.0f, 90.0f));
        painter.drawImage(QPointF(-stampSize / 2.0, -stampSize / 2.0), stamp);
        painter.restore();
    }
}

QImage contactSheet(const std::vector<QImage>& pictures)
{
    constexpr int columns = 4;
    constexpr int cellWidth = 300;
    constexpr int cellHeight = 190;
    const int rows = static_cast<int>((pictures.size() + columns - 1) / columns);
    QImage sheet(columns * cellWidth, rows * cellHeight, QImage::Format_ARGB32);
    sheet.fill(QColor(40, 40, 40));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QFont font = painter.font();
    font.setPixelSize(12);
    painter.setFont(font);
    for (size_t i = 0; i < pictures.size(); ++i) {
        const Pattern& pattern = patterns()[i];
        const int left = static_cast<int>(i % columns) * cellWidth;
        const int top = static_cast<int>(i / columns) * cellHeight;
        painter.setPen(Qt::white);
        painter.drawText(left + 6, top + 14, QString::fromLatin1(pattern.name));
        painter.drawImage(QPoint(left + 6, top + 20), pictures[i]);
        painter.drawImage(QPoint(left + 76, top + 20), pictures[i].scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        painter.drawImage(QPoint(left + 106, top + 20), pictures[i].scaled(14, 14, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        QRectF dark(left + 6, top + 88, cellWidth / 2 - 9, 96);
        QRectF light(left + cellWidth / 2 + 3, top + 88, cellWidth / 2 - 9, 96);
        painter.fillRect(dark, Qt::black);
        painter.fillRect(light, Qt::white);
        painter.save();
        painter.setClipRect(dark);
        drawSampleStroke(painter, pattern, pictures[i], dark, static_cast<int>(i));
        painter.setClipRect(light);
        drawSampleStroke(painter, pattern, pictures[i], light, static_cast<int>(i) + 3);
        painter.restore();
        QImage large = colouredStamp(pictures[i], 48, QColor::fromHsvF((i % 8) / 8.0f, 0.9f, 1.0f));
        painter.fillRect(QRect(left + 130, top + 20, 52, 52), Qt::black);
        painter.drawImage(QPoint(left + 132, top + 22), large);
    }
    return sheet;
}

}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2 && !(argc == 4 && QString(argv[2]) == "--sheet")) {
        std::fprintf(stderr, "usage: make_patterns <output-dir> [--sheet <sheet.png>]\n");
        return 2;
    }
    QDir output(QString::fromLocal8Bit(argv[1]));
    if (!output.exists() && !QDir().mkpath(output.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    std::vector<QImage> pictures;
    for (const Pattern& pattern : patterns()) {
        QImage picture = pattern.draw();
        if (!picture.save(output.filePath(QString::fromLatin1(pattern.name)), "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", pattern.name);
            return 1;
        }
        pictures.push_back(picture);
    }
    if (argc == 4 && !contactSheet(pictures).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    return 0;
}
