// Draws the logo of the movie's ending card: the word "Pintaro" in glowing
// letters of the brush colours over a swash of rainbow paint, on transparent
// ground so that the card's black shows through.
//   make_logo [output folder]   (default: resources/images)
#include <QColor>
#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <cmath>
#include <cstdio>

namespace {

// Soft glow: the path stroked ever wider and fainter beneath the letter.
void drawGlow(QPainter& painter, const QPainterPath& path, const QColor& colour, double reach)
{
    constexpr int rings = 8;
    for (int i = rings; i >= 1; --i) {
        QColor ring = colour;
        ring.setAlphaF(0.06);
        QPen pen(ring, reach * i / rings, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.strokePath(path, pen);
    }
}

QImage drawLogo(int width, int height, double scale)
{
    QImage image(int(width * scale), int(height * scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);

    // A wavy swash of rainbow paint under the word.
    QPainterPath swash;
    swash.moveTo(width * 0.08, height * 0.80);
    swash.cubicTo(width * 0.35, height * 0.62, width * 0.62, height * 0.98, width * 0.92, height * 0.74);
    QLinearGradient rainbow(width * 0.08, 0, width * 0.92, 0);
    const QColor hues[] = { QColor(255, 80, 80), QColor(255, 190, 40), QColor(120, 230, 70), QColor(60, 200, 255),
        QColor(190, 110, 255) };
    for (int i = 0; i < 5; ++i)
        rainbow.setColorAt(i / 4.0, hues[i]);
    drawGlow(painter, swash, QColor(255, 255, 255), height * 0.22);
    painter.strokePath(swash, QPen(QBrush(rainbow), height * 0.07, Qt::SolidLine, Qt::RoundCap));

    // The word, letter by letter, each bobbing a little and in its own colour.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(int(height * 0.56));
    const QString word = QStringLiteral("Pintaro");
    const QColor letters[] = { QColor(255, 92, 160), QColor(255, 170, 40), QColor(255, 232, 70), QColor(110, 235, 90),
        QColor(70, 205, 255), QColor(150, 130, 255), QColor(240, 110, 255) };
    QPainterPath whole;
    whole.addText(0, 0, font, word);
    const QRectF bounds = whole.boundingRect();
    double x = (width - bounds.width()) / 2 - bounds.left();
    const double baseline = height * 0.62;
    QPointF star;
    for (int i = 0; i < word.size(); ++i) {
        // The sparkle sits beside the dot of the "i".
        if (i == 1)
            star = QPointF(x + QFontMetricsF(font).horizontalAdvance(QStringLiteral("i")) * 1.1, height * 0.12);
        QPainterPath letter;
        const double bob = std::sin(i * 1.3) * height * 0.035;
        letter.addText(x, baseline + bob, font, word.mid(i, 1));
        drawGlow(painter, letter, letters[i], height * 0.16);
        // A white rim keeps the letters readable on black and on paint.
        painter.strokePath(letter, QPen(QColor(255, 255, 255, 230), height * 0.035, Qt::SolidLine, Qt::RoundCap,
                                       Qt::RoundJoin));
        painter.fillPath(letter, letters[i]);
        x += QFontMetricsF(font).horizontalAdvance(word.mid(i, 1));
    }

    // A little sparkle.
    QPainterPath sparkle;
    for (int k = 0; k < 8; ++k) {
        const double angle = k * M_PI / 4;
        const double radius = (k % 2 == 0 ? 0.09 : 0.03) * height;
        const QPointF point = star + QPointF(std::cos(angle) * radius, std::sin(angle) * radius);
        k == 0 ? sparkle.moveTo(point) : sparkle.lineTo(point);
    }
    sparkle.closeSubpath();
    drawGlow(painter, sparkle, QColor(255, 250, 200), height * 0.08);
    painter.fillPath(sparkle, QColor(255, 250, 210));
    return image;
}

}

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources/images"));
    struct Output {
        const char* name;
        int width;
        int height;
        double scale;
    };
    // Phones: 1x and 2x of the same size in points; tablets: one larger logo.
    const Output outputs[] = { { "logo.png", 240, 100, 1 }, { "logo@2x.png", 240, 100, 2 },
        { "logo~iPad.png", 480, 200, 1 } };
    int failures = 0;
    for (const Output& output : outputs) {
        const QString path = folder.filePath(QString::fromLatin1(output.name));
        if (!drawLogo(output.width, output.height, output.scale).save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}
