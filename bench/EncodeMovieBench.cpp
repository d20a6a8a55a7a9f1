#include "Classes/movie/VideoEncoder.h"
#include "platform/media/PixelBuffer.h"
#include "platform/media/VideoWriter.h"
#include "platform/system/Random.h"

#include <QTemporaryDir>
#include <sys/resource.h>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int movieWidth = 768;
constexpr int movieHeight = 976;
constexpr int movieFrames = 830;

// A neon painting being drawn on a dark background: every frame adds a few
// glowing stamps to the current stroke, and strokes change colour and place.
class PaintingFrames final {
public:
    PaintingFrames(int width, int height)
        : m_width(width)
        , m_height(height)
        , m_canvas(platform::PixelBuffer::create(width, height))
    {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint8_t* pixel = m_canvas->row(y) + x * 4;
                pixel[0] = 255;
                pixel[1] = 12;
                pixel[2] = 12;
                pixel[3] = 20;
            }
        }
        newStroke();
    }

    // Draws the next frame's strokes; the canvas then holds the frame.
    void advance()
    {
        for (int i = 0; i < 2; ++i) {
            if (m_left-- <= 0)
                newStroke();
            const float turn = (unit() - 0.5f) * 0.5f;
            const float dx = m_dx * std::cos(turn) - m_dy * std::sin(turn);
            m_dy = m_dx * std::sin(turn) + m_dy * std::cos(turn);
            m_dx = dx;
            for (int k = 0; k < 3; ++k) {
                m_x += m_dx / 3;
                m_y += m_dy / 3;
                stamp(m_x, m_y);
            }
            if (m_x < 0 || m_x > m_width)
                m_dx = -m_dx;
            if (m_y < 0 || m_y > m_height)
                m_dy = -m_dy;
        }
    }

    const platform::PixelBuffer& canvas() const { return *m_canvas; }

    std::unique_ptr<platform::PixelBuffer> copyOfCanvas() const
    {
        auto frame = platform::PixelBuffer::create(m_width, m_height, m_canvas->bytesPerRow());
        std::memcpy(frame->data(), m_canvas->data(), m_canvas->byteCount());
        return frame;
    }

private:
    float unit() { return float(m_random.next()) / float(platform::RandomGenerator::max); }

    void newStroke()
    {
        m_x = unit() * m_width;
        m_y = unit() * m_height;
        const float angle = unit() * 6.2832f;
        m_dx = std::cos(angle) * 9;
        m_dy = std::sin(angle) * 9;
        const float hue = unit() * 6;
        const int sector = int(hue) % 6;
        const auto rising = uint8_t(255 * (hue - std::floor(hue)));
        const auto falling = uint8_t(255 - rising);
        const uint8_t colours[6][3] = { { 255, rising, 0 }, { falling, 255, 0 }, { 0, 255, rising },
            { 0, falling, 255 }, { rising, 0, 255 }, { 255, 0, falling } };
        std::copy(colours[sector], colours[sector] + 3, m_colour);
        m_left = 20 + int(m_random.next() % 60);
    }

    // A bright core with a wide, faint glow around it.
    void stamp(float cx, float cy)
    {
        constexpr int radius = 30;
        for (int y = std::max(0, int(cy) - radius); y <= std::min(m_height - 1, int(cy) + radius); ++y) {
            uint8_t* row = m_canvas->row(y);
            for (int x = std::max(0, int(cx) - radius); x <= std::min(m_width - 1, int(cx) + radius); ++x) {
                const float d = std::hypot(x - cx, y - cy);
                if (d > radius)
                    continue;
                const float core = std::clamp(3.5f - d, 0.0f, 1.0f);
                const float glow = 0.175f * std::exp(-d * d / 200.0f);
                for (int c = 0; c < 3; ++c) {
                    uint8_t& channel = row[x * 4 + 1 + c];
                    float value = channel * (1 - glow) + m_colour[c] * glow;
                    value = value * (1 - core) + (153 + m_colour[c] * 0.4f) * core;
                    channel = uint8_t(std::min(255.0f, value));
                }
            }
        }
    }

    int m_width;
    int m_height;
    std::unique_ptr<platform::PixelBuffer> m_canvas;
    platform::RandomGenerator m_random { 7 };
    float m_x { 0 }, m_y { 0 }, m_dx { 0 }, m_dy { 0 };
    uint8_t m_colour[3] {};
    int m_left { 0 };
};

class PaintingSource final : public VideoEncoderDelegate {
public:
    std::unique_ptr<platform::PixelBuffer> getPixelBufferOfNextFrame() override
    {
        if (m_produced == movieFrames)
            return nullptr;
        ++m_produced;
        m_frames.advance();
        return m_frames.copyOfCanvas();
    }
    void videoEncoderDidFinish() override { end(true); }
    void videoEncoderDidFail() override { end(false); }

    bool waitForEnd()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_ended; });
        return m_succeeded;
    }

