#pragma once

#include "Classes/brushes/Brush.h"

// A round line that steps around the colour circle in 21 hues, one per point,
// while its width wobbles. Colour and width travel in every point's record.
class RainbowBrush final : public Brush {
public:
    RainbowBrush();

    void prepareBrush() override;
    void updateBrush() override;
    float randomWidth() const;
    void randomBrushColor();
    void randomColor();

    void setBrush(platform::GraphicsContext& context) override;
    platform::Rect drawStroke(platform::GraphicsContext& context, const platform::Path& path) override;

    int getBrushMetaPackLength() const override { return 8; }
    std::vector<uint8_t> packBrushMetaData(const brush_meta& meta) const override;
    void unpackBrushMeta(brush_meta& meta, std::span<const uint8_t> data) const override;
};
