#pragma once

#include "Classes/brushes/Bezier.h"
#include "Classes/brushes/Brush.h"
#include "Classes/brushes/SketchPoint.h"

#include <vector>

// A thin line plus faint hatching between the current point and earlier nearby
// points of the same stroke, like a pencil sketch. It draws straight into the
// context, once: mirror mode has no effect on it. Its randomness restarts from
// the record's seed at every stroke, live and in replay.
class SketchyBrush : public Brush {
public:
    SketchyBrush();

    void prepareBrush() override;
    void reinitBrush(const brush_meta& data) override;
    virtual void randomColor();
    void setBrush(platform::GraphicsContext& context) override;

    void strokeFrom(platform::GraphicsContext& context, platform::Point p) override;
    platform::Rect strokeTo(platform::GraphicsContext& context, platform::Point p) override;
    platform::Rect strokeEnd(platform::GraphicsContext& context, platform::Point p) override;

    virtual void drawCoreStroke(platform::GraphicsContext& context, platform::Point p);
    virtual void drawSideStrokes(platform::GraphicsContext& context, platform::Point p);
    // Unites the path's box, widened by 4 points, into the dirty rectangle.
    void addDirtyRegion(const platform::Path& path);

    const std::vector<SketchPoint>& points() const { return m_points; }

protected:
    // Kept between strokes (emptied, not freed) so moves do not allocate.
    std::vector<SketchPoint> m_points;
    Bezier m_bezier;
    platform::Path m_scratchPath;
};
