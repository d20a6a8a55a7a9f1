#include "Classes/brushes/PatternBrush.h"

#include "Classes/brushes/Bezier.h"
#include "Classes/brushes/UIColorRandom.h"
#include "Classes/gallery/Utility.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Random.h"

#include <numbers>

using platform::Point;
using platform::Rect;

PatternBrush::PatternBrush(int type, std::shared_ptr<PatternManager> patternMgr)
{
    m_name = "PatternBrush";
    m_mustRedrawWholeStrokePath = false;
    platform::srandom(platform::timeSeed());

    std::optional<BrushInfo> info = getBrushInfo(type);
    m_space = info ? static_cast<float>(info->space) : 0.0f;
    m_maxSize = 24.0f;
    m_minSize = 14.0f;
    if (isRetina())
        m_space = (m_space + m_space) * 0.25f;

    m_brushData.alpha = static_cast<uint8_t>(info ? info->alpha : 255);
    m_brushData.size = 3.5f;
    setSizeBound();
    m_isHasAlpha = false;
    m_isRandomColor = true;
    m_brushData.type = static_cast<uint32_t>(type) & 0xff;
    m_brushData.randSeed = platform::timeSeed();
    m_type = type;
    m_patternManager = std::move(patternMgr);
    m_pattern = platform::Image();
    m_brushData.hasJitter = 0;
    m_brushData.hasRotation = 0;
    m_brushData.directionEnabled = 0;
}

void PatternBrush::prepareBrush()
{
    if (m_isRandomColor)
        randomBrushColor();
    if (m_isRandomWidth)
        randomWidth();
    m_brushData.randSeed = static_cast<uint32_t>(platform::rand());
    // Live strokes take their per-stamp randomness from the same seed as their
    // replays, so the chalk's angles are the same live and replayed.
    platform::srand(m_brushData.randSeed);
    loadPattern();
    m_patternIndex = 0;
}

void PatternBrush::randomBrushColor()
{
    platform::Color c = ::randomColor();
    setRecordColor(c);
    m_brushData.alpha = colorByte(c.alpha);
    if (m_brushData.alpha <= 199)
        m_brushData.alpha = 200;
    m_brushColor = recordColor(static_cast<float>(m_brushData.alpha / 255.0));
}

void PatternBrush::randomWidth()
{
    m_brushData.size = static_cast<float>(static_cast<int>(clampSize(static_cast<float>(platform::random() % 40))));
}

void PatternBrush::reinitBrush(const brush_meta& data)
{
    setBrushData(data);
    platform::srand(data.randSeed);
}

void PatternBrush::restoreBrush(const brush_meta& data)
{
    setBrushData(data);
    m_brushColor = colorOfRecord(data, static_cast<float>(data.alpha / 255.0));
    loadPattern();
    m_patternIndex = 0;
}

void PatternBrush::loadPattern()
{
    // Brushes made without a manager (a replay helper, a tool) keep one of their own.
    if (!m_patternManager)
        m_patternManager = std::make_shared<PatternManager>();
    platform::Color color = m_brushColor.value_or(platform::Color {});
    m_patternArray = m_patternManager->getPatternArrayBrushWithType(static_cast<int>(m_brushData.type),
        static_cast<int>(m_brushData.size), color, m_brushData.randSeed);
}

Rect PatternBrush::drawStroke(platform::GraphicsContext& context, Point startPoint, Point controlPoint, Point endPoint)
{
    return drawStrokeWithQuartz2D(context, startPoint, controlPoint, endPoint);
}

Rect PatternBrush::drawStrokeWithQuartz2D(platform::GraphicsContext& context, Point startPoint, Point controlPoint,
    Point endPoint)
{
    m_dirtyRect = Rect::null();
    if (!m_patternArray || m_patternArray->empty() || m_patternArray->front().isNull())
        return m_dirtyRect;
    const float w = m_patternArray->front().size().width;
    const Rect square(-w / 2, -w / 2, w, w);

    m_bezier.setThreashold(m_space);
    std::span<const Point> points = m_bezier.decomposeWithStartPoint(startPoint, controlPoint, endPoint);
    // The pictures' borders are clear, so smoothing the edges of a turned
    // stamp's square changes nothing but costs several spans per row.
    context.saveGState();
    context.setShouldAntialias(false);
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        context.saveGState();
        m_matrix = platform::AffineTransform::makeTranslation(points[i].x, points[i].y);
        setJitterRotationMatrix(context, points[i]);
        setDirectionMatrix(context, points[i], points[i + 1]);
        // Filtering a stamp that does not sit on whole pixels touches the
        // pixels around its square too.
        const Rect box = m_matrix.mapRect(square);
        const Rect stamp(box.x() - 1, box.y() - 1, box.width() + 2, box.height() + 2);
        context.concatCTM(m_matrix);
        // Painting coordinates grow downward, so the picture's top row goes to
        // the smaller y: a heart stamps point down, as it is drawn.
        context.drawImageTopLeft(square, (*m_patternArray)[static_cast<size_t>(m_patternIndex)]);
        if (++m_patternIndex >= static_cast<int>(m_patternArray->size()))
            m_patternIndex = 0;
        context.restoreGState();
        m_dirtyRect = m_dirtyRect.united(stamp);
    }
    context.restoreGState();
    return m_dirtyRect;
}

void PatternBrush::jitter()
{
    m_jitterX = 0;
    m_jitterY = 0;
}

void PatternBrush::rotate()
{
    m_rotationDegree = 0;
}

void PatternBrush::setJitterRotationMatrix(platform::GraphicsContext&, Point)
{
    jitter();
    rotate();
    m_matrix = m_matrix.translated(m_jitterX, m_jitterY);
    m_matrix = m_matrix.rotated(static_cast<float>(m_rotationDegree * std::numbers::pi / 180.0));
}

void PatternBrush::setDirectionMatrix(platform::GraphicsContext&, Point, Point)
{
}
