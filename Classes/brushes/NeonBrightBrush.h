#pragma once

#include "Classes/brushes/NeonBrush.h"

#include <array>
#include <optional>

// A brighter neon tube whose white core is redrawn along the last three
// segments, so the glow of a new segment never dims the core behind it.
// The brush a new painting starts with.
class NeonBrightBrush final : public NeonBrush {
public:
    NeonBrightBrush();

    void strokeFrom(platform::GraphicsContext& context, platform::Point p) override;
    platform::Rect strokeEnd(platform::GraphicsContext& context, platform::Point p) override;
    platform::Rect drawSubStroke(platform::GraphicsContext& context) override;
    platform::Rect drawStroke(platform::GraphicsContext& context, const platform::Path& path) override;
    void drawNeonPath_New(platform::GraphicsContext& context, const platform::Path& path, const platform::Path* amendPath);

    const platform::Path& innerBrightLinePath() const { return m_innerBrightLinePath; }

    // The sub-stroke stack: the last three segments of this brush's stroke,
    // oldest first. Each brush keeps its own, so that a brush made or drawing
    // on another thread (a painting opened or replayed in the background)
    // cannot touch the stroke under the finger.
    void initSubStrokeStack();
    void pushSubStroke(const platform::Path& path);
    platform::Path getPathOfPastSubStrokes() const;
    void freeSubStrokeStack();

private:
    std::array<std::optional<platform::Path>, 3> m_subStrokes;
    platform::Path m_innerBrightLinePath;
    int m_segmentsOfInnerBrightLinePath { 0 };
};
