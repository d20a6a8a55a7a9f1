#pragma once

#include "Classes/brushes/NeonBrush.h"

// The neon line whose width wanders from point to point, like the pen.
class NeonPenBrush final : public NeonBrush {
public:
    NeonPenBrush();

    void updateBrush() override;
    // The next width, not stored: the first point of a stroke keeps its width.
    float randomWidth() override;

    int getBrushMetaPackLength() const override { return 4; }
    std::vector<uint8_t> packBrushMetaData(const brush_meta& meta) const override;
    void unpackBrushMeta(brush_meta& meta, std::span<const uint8_t> data) const override;
};
