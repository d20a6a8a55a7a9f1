#include "ModelTestSupport.h"
#include "platform/graphics/ImageContext.h"
#include "platform/graphics/PainterContext.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

using platform::Color;
using platform::Point;
using platform::Size;

namespace {

// A painting with glowing, mirrored, pattern and eraser strokes.
std::unique_ptr<Painting> paintedPainting(int width, int height)
{
    auto painting = makePainting(width, height, 4);
    painting->setBackgroundColor(Color::rgba(0.1f, 0.3f, 0.6f, 1));
    drawStroke(*painting, 37, { { 30, 40 }, { 120, 90 }, { 200, 60 }, { 260, 200 } });
    drawStroke(*painting, 64, { { 50, 300 }, { 140, 250 }, { 220, 330 } });
    drawStroke(*painting, 23, { { 20, 200 }, { 150, 180 }, { 300, 220 } });
    return painting;
}

QImage throughPainter(const Painting& painting, QSize imageSize, const QTransform& transform)
{
    QImage image(imageSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setTransform(transform);
    {
        platform::PainterContext context(painter, Size { float(painting.width()), float(painting.height()) });
        painting.drawPaintingTo(context);
    }
    // The painter is left as the widget set it.
    EXPECT_EQ(painter.transform(), transform);
    EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
    EXPECT_EQ(painter.opacity(), 1.0);
    return image;
}

}

// A canvas widget draws the painting straight into its own painter; the pixels
// are those of a picture of the painting, in movie mode too, and wherever the
// widget's painter has placed the canvas.
TEST(PainterContext, DrawsThePaintingAsAPictureOfItWouldShowIt)
{
    for (bool withPhoto : { false, true }) {
        SCOPED_TRACE(withPhoto ? "photo background" : "colour background");
        auto painting = paintedPainting(320, 416);
        if (withPhoto) {
            QImage photo(320, 416, QImage::Format_ARGB32_Premultiplied);
            photo.fill(QColor(200, 120, 40));
            QPainter(&photo).fillRect(40, 60, 100, 80, QColor(20, 200, 90));
            painting->setBackgroundImage(platform::Image(photo));
        }
        for (bool replaying : { false, true }) {
            if (replaying) {
                painting->startPlayback();
                painting->playback();
            }
            platform::ImageContext picture(Size { 320, 416 }, false, 1);
            painting->drawPaintingTo(picture);
            const QImage expected = picture.image().qimage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
            EXPECT_EQ(throughPainter(*painting, { 320, 416 }, {}), expected) << replaying;

            const QImage moved = throughPainter(*painting, { 360, 456 }, QTransform::fromTranslate(25, 30));
            EXPECT_EQ(moved.copy(25, 30, 320, 416), expected) << replaying;
            EXPECT_EQ(moved.pixel(10, 10), 0u);
        }
        painting->stopPlayback();
    }
}
