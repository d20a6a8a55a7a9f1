#include "Classes/brushes/RainbowBrush.h"

#include "Classes/brushes/UIColorRandom.h"
#include "Classes/gallery/Utility.h"
#include "platform/graphics/GraphicsContext.h"
#include "platform/system/Random.h"

#include <cstring>

RainbowBrush::RainbowBrush()
{
    if (isPad()) {
        m_maxSize = 11.0f;
        m_minSize = 5.0f;
        m_brushData.size = 6.0f;
    } else {
        m_maxSize = 6.0f;
        m_minSize = 3.0f;
        m_brushData.size = 3.5f;
    }
    m_name = "RainbowBrush";
    m_mustRedrawWholeStrokePath = false;
    setSizeBound();
    m_isHasAlpha = false;
    m_isRandomColor = true;
    m_brushData.type = 11;
    m_type = 11;
    randomColor();
}

void RainbowBrush::prepareBrush()
{
    // Never a chosen solid colour: every stroke recolours itself from the sequence.
    randomBrushColor();
}

void RainbowBrush::updateBrush()
{
    m_brushData.size = randomWidth();
    randomBrushColor();
}

float RainbowBrush::randomWidth() const
{
    double step = 0.3 * static_cast<double>((platform::random() % 5) - 2);
    return clampSize(static_cast<float>(static_cast<double>(m_brushData.size) + step));
}

void RainbowBrush::randomBrushColor()
{
    platform::Color c = randomRainbowColor();
    setRecordColor(c);
    m_brushData.alpha = 1;
}

void RainbowBrush::randomColor()
{
    platform::Color c = ::randomColor();
    setRecordColor(c);
    m_brushData.alpha = 1;
}

void RainbowBrush::setBrush(platform::GraphicsContext& context)
{
    setRoundLine(context, m_brushData.size, recordColor(1.0f));
}

platform::Rect RainbowBrush::drawStroke(platform::GraphicsContext& context, const platform::Path& path)
{
    strokeWithBrush(context, path);
    return updateDirtyRect(path, 1.0f + m_brushData.size);
}

std::vector<uint8_t> RainbowBrush::packBrushMetaData(const brush_meta& meta) const
{
    std::vector<uint8_t> bytes(8);
    std::memcpy(bytes.data(), &meta.size, 4);
    bytes[4] = meta.red;
    bytes[5] = meta.green;
    bytes[6] = meta.blue;
    bytes[7] = meta.alpha;
    return bytes;
}

void RainbowBrush::unpackBrushMeta(brush_meta& meta, std::span<const uint8_t> data) const
{
    if (data.size() < 8)
        return;
    std::memcpy(&meta.size, data.data(), 4);
    meta.red = data[4];
    meta.green = data[5];
    meta.blue = data[6];
    meta.alpha = data[7];
}
