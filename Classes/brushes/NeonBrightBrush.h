#pragma once

#include "Classes/brushes/NeonBrush.h"

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

    // The sub-stroke stack: the last three segments drawn by any bright neon
    // brush, oldest first. It is process-wide, like the one stroke in progress.
    static void initSubStrokeStack();
    static void pushSubStroke(const platform::Path& path);
    static platform::Path getPathOfPastSubStrokes();
    static void freeSubStrokeStack();

private:
    platform::Path m_innerBrightLinePath;
    int m_segmentsOfInnerBrightLinePath { 0 };
};
