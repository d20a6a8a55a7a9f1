#include "Classes/model/Painting.h"
#include "Classes/movie/MovieFrameSource.h"
#include "platform/media/PixelBuffer.h"
#include "platform/system/Device.h"
#include "tests/movie/DecodedMovie.h"
#include "tests/movie/MovieTestPaintings.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <vector>

using platform::PixelBuffer;

namespace {

// Pulls a whole movie from the source the way the encoder does, handing every
// frame back after use, and keeps copies of the frames asked for.
struct PulledMovie {
    int frames { 0 };
    float highestProgress { 0 };
    float lastProgress { 0 };
    std::vector<std::unique_ptr<PixelBuffer>> kept;
    std::vector<const uint8_t*> memory;
};

std::unique_ptr<PixelBuffer> copyOf(const PixelBuffer& frame)
{
    auto copy = PixelBuffer::create(frame.width(), frame.height(), frame.bytesPerRow());
    std::copy(frame.data(), frame.data() + frame.byteCount(), copy->data());
    return copy;
}

PulledMovie pull(MovieFrameSource& source, const std::vector<int>& keep)
{
    PulledMovie movie;
    movie.kept.resize(keep.size());
    source.prepare(24);
    while (auto frame = source.getPixelBufferOfNextFrame()) {
        for (size_t i = 0; i < keep.size(); ++i) {
            if (keep[i] == movie.frames)
                movie.kept[i] = copyOf(*frame);
        }
        movie.memory.push_back(frame->data());
        movie.highestProgress = std::max(movie.highestProgress, source.progress());
        ++movie.frames;
        source.recyclePixelBuffer(std::move(frame));
    }
    movie.lastProgress = source.progress();
    return movie;
}

}

