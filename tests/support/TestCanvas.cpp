#include "support/TestCanvas.h"

#include "Classes/brushes/Brush.h"
#include "Classes/model/Stroke.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <cstdlib>

TestCanvas::TestCanvas(int width, int height)
    : m_width(width)
    , m_height(height)
    , m_pixels(static_cast<size_t>(width) * height, 0)
{
    m_context = platform::BitmapContext::create(m_pixels.data(), width, height, width * 4, platform::PixelLayout::CanvasBGRA);
}

uint32_t TestCanvas::pixel(int x, int y) const
{
    // The context's y grows upward, so painting row y sits height − 1 − y rows into memory.
    return m_pixels[static_cast<size_t>(m_height - 1 - y) * m_width + x];
}

int TestCanvas::paintedPixelCount() const
{
    return static_cast<int>(std::count_if(m_pixels.begin(), m_pixels.end(), [](uint32_t p) { return (p >> 24) != 0; }));
}

QImage TestCanvas::uprightImage() const
{
    const uchar* bytes = reinterpret_cast<const uchar*>(m_pixels.data());
    return QImage(bytes, m_width, m_height, m_width * 4, QImage::Format_ARGB32_Premultiplied).mirrored(false, true);
}

std::unique_ptr<Stroke> drawLiveStroke(Brush& brush, TestCanvas& canvas, std::span<const platform::Point> points)
{
    auto stroke = Stroke::create();
    stroke->setBrush(&brush);
    if (points.empty())
        return stroke;
    stroke->strokeFrom(canvas.context(), StrokePoint(points.front()), false);
    for (size_t i = 1; i + 1 < points.size(); ++i)
        stroke->strokeTo(canvas.context(), StrokePoint(points[i]), false);
    stroke->strokeEnd(canvas.context(), StrokePoint(points.back()), false);
    brush.endStroke();
    return stroke;
}

bool replayStroke(const Stroke& stroke, TestCanvas& canvas, std::shared_ptr<PatternManager> patterns)
{
    const auto& points = stroke.strokePoints();
    auto brush = Brush::createBrush(stroke.getBrushType(), std::move(patterns));
    if (!brush || points.empty())
        return false;
    brush->setMirrix(stroke.getMirrixMode(), { canvas.width() / 2.0f, canvas.height() / 2.0f });
    Stroke replay = stroke;
    replay.setBrush(brush.get());
    replay.strokeFrom(canvas.context(), points.front(), true);
    for (size_t i = 1; i + 1 < points.size(); ++i)
        replay.strokeTo(canvas.context(), points[i], true);
    if (points.size() > 1)
        replay.strokeEnd(canvas.context(), points.back(), true);
    brush->endStroke();
    return true;
}

int maxChannelDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 256;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const uchar* p = x.constScanLine(row);
        const uchar* q = y.constScanLine(row);
        for (int i = 0; i < x.width() * 4; ++i)
            worst = std::max(worst, std::abs(p[i] - q[i]));
    }
    return worst;
}

int maxChannelDifference(const TestCanvas& a, const TestCanvas& b)
{
    return maxChannelDifference(a.uprightImage(), b.uprightImage());
}

std::string compareWithGolden(const QImage& image, const std::string& name, int tolerance)
{
    const QString folder = QString(PINTARO_TEST_DATA) + "/golden", path = folder + "/" + QString::fromStdString(name) + ".png";
    if (qgetenv("PINTARO_UPDATE_GOLDEN") == "1")
        return QDir().mkpath(folder) && image.save(path) ? std::string() : "could not write " + path.toStdString();
    const QImage golden(path);
    if (golden.isNull())
        return "no reference picture " + path.toStdString() + " (run with PINTARO_UPDATE_GOLDEN=1 to make it)";
    const int difference = maxChannelDifference(image, golden);
    if (difference > tolerance)
        return name + " differs from its reference by up to " + std::to_string(difference) + " per channel";
    return {};
}

std::vector<platform::Point> wavyPoints(platform::Point start, int count, float step)
{
    std::vector<platform::Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({ start.x + i * step, start.y + 20.0f * std::sin(i * 0.7f) });
    return points;
}
