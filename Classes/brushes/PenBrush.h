#pragma once

#include "Classes/brushes/Brush.h"

// A round solid line whose width wanders a little from point to point.
class PenBrush final : public Brush {
public:
    PenBrush();

    void prepareBrush() override;
    void updateBrush() override;
    float randomWidth() const;
    void randomBrushColor();
    void randomColor();

    void setBrush(platform::GraphicsContext& context) override;
    platform::Rect drawStroke(platform::GraphicsContext& context, const platform::Path& path) override;

    int getBrushMetaPackLength() const override { return 4; }
    std::vector<uint8_t> packBrushMetaData(const brush_meta& meta) const override;
    void unpackBrushMeta(brush_meta& meta, std::span<const uint8_t> data) const override;
};