TEST(MovieFrameSource, OpeningReplayFadeAndEndingFollowEachOtherInEveryTurnWithProgressStoppingAtOne)
{
    const struct {
        const char* name;
        const char* device;
        int strokes, leftTurns;
    } cases[] = {
        { "no strokes", "tablet", 0, 0 },
        { "one stroke turned left", "tablet", 1, 1 },
        { "twelve strokes upside down", "tablet", 12, 2 },
        { "five strokes turned right", "tablet", 5, 3 },
        { "retina upright", "retina-phone", 5, 0 },
        { "retina turned left", "retina-phone", 5, 1 },
        { "retina upside down", "retina-phone", 5, 2 },
        { "retina turned right", "retina-phone", 5, 3 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScopedDeviceProfile profile(*platform::DeviceProfile::named(c.device));
        const float scale = platform::Device::mainScreenScale();
        auto painting = makeStrokedPainting(160, 96, c.strokes);
        const int replay = replayFrames(*makeStrokedPainting(160, 96, c.strokes));
        platform::Size size { 160 * scale, 96 * scale };
        const platform::AffineTransform transform = turnedLeft(c.leftTurns, size);
        MovieFrameSource source(*painting);
        source.setFrameSize(size);
        source.setTransform(transform);
        // First and last opening frame, last replay frame, then the ending's
        // first frame, its last frame and its fade.
        const int ending = 30 + replay;
        const std::vector<int> fadeFrames = { 25, 26, 33, 40, 52, 53 };
        std::vector<int> keep = { 0, 29, ending - 1, ending, ending + 80 };
        for (int k : fadeFrames)
            keep.push_back(ending + k);
        PulledMovie movie = pull(source, keep);
        EXPECT_EQ(movie.frames, 30 + replay + 81);
        EXPECT_EQ(c.strokes == 0, replay == 0);
        ASSERT_TRUE(std::all_of(movie.kept.begin(), movie.kept.end(), [](const auto& frame) { return frame != nullptr; }));
        EXPECT_EQ(movie.kept[0]->width(), int(c.leftTurns % 2 ? 96 * scale : 160 * scale));
        // The estimate may miss by a frame either way; the bar never overflows.
        EXPECT_LE(movie.highestProgress, 1.0f);
        EXPECT_FLOAT_EQ(movie.lastProgress, 1.0f);
        EXPECT_EQ(maxFrameDifference(*movie.kept[0], *movie.kept[1]), 0);
        // The picture and the replayed strokes come from different drawing
        // code; only resampling may tell them apart.
        EXPECT_GE(lumaPsnr(frameLuma(*movie.kept[0]), frameLuma(*movie.kept[2])), 35.0);
        // The ending starts on the finished picture and ends on the card alone.
        EXPECT_EQ(maxFrameDifference(*movie.kept[0], *movie.kept[3]), 0);
        auto card = source.createPixelBufferForMovieEnding(*painting->paintingImage(), size, transform, 0);
        ASSERT_TRUE(card);
        EXPECT_EQ(maxFrameDifference(*movie.kept[4], *card), 0);
        for (size_t i = 0; i < fadeFrames.size(); ++i) {
            SCOPED_TRACE(fadeFrames[i]);
            const float alpha = MovieFrameSource::getFadeAlpha(fadeFrames[i]);
            auto drawn = source.createPixelBufferForMovieEnding(*painting->paintingImage(), size, transform, alpha);
            ASSERT_TRUE(drawn);
            EXPECT_LE(maxFrameDifference(*movie.kept[5 + i], *drawn), 2);
        }
        // Every frame is drawn into the one buffer handed back.
        EXPECT_EQ(std::count(movie.memory.begin(), movie.memory.end(), movie.memory.front()), movie.frames);
        painting->stopPlayback();
    }
    EXPECT_FLOAT_EQ(MovieFrameSource::getFadeAlpha(25), 1.0f);
    EXPECT_FLOAT_EQ(MovieFrameSource::getFadeAlpha(39), float(1.0 - 13 / 27.0));
    EXPECT_FLOAT_EQ(MovieFrameSource::getFadeAlpha(53), 0.0f);
}

TEST(MovieFrameSource, TheLogoCardStaysUprightAndCentredWhateverTheTurn)
{
    platform::ScopedDeviceProfile profile(platform::DeviceProfile::phone());
    auto painting = makeStrokedPainting(320, 416, 0);
    for (platform::Size size : { platform::Size { 320, 416 }, platform::Size { 416, 320 } }) {
        MovieFrameSource source(*painting);
        auto card = source.createPixelBufferForMovieEnding(*painting->paintingImage(), size, {}, 0);
        ASSERT_TRUE(card);
        // The bounding box of everything that is not black.
        int left = card->width(), right = -1, top = card->height(), bottom = -1;
        for (int y = 0; y < card->height(); ++y) {
            for (int x = 0; x < card->width(); ++x) {
                const uint8_t* p = card->row(y) + x * 4;
                if (p[1] + p[2] + p[3] > 60) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        ASSERT_GE(right, 0) << "no logo on the card";
        EXPECT_NEAR((left + right) / 2.0, card->width() / 2.0, 12);
        EXPECT_NEAR((top + bottom) / 2.0, card->height() / 2.0, 12);
        // Upright: the word is wider than it is tall.
        EXPECT_GT(right - left, 2 * (bottom - top));
    }
}

TEST(MovieFrameSource, AMovieCutShortByAFrameThatCannotBeDrawnEndsAsAFailure)
{
    auto painting = makeStrokedPainting(128, 96, 2);
    for (bool drawable : { true, false }) {
        SCOPED_TRACE(drawable ? "drawable" : "too wide to draw");
        MovieFrameSource source(*painting);
        source.setFrameSize({ drawable ? 128.0f : float(PixelBuffer::maximumDimension + 16), 96 });
        std::optional<bool> reported;
        source.setEndHandler([&](bool succeeded) { reported = succeeded; });
        const PulledMovie movie = pull(source, {});
        EXPECT_EQ(movie.frames > 0, drawable);
        source.videoEncoderDidFinish();
        ASSERT_TRUE(reported);
        EXPECT_EQ(*reported, drawable);
        painting->stopPlayback();
    }
}
