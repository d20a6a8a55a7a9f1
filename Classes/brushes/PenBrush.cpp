#include "Classes/brushes/PenBrush.h"

#include "Classes/brushes/UIColorRandom.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"

#include <cstring>

PenBrush::PenBrush()
{
    platform::srandom(platform::timeSeed());
    m_name = "PenBrush";
    m_mustRedrawWholeStrokePath = false;
    if (platform::Device::idiom() == platform::InterfaceIdiom::Pad) {
        m_maxSize = 12.0f;
        m_minSize = 6.0f;
        m_brushData.size = 6.0f;
    } else {
        m_maxSize = 7.0f;
        m_minSize = 3.0f;
        m_brushData.size = 3.5f;
    }
    setSizeBound();
    m_isHasAlpha = false;
    m_isRandomColor = true;
    m_brushData.type = 13;
    m_type = 13;
    randomColor();
}

void PenBrush::prepareBrush()
{
    if (m_isRandomColor)
        randomBrushColor();
}

void PenBrush::updateBrush()
{
    m_brushData.size = randomWidth();
}

float PenBrush::randomWidth() const
{
    double step = 0.3 * static_cast<double>((platform::random() % 5) - 2);
    return clampSize(static_cast<float>(static_cast<double>(m_brushData.size) + step));
}

void PenBrush::randomBrushColor()
{
    platform::Color c = ::randomColor();
    setRecordColor(c);
    m_brushData.alpha = 1;
    m_brushColor = c;
}

void PenBrush::randomColor()
{
    auto kept = m_brushColor;
    randomBrushColor();
    m_brushColor = kept;
}

void PenBrush::setBrush(platform::GraphicsContext& context)
{
    setRoundLine(context, m_brushData.size, recordColor(1.0f));
}

platform::Rect PenBrush::drawStroke(platform::GraphicsContext& context, const platform::Path& path)
{
    strokeWithBrush(context, path);
    return updateDirtyRect(path, 1.0f + m_brushData.size);
}

std::vector<uint8_t> PenBrush::packBrushMetaData(const brush_meta& meta) const
{
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &meta.size, 4);
    return bytes;
}

void PenBrush::unpackBrushMeta(brush_meta& meta, std::span<const uint8_t> data) const
{
    if (data.size() >= 4)
        std::memcpy(&meta.size, data.data(), 4);
}
