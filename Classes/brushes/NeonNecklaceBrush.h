#pragma once

#include "Classes/brushes/Bezier.h"
#include "Classes/brushes/NeonBrush.h"

#include <memory>

// A row of separate glowing beads along the stroke, never closer than 0.8 of
// the brush size to each other. It applies the mirror transforms itself.
class NeonNecklaceBrush final : public NeonBrush {
public:
    NeonNecklaceBrush();
    ~NeonNecklaceBrush() override;

    // Starts from the bead position of a fresh brush, as a replay does.
    void strokeFrom(platform::GraphicsContext& context, platform::Point p) override;
    void setBrush(platform::GraphicsContext& context) override;
    platform::Rect drawSubStroke(platform::GraphicsContext& context) override;
    platform::Rect drawStroke(platform::GraphicsContext& context, platform::Point startPoint,
        platform::Point controlPoint, platform::Point endPoint) override;
    using NeonBrush::drawStroke;
    // Beads have no core to mend.
    void drawAmendPath(platform::GraphicsContext&) override { }

    bool isNewPointTooClose(platform::Point point, float radius) const;
    platform::Point prevDrawedPoint() const { return m_prevDrawedPoint; }

private:
    std::unique_ptr<Bezier> m_bezier;
    // Centre of the last bead; carries over between segments.
    platform::Point m_prevDrawedPoint { 0, 0 };
    platform::Path m_bead;
};
