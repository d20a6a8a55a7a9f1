#include "Classes/movie/MovieFrameSource.h"

#include "Classes/gallery/Utility.h"
#include "Classes/model/Painting.h"
#include "platform/graphics/BitmapContext.h"
#include "platform/graphics/ImageContext.h"
#include "platform/media/PixelBuffer.h"
#include "platform/system/Device.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using platform::AffineTransform;
using platform::Image;
using platform::PixelBuffer;
using platform::Rect;
using platform::Size;

namespace {

// The fade: the picture stays for this many ending frames, then fades out over
// the next fadeFrames, after which the card is shown alone.
constexpr int fadeStart = 26;
constexpr int fadeEnd = 52;
constexpr double fadeFrames = 27.0;

std::unique_ptr<PixelBuffer> createFrame(Size size)
{
    if (!(size.width >= 1 && size.height >= 1) || size.width > PixelBuffer::maximumDimension
        || size.height > PixelBuffer::maximumDimension)
        return nullptr;
    const int width = static_cast<int>(size.width);
    const int height = static_cast<int>(size.height);
    return PixelBuffer::create(width, height, width * PixelBuffer::bytesPerPixel);
}

std::unique_ptr<platform::BitmapContext> frameContext(PixelBuffer& buffer)
{
    return platform::BitmapContext::create(buffer.data(), buffer.width(), buffer.height(), buffer.bytesPerRow(),
        platform::PixelLayout::VideoARGB);
}

// The picture as the opening shows it: turned by the transform, at the export scale.
void drawPicture(platform::GraphicsContext& context, const Image& image, const AffineTransform& transform)
{
    const float scale = getScreenScale();
    context.concatCTM(transform);
    context.scaleCTM(scale, scale);
    context.drawImage(Rect(0, 0, image.size().width, image.size().height), image);
}

std::optional<Image> loadLogo()
{
    const QString name = isPad() ? QStringLiteral(":/logo~iPad.png") : QStringLiteral(":/logo.png");
    if (platform::Device::mainScreenScale() == 2.0f) {
        QString sharp = name;
        sharp.insert(sharp.size() - 4, QStringLiteral("@2x"));
        QImage pixels(sharp);
        if (!pixels.isNull())
            return Image(std::move(pixels), 2);
    }
    QImage pixels(name);
    if (pixels.isNull())
        return std::nullopt;
    return Image(std::move(pixels), 1);
}

}

MovieFrameSource::MovieFrameSource(Painting& painting)
    : m_painting(painting)
{
}

void MovieFrameSource::prepare(int framesPerSecond)
{
    m_painting.setRecordPlaybackSpeedWithMaxFrames(framesPerSecond * movieLengthInSeconds);
    m_painting.startPlayback();
    m_sceneType = Scene::Opening;
    m_frame = 0;
    m_encodedFrames.store(0);
    // The still scenes count one frame short; progress() stops at 1 anyway.
    m_totalFrames = m_painting.estimatedVideoFramesWithSpeed(m_painting.playbackSpeed()) + 110;
    // The card follows the frame size, which the orientation may have changed.
    m_logoImage.reset();
    m_paintingImage.reset();
    m_pictureFrame.reset();
    m_cardFrame.reset();
    m_failed = false;
}

const Image& MovieFrameSource::paintingImage()
{
    if (!m_paintingImage) {
        if (m_painting.paintingImage() && !m_painting.paintingImage()->isNull())
            m_paintingImage = *m_painting.paintingImage();
        else
            m_paintingImage = m_painting.getPaintingImage();
    }
    return *m_paintingImage;
}

std::unique_ptr<PixelBuffer> MovieFrameSource::takeBuffer()
{
    if (m_spare && m_spare->width() == static_cast<int>(m_frameSize.width)
        && m_spare->height() == static_cast<int>(m_frameSize.height))
        return std::move(m_spare);
    m_spare.reset();
    return createFrame(m_frameSize);
}

bool MovieFrameSource::prepareStillFrames()
{
    if (m_pictureFrame && m_cardFrame)
        return true;
    m_pictureFrame = createPixelBufferFromImage(paintingImage(), m_frameSize, m_transform);
    m_cardFrame = createPixelBufferForMovieEnding(paintingImage(), m_frameSize, m_transform, 0);
    return m_pictureFrame && m_cardFrame;
}

