#pragma once

#include "Classes/brushes/Brush.h"

// The eraser: strokes the smoothed path like the pen, but clears what it covers
// so that lower layers and the background show through.
class RubberBrush final : public Brush {
public:
    RubberBrush();

    void setBrush(platform::GraphicsContext& context) override;
    platform::Rect drawStroke(platform::GraphicsContext& context, const platform::Path& path) override;
};
