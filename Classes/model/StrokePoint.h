#pragma once

#include "Classes/model/BrushMeta.h"
#include "platform/graphics/Geometry.h"

// One recorded point: its packed position and the brush record that drew it.
class StrokePoint final {
public:
    StrokePoint() = default;
    explicit StrokePoint(platform::Point p) { packPosition(p); }
    StrokePoint(platform::Point p, const brush_meta& brushData)
        : m_brushData(brushData)
    {
        packPosition(p);
    }

    // Truncates toward zero and keeps the low 16 bits of each coordinate.
    void packPosition(platform::Point p);
    // The packed position as floats; the brushes always draw from this.
    platform::Point CGPoint() const { return { static_cast<float>(m_position.x), static_cast<float>(m_position.y) }; }

    __packedPoint position() const { return m_position; }
    void setPosition(__packedPoint position) { m_position = position; }
    const brush_meta& brushData() const { return m_brushData; }
    void setBrushData(const brush_meta& data) { m_brushData = data; }

private:
    __packedPoint m_position { 0, 0 };
    brush_meta m_brushData = brush_meta::zero();
};
