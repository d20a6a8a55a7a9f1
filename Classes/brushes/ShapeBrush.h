#pragma once

#include "Classes/brushes/Brush.h"
#include "Classes/brushes/ShapeFill.h"

// Fills the area the stroke encloses, so a closed scribble becomes a solid
// shape. The stroke path holds the whole stroke and each step shows it filled
// whole, in every mirror copy; the fill is kept between steps, and a step adds
// only what its segment changes.
class ShapeBrush final : public Brush {
public:
    ShapeBrush();

    void prepareBrush() override;
    void randomColor();
    void setBrush(platform::GraphicsContext& context) override;
    void strokeFrom(platform::GraphicsContext& context, platform::Point p) override;
    platform::Rect drawSubStroke(platform::GraphicsContext& context) override;
    platform::Rect drawStroke(platform::GraphicsContext& context, const platform::Path& path) override;
    std::optional<StepArea> wholePathStepArea(platform::Point p, bool isLast) const override;

private:
    // Paints the path filled in each copy (transforms from the path's
    // coordinates to the context's user space), one over another.
    void fill(platform::GraphicsContext& context, const platform::Path& path,
        std::span<const platform::AffineTransform> copies, int grownFrom);

    ShapeFill m_fill;
    // How many elements of the stroke path the fill holds; 0 when it holds another path.
    int m_filledElements { 0 };
};
