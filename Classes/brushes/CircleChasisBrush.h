#pragma once

#include "Classes/brushes/SketchyBrush.h"

// A chain of filled circles, each spanning two successive touch points.
class CircleChasisBrush : public SketchyBrush {
public:
    CircleChasisBrush();

    void randomColor() override;
    void setBrush(platform::GraphicsContext& context) override;
    void drawCoreStroke(platform::GraphicsContext& context, platform::Point p) override;
    void drawSideStrokes(platform::GraphicsContext&, platform::Point) override { }
};
