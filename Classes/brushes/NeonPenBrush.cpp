#include "Classes/brushes/NeonPenBrush.h"

#include "Classes/gallery/Utility.h"
#include "platform/system/Random.h"

#include <cstring>

NeonPenBrush::NeonPenBrush()
{
    m_name = "NeonPenBrush";
    m_type = 24;
    m_brushData.type = 24;
}

void NeonPenBrush::updateBrush()
{
    m_brushData.size = randomWidth();
    m_isNewStroke = false;
}

float NeonPenBrush::randomWidth()
{
    double k = isPad() ? 0.6 : 0.5;
    double step = k * static_cast<double>((platform::random() % 5) - 2);
    return clampSize(static_cast<float>(static_cast<double>(m_brushData.size) + step));
}

std::vector<uint8_t> NeonPenBrush::packBrushMetaData(const brush_meta& meta) const
{
    std::vector<uint8_t> bytes(4);
    std::memcpy(bytes.data(), &meta.size, 4);
    return bytes;
}

void NeonPenBrush::unpackBrushMeta(brush_meta& meta, std::span<const uint8_t> data) const
{
    if (data.size() >= 4)
        std::memcpy(&meta.size, data.data(), 4);
}
