#include "MovieTestPaintings.h"

#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "platform/graphics/Image.h"
#include "platform/media/PixelBuffer.h"

#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

std::unique_ptr<Painting> makeStrokedPainting(int width, int height, int strokes)
{
    auto painting = std::make_unique<Painting>(platform::Size { float(width), float(height) });
    painting->setBackgroundColor(platform::Color::rgba(0.1f, 0.1f, 0.4f));
    painting->addTransparentLayer();
    painting->setMirrixMode(0);
    painting->switchBrush(13);
    painting->setBrushSize(6);
    painting->setCropRegion(platform::Rect(0, 0, float(width), float(height)));
    for (int s = 0; s < strokes; ++s) {
        painting->setBrushColorWithSolidColor(platform::Color::hsba(s * 0.17f, 1, 1));
        const float cx = width * (0.12f + 0.04f * float(s % 5));
        const float cy = height * (0.12f + 0.05f * float(s % 4));
        auto at = [&](int i) {
            return platform::Point { cx + width * 0.1f * std::cos(i * 0.6f + s), cy + height * 0.1f * std::sin(i * 0.6f + s) };
        };
        painting->strokeFrom(at(0));
        for (int i = 1; i < 12; ++i)
            painting->strokeTo(at(i));
        painting->strokeEnd(at(12));
    }
    painting->setPaintingImage(painting->getPaintingImage());
    return painting;
}

std::unique_ptr<Painting> saveAndReload(std::unique_ptr<Painting> painting)
{
    painting->setThumbnailImage(painting->paintingImage());
    static int counter = 0;
    const QString name = QStringLiteral("painting-%1").arg(++counter);
    if (!storePainting(name, *painting))
        return nullptr;
    return Painting::initWithContentsOfFile(name);
}

int replayFrames(Painting& painting)
{
    painting.setRecordPlaybackSpeedWithMaxFrames(720);
    painting.startPlayback();
    int frames = 0;
    for (;;) {
        const platform::Rect changed = painting.playback();
        if (changed.isNull() && painting.endOfPlayback())
            break;
        ++frames;
    }
    painting.stopPlayback();
    return frames;
}

static unsigned char studioLuma(int red, int green, int blue)
{
    return static_cast<unsigned char>(std::lround(16 + (0.2126 * red + 0.7152 * green + 0.0722 * blue) * 219 / 255));
}

std::vector<unsigned char> frameLuma(const platform::PixelBuffer& frame)
{
    std::vector<unsigned char> luma;
    for (int y = 0; y < frame.height(); ++y) {
        for (const uint8_t* pixel = frame.row(y); pixel < frame.row(y) + 4 * frame.width(); pixel += 4)
            luma.push_back(studioLuma(pixel[1], pixel[2], pixel[3]));
    }
    return luma;
}

std::vector<unsigned char> pictureLuma(const platform::Image& picture, int turns)
{
    const QImage turned = picture.qimage().transformed(QTransform().rotate(-90 * turns)).convertToFormat(QImage::Format_RGB32);
    std::vector<unsigned char> luma;
    for (int y = 0; y < turned.height(); ++y) {
        for (int x = 0; x < turned.width(); ++x)
            luma.push_back(studioLuma(qRed(turned.pixel(x, y)), qGreen(turned.pixel(x, y)), qBlue(turned.pixel(x, y))));
    }
    return luma;
}

platform::AffineTransform turnedLeft(int turns, platform::Size& size)
{
    platform::AffineTransform transform;
    for (int i = 0; i < turns; ++i) {
        transform = transform.concatenated(platform::AffineTransform::makeRotation(std::numbers::pi_v<float> / 2))
                        .concatenated(platform::AffineTransform::makeTranslation(size.height, 0));
        size = { size.height, size.width };
    }
    return transform;
}

int maxFrameDifference(const platform::PixelBuffer& a, const platform::PixelBuffer& b)
{
    if (a.width() != b.width() || a.height() != b.height())
        return 256;
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width() * 4; ++x)
            worst = std::max(worst, std::abs(int(a.row(y)[x]) - int(b.row(y)[x])));
    }
    return worst;
}
