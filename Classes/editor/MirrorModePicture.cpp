#include "Classes/editor/MirrorModePicture.h"

#include "Classes/model/Painting.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

QImage drawMirrorModePicture(int mode, int side)
{
    // Drawn at twice the size and scaled down, so that thin lines stay smooth.
    const float canvas = 160;
    Painting painting(platform::Size { canvas, canvas });
    painting.setBackgroundColor(platform::Color::rgba(0.08f, 0.09f, 0.16f, 1));
    painting.addTransparentLayer();
    painting.setMirrixMode(mode);
    painting.switchBrush(13);
    painting.setBrushSize(12);
    float hue = std::fmod(0.13f * mode, 1.0f);
    painting.setBrushColorWithSolidColor(platform::Color::hsba(hue, 0.65f, 1, 1));

    // A hook away from the centre, so that every copy shows.
    const platform::Point stroke[] = { { 92, 14 }, { 124, 24 }, { 146, 52 }, { 140, 86 }, { 112, 98 } };
    painting.strokeFrom(stroke[0]);
    for (size_t i = 1; i + 1 < std::size(stroke); ++i)
        painting.strokeTo(stroke[i]);
    painting.strokeEnd(stroke[std::size(stroke) - 1]);

    QImage picture = painting.getPaintingImage().qimage();
    QImage result(side, side, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QPainterPath rounded;
    rounded.addRoundedRect(QRectF(0, 0, side, side), side * 0.18, side * 0.18);
    painter.setClipPath(rounded);
    painter.drawImage(QRectF(0, 0, side, side), picture);
    return result;
}