std::unique_ptr<PixelBuffer> MovieFrameSource::getPixelBufferOfNextFrame()
{
    const int encoded = m_encodedFrames.load(std::memory_order_relaxed) + 1;
    m_encodedFrames.store(encoded, std::memory_order_relaxed);
    ++m_frame;
    std::unique_ptr<PixelBuffer> result;
    if (!prepareStillFrames()) {
        m_failed = true;
        return nullptr;
    }

    if (m_sceneType == Scene::Opening) {
        if (encoded <= openingFrames) {
            result = takeBuffer();
            if (result)
                std::memcpy(result->data(), m_pictureFrame->data(), result->byteCount());
        } else {
            m_sceneType = Scene::Replay;
        }
    }
    if (m_sceneType == Scene::Replay) {
        const Rect changed = m_painting.playback();
        if (changed.isNull() && m_painting.endOfPlayback()) {
            m_sceneType = Scene::Ending;
            m_frame = 0;
        } else {
            result = takeBuffer();
            if (result)
                m_painting.drawCurrentFrameToPixelBuffer(*result, m_transform);
        }
    }
    const bool ending = m_sceneType == Scene::Ending && m_frame < endingFrames;
    if (ending) {
        result = takeBuffer();
        if (result)
            blendEnding(*result, *m_pictureFrame, *m_cardFrame, getFadeAlpha(m_frame));
    }
    if (!result && (m_sceneType != Scene::Ending || ending))
        m_failed = true;

    if (m_frameHandler)
        m_frameHandler();
    return result;
}

void MovieFrameSource::recyclePixelBuffer(std::unique_ptr<PixelBuffer> buffer)
{
    m_spare = std::move(buffer);
}

void MovieFrameSource::videoEncoderDidFinish()
{
    m_spare.reset();
    if (m_endHandler)
        m_endHandler(!m_failed);
}

void MovieFrameSource::videoEncoderDidFail()
{
    m_spare.reset();
    if (m_endHandler)
        m_endHandler(false);
}

float MovieFrameSource::progress() const
{
    if (m_totalFrames <= 0)
        return 1;
    const double share = static_cast<double>(encodedFrames()) / static_cast<double>(m_totalFrames);
    return std::min(1.0f, static_cast<float>(share));
}

float MovieFrameSource::getFadeAlpha(int frame)
{
    if (frame < fadeStart)
        return 1;
    if (frame > fadeEnd)
        return 0;
    return static_cast<float>(1.0 - (frame - fadeStart) / fadeFrames);
}

std::unique_ptr<PixelBuffer> MovieFrameSource::createPixelBufferFromImage(const Image& image, Size size,
    const AffineTransform& transform)
{
    auto buffer = createFrame(size);
    if (!buffer)
        return nullptr;
    auto context = frameContext(*buffer);
    if (!context)
        return nullptr;
    drawPicture(*context, image, transform);
    context->flush();
    return buffer;
}

std::unique_ptr<PixelBuffer> MovieFrameSource::createPixelBufferForMovieEnding(const Image& image, Size size,
    const AffineTransform& transform, float alpha)
{
    if (!m_logoImage)
        createLogoImage(size);
    auto buffer = createFrame(size);
    if (!buffer)
        return nullptr;
    auto context = frameContext(*buffer);
    if (!context)
        return nullptr;
    context->clearRect(Rect(0, 0, size.width, size.height));
    if (alpha > 0) {
        context->saveGState();
        context->setAlpha(alpha);
        drawPicture(*context, image, transform);
        context->restoreGState();
    }
    if (1 - alpha > 0 && m_logoImage) {
        const float scale = getScreenScale();
        context->setAlpha(1 - alpha);
        context->scaleCTM(scale, scale);
        context->drawImage(Rect(0, 0, m_logoImage->size().width, m_logoImage->size().height), *m_logoImage);
    }
    context->flush();
    return buffer;
}

void MovieFrameSource::createLogoImage(Size frameSize)
{
    const float scale = getScreenScale();
    Size card = frameSize;
    if (scale > 1)
        card = Size { card.width / scale, card.height / scale };
    platform::ImageContext context(card, true, platform::Device::mainScreenScale());
    context.setFillColor(platform::Color { 0, 0, 0, 1 });
    context.fillRect(Rect(0, 0, card.width, card.height));
    if (const std::optional<Image> logo = loadLogo()) {
        const Size size = logo->size();
        const float x = std::trunc((card.width - size.width) * 0.5f);
        const float y = std::trunc((card.height - size.height) * 0.5f);
        context.drawImageTopLeft(Rect(x, y, size.width, size.height), *logo);
    }
    m_logoImage = context.image();
}

// What drawing the picture at alpha over a cleared frame and then the card at
// 1 - alpha over it gives, from the two drawn once: colours are premultiplied,
// so each channel is card × (1 - alpha) + picture × alpha × (1 - card's share).
void MovieFrameSource::blendEnding(PixelBuffer& out, const PixelBuffer& picture, const PixelBuffer& card, float alpha)
{
    if (alpha >= 1) {
        std::memcpy(out.data(), picture.data(), out.byteCount());
        return;
    }
    if (alpha <= 0) {
        std::memcpy(out.data(), card.data(), out.byteCount());
        return;
    }
    const float cardAlpha = 1 - alpha;
    for (int y = 0; y < out.height(); ++y) {
        uint8_t* o = out.row(y);
        const uint8_t* p = picture.row(y);
        const uint8_t* c = card.row(y);
        for (int x = 0; x < out.width(); ++x, o += 4, p += 4, c += 4) {
            const float keep = alpha * (1 - cardAlpha * (c[0] / 255.0f));
            for (int k = 0; k < 4; ++k)
                o[k] = static_cast<uint8_t>(c[k] * cardAlpha + p[k] * keep + 0.5f);
        }
    }
}
