#pragma once

#include "Classes/movie/VideoEncoder.h"
#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class Painting;

// The frames of a painting's movie, pulled by a VideoEncoder on its queue. A
// movie has three scenes: the finished picture for a moment, the painting
// drawing itself stroke by stroke, and the picture fading into a black card
// with the logo in the middle.
//
// The painting belongs to the export while it runs: nothing else may draw
// into it or replay it until the encoder has reported the end.
class MovieFrameSource final : public VideoEncoderDelegate {
public:
    static constexpr int openingFrames = 30;
    static constexpr int endingFrames = 81;
    static constexpr int movieLengthInSeconds = 30;

    explicit MovieFrameSource(Painting& painting);

    // Frame size in pixels, and the transform from painting pixels to frame
    // pixels (both with the origin at the bottom-left). Set before prepare().
    void setFrameSize(platform::Size size) { m_frameSize = size; }
    platform::Size frameSize() const { return m_frameSize; }
    void setTransform(const platform::AffineTransform& transform) { m_transform = transform; }
    const platform::AffineTransform& transform() const { return m_transform; }

    // Fits the replay into the movie's length at the frame rate, starts it and
    // resets the counters. Must come before the encoder starts pulling.
    void prepare(int framesPerSecond);

    // Called on the encoder's queue after every frame, and once at the end
    // with whether the movie was written.
    void setFrameHandler(std::function<void()> handler) { m_frameHandler = std::move(handler); }
    void setEndHandler(std::function<void(bool succeeded)> handler) { m_endHandler = std::move(handler); }

    std::unique_ptr<platform::PixelBuffer> getPixelBufferOfNextFrame() override;
    void recyclePixelBuffer(std::unique_ptr<platform::PixelBuffer> buffer) override;
    void videoEncoderDidFinish() override;
    void videoEncoderDidFail() override;

    // Readable from any thread while the export runs.
    int encodedFrames() const { return m_encodedFrames.load(std::memory_order_relaxed); }
    int totalFrames() const { return m_totalFrames; }
    // The share of the expected frames written so far, never above 1.
    float progress() const;

    // 1 for the first 26 ending frames, then down to 0 over the next 27.
    static float getFadeAlpha(int frame);

    // A new frame showing the image, oriented by the transform, at the export scale.
    static std::unique_ptr<platform::PixelBuffer> createPixelBufferFromImage(const platform::Image& image,
        platform::Size size, const platform::AffineTransform& transform);
    // A new ending frame: the image at alpha over black, under the logo card
    // at 1 - alpha. The card is made on first use.
    std::unique_ptr<platform::PixelBuffer> createPixelBufferForMovieEnding(const platform::Image& image,
        platform::Size size, const platform::AffineTransform& transform, float alpha);
    // The black card of the frame size with the logo in its middle, upright in
    // the movie whatever its orientation.
    void createLogoImage(platform::Size frameSize);
    const std::optional<platform::Image>& logoImage() const { return m_logoImage; }
    void clearLogoImage() { m_logoImage.reset(); }

private:
    enum class Scene { Opening, Replay, Ending };

    const platform::Image& paintingImage();
    // A buffer of the frame size for the next frame: the one handed back last
    // time when there is one.
    std::unique_ptr<platform::PixelBuffer> takeBuffer();
    // Draws the opening picture and the logo card once per export; the frames
    // of the first and last scenes are made from them.
    bool prepareStillFrames();
    static void blendEnding(platform::PixelBuffer& out, const platform::PixelBuffer& picture,
        const platform::PixelBuffer& card, float alpha);

    Painting& m_painting;
    platform::Size m_frameSize;
    platform::AffineTransform m_transform;
    std::optional<platform::Image> m_logoImage;
    std::optional<platform::Image> m_paintingImage;

    Scene m_sceneType { Scene::Opening };
    int m_frame { 0 };
    std::atomic<int> m_encodedFrames { 0 };
    int m_totalFrames { 0 };

    std::unique_ptr<platform::PixelBuffer> m_spare;
    std::unique_ptr<platform::PixelBuffer> m_pictureFrame;
    std::unique_ptr<platform::PixelBuffer> m_cardFrame;

    // A frame that could not be drawn ends the movie early; the export then
    // counts as failed, not as a complete movie.
    bool m_failed { false };

    std::function<void()> m_frameHandler;
    std::function<void(bool)> m_endHandler;
};