private:
    void end(bool succeeded)
    {
        std::lock_guard lock(m_mutex);
        m_ended = true;
        m_succeeded = succeeded;
        m_changed.notify_all();
    }

    PaintingFrames m_frames { movieWidth, movieHeight };
    int m_produced { 0 };
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_ended { false };
    bool m_succeeded { false };
};

// Processor seconds used so far by this process and by its waited-for children.
double processorSeconds()
{
    double total = 0;
    for (int who : { RUSAGE_SELF, RUSAGE_CHILDREN }) {
        rusage usage {};
        if (getrusage(who, &usage) == 0) {
            total += double(usage.ru_utime.tv_sec) + double(usage.ru_stime.tv_sec)
                + (double(usage.ru_utime.tv_usec) + double(usage.ru_stime.tv_usec)) / 1e6;
        }
    }
    return total;
}

struct Cost {
    double seconds;
    double processorSeconds;
};

// The floor: the ffmpeg program encoding the same frames with the same
// settings, fed through a pipe as they are drawn. Seconds, or nothing when the
// program cannot be run.
std::optional<Cost> encodeWithCommandLine(const QString& directory)
{
    const platform::VideoWriter::Settings settings;
    const std::string command = "ffmpeg -hide_banner -loglevel error -y -f rawvideo -pix_fmt argb -s "
        + std::to_string(movieWidth) + "x" + std::to_string(movieHeight) + " -r 24 -i pipe:0"
        + " -vf scale=out_color_matrix=bt709:out_range=tv:flags=bilinear -pix_fmt yuv420p"
        + " -colorspace bt709 -color_primaries bt709 -color_trc bt709 -color_range tv"
        + " -c:v libx264 -preset " + settings.preset + " -tune " + settings.tune
        + " -movflags +faststart '" + directory.toStdString() + "/cli.mp4'";
    static const bool installed = std::system("command -v ffmpeg > /dev/null 2>&1") == 0;
    if (!installed)
        return std::nullopt;
    // A program that stops reading must not take the benchmark down with it.
    const auto previousHandler = std::signal(SIGPIPE, SIG_IGN);
    const auto started = std::chrono::steady_clock::now();
    const double processorStarted = processorSeconds();
    FILE* pipe = popen(command.c_str(), "w");
    if (!pipe) {
        std::signal(SIGPIPE, previousHandler);
        return std::nullopt;
    }
    PaintingFrames frames(movieWidth, movieHeight);
    bool written = true;
    for (int k = 0; k < movieFrames && written; ++k) {
        frames.advance();
        for (int y = 0; y < movieHeight && written; ++y)
            written = std::fwrite(frames.canvas().row(y), 4, movieWidth, pipe) == size_t(movieWidth);
    }
    const int status = pclose(pipe);
    std::signal(SIGPIPE, previousHandler);
    if (status != 0 || !written)
        return std::nullopt;
    return Cost { std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
        processorSeconds() - processorStarted };
}

std::optional<Cost> encodeWithVideoEncoder()
{
    const auto started = std::chrono::steady_clock::now();
    const double processorStarted = processorSeconds();
    PaintingSource source;
    VideoEncoder encoder({ float(movieWidth), float(movieHeight) });
    if (!encoder.startEncodingUsingPullWithDelegate(&source) || !source.waitForEnd())
        return std::nullopt;
    return Cost { std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count(),
        processorSeconds() - processorStarted };
}

// 830 frames of 768 × 976 through VideoEncoder's pull, album copy included.
// Each repetition also times the ffmpeg program on the same frames right
// after, so that the ratio compares runs made under the same load.
void EncodeMovie(benchmark::State& state)
{
    QTemporaryDir directory;
    qputenv("PINTARO_DOCUMENTS", (directory.path() + "/Documents").toUtf8());
    qputenv("PINTARO_ALBUM", (directory.path() + "/Album").toUtf8());
    for (auto _ : state) {
        const std::optional<Cost> ours = encodeWithVideoEncoder();
        if (!ours) {
            state.SkipWithError("the movie could not be written");
            break;
        }
        state.SetIterationTime(ours->seconds);
        state.counters["fps"] = movieFrames / ours->seconds;
        state.counters["times_faster_than_playing"] = movieFrames / 24.0 / ours->seconds;
        // Processor time says the same as the clock on a busy machine.
        state.counters["cpu_s"] = ours->processorSeconds;
        if (const std::optional<Cost> floor = encodeWithCommandLine(directory.path())) {
            state.counters["ffmpeg_cli_fps"] = movieFrames / floor->seconds;
            state.counters["ratio_to_ffmpeg_cli"] = ours->seconds / floor->seconds;
            state.counters["cpu_ratio_to_ffmpeg_cli"] = ours->processorSeconds / floor->processorSeconds;
        }
    }
    qunsetenv("PINTARO_DOCUMENTS");
    qunsetenv("PINTARO_ALBUM");
}

}

BENCHMARK(EncodeMovie)->Iterations(1)->Repetitions(3)->UseManualTime()->Unit(benchmark::kMillisecond);
