// Draws the quiet paper texture behind the tablet's thumbnail grid: a warm
// off-white with soft clouds and a fine grain, seamless so that it tiles.
//
//   make_eggshell <output.jpg>

#include <QGuiApplication>
#include <QImage>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int side = 256;

// A small fixed generator, so that the committed picture can be made again
// byte for byte.
class Xorshift {
public:
    float next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<float>(m_state & 0xffffff) / static_cast<float>(0xffffff);
    }

private:
    uint32_t m_state { 2463534242u };
};

// Value noise on a lattice of `cells` × `cells` that wraps at the edges, so
// the texture has no seam when tiled.
class WrappingNoise {
public:
    WrappingNoise(int cells, Xorshift& random)
        : m_cells(cells)
        , m_values(static_cast<size_t>(cells * cells))
    {
        for (float& value : m_values)
            value = random.next();
    }

    float at(float x, float y) const
    {
        const float gx = x / side * m_cells;
        const float gy = y / side * m_cells;
        const int x0 = static_cast<int>(std::floor(gx));
        const int y0 = static_cast<int>(std::floor(gy));
        const float fx = smooth(gx - x0);
        const float fy = smooth(gy - y0);
        const float top = lerp(value(x0, y0), value(x0 + 1, y0), fx);
        const float bottom = lerp(value(x0, y0 + 1), value(x0 + 1, y0 + 1), fx);
        return lerp(top, bottom, fy);
    }

private:
    static float smooth(float t) { return t * t * (3 - 2 * t); }
    static float lerp(float a, float b, float t) { return a + (b - a) * t; }
    float value(int x, int y) const
    {
        const int wx = ((x % m_cells) + m_cells) % m_cells;
        const int wy = ((y % m_cells) + m_cells) % m_cells;
        return m_values[static_cast<size_t>(wy * m_cells + wx)];
    }

    int m_cells;
    std::vector<float> m_values;
};

}

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_eggshell <output.jpg>\n");
        return 2;
    }
    Xorshift random;
    const WrappingNoise clouds(4, random);
    const WrappingNoise mottle(16, random);
    QImage picture(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            // Shading within a few levels of the base colour keeps the paper
            // quiet behind the thumbnails.
            const float shade = (clouds.at(x, y) - 0.5f) * 7 + (mottle.at(x, y) - 0.5f) * 4 + (random.next() - 0.5f) * 5;
            const auto channel = [shade](float base) { return std::clamp(static_cast<int>(std::lround(base + shade)), 0, 255); };
            picture.setPixel(x, y, qRgb(channel(240), channel(235), channel(222)));
        }
    }
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "JPG", 90)) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
