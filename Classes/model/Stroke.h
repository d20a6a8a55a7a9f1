#pragma once

#include "Classes/model/StrokePoint.h"
#include "platform/graphics/Geometry.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class Brush;

namespace platform {
class GraphicsContext;
}

// One recorded stroke: its points, each with the brush record that drew it.
// Live, the points are appended as they are drawn; in replay the stroke's own
// points are handed back to a brush and nothing is appended.
class Stroke final {
public:
    static std::unique_ptr<Stroke> create() { return std::make_unique<Stroke>(); }

    void strokeFrom(platform::GraphicsContext& context, const StrokePoint& point, bool isReplay);
    platform::Rect strokeTo(platform::GraphicsContext& context, const StrokePoint& point, bool isReplay);
    platform::Rect strokeEnd(platform::GraphicsContext& context, const StrokePoint& point, bool isReplay);

    void addDirtyRegion(const platform::Rect& r) { m_dirtyRect = m_dirtyRect.united(r); }
    const platform::Rect& dirtyRect() const { return m_dirtyRect; }

    int getBrushType() const;
    int getMirrixMode() const;
    int getStrokePointsNumber() const { return static_cast<int>(m_strokePoints.size()); }
    const std::vector<StrokePoint>& strokePoints() const { return m_strokePoints; }

    // The brush that draws this stroke, not owned: set only while the stroke is
    // drawn live or replayed, and null once it is finished.
    Brush* brush() const { return m_brush; }
    void setBrush(Brush* brush) { m_brush = brush; }

    // The packed form: the first point whole (28 bytes), then each later point's
    // position and its brush's per-point bytes.
    std::vector<uint8_t> packStrokePoints() const;
    // Rebuilds the points from the packed form. Data shorter than the count
    // requires is rejected: false, and the stroke is left empty.
    bool unpackStrokePoints(std::span<const uint8_t> data, int pointCount);
    // The packed length plus the 4-byte stroke header of the stroke file.
    int getPackStrokeDataLength() const;
    // The packed length of `pointCount` points of the given brush type.
    static size_t packedLength(int brushType, int pointCount);
    static void archiveStrokePoint(std::vector<uint8_t>& buffer, const StrokePoint& point);

private:
    platform::Rect drawSegment(platform::GraphicsContext& context, const StrokePoint& point, bool isReplay, bool isEnd);

    std::vector<StrokePoint> m_strokePoints;
    Brush* m_brush { nullptr };
    platform::Rect m_dirtyRect = platform::Rect::null();
};
