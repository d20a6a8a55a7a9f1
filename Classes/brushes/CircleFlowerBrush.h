#pragma once

#include "Classes/brushes/CircleChasisBrush.h"

// Sets of concentric circles centred on the cells of a fixed grid, larger the
// faster the finger moves.
class CircleFlowerBrush final : public CircleChasisBrush {
public:
    CircleFlowerBrush();

    void setBrush(platform::GraphicsContext& context) override;
    void drawCoreStroke(platform::GraphicsContext&, platform::Point) override { }
    void drawSideStrokes(platform::GraphicsContext& context, platform::Point p) override;

    // The centre of the grid cell that holds the point.
    static platform::Point gridCentre(platform::Point p);
};
