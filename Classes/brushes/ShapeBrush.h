#pragma once

#include "Classes/brushes/Brush.h"

// Fills the area the stroke encloses, so a closed scribble becomes a solid
// shape. The stroke path holds the whole stroke and is filled again each step.
class ShapeBrush final : public Brush {
public:
    ShapeBrush();

    void prepareBrush() override;
    void randomColor();
    void setBrush(platform::GraphicsContext& context) override;
    platform::Rect drawStroke(platform::GraphicsContext& context, const platform::Path& path) override;
    std::optional<StepArea> wholePathStepArea(platform::Point p, bool isLast) const override;
};
