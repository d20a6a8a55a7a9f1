#include "Classes/model/Stroke.h"

#include "Classes/brushes/Brush.h"
#include "platform/graphics/GraphicsContext.h"

using platform::Rect;

void Stroke::strokeFrom(platform::GraphicsContext& context, const StrokePoint& point, bool isReplay)
{
    platform::Point p = point.CGPoint();
    if (isReplay) {
        if (m_brush)
            m_brush->reinitBrush(point.brushData());
    } else {
        StrokePoint recorded = point;
        if (m_brush) {
            m_brush->prepareBrush();
            recorded.setBrushData(m_brush->brushData());
        }
        m_strokePoints.push_back(recorded);
    }
    if (m_brush)
        m_brush->strokeFrom(context, p);
    context.moveToPoint(p);
    m_dirtyRect = Rect::null();
}

Rect Stroke::strokeTo(platform::GraphicsContext& context, const StrokePoint& point, bool isReplay)
{
    return drawSegment(context, point, isReplay, false);
}

Rect Stroke::strokeEnd(platform::GraphicsContext& context, const StrokePoint& point, bool isReplay)
{
    return drawSegment(context, point, isReplay, true);
}

Rect Stroke::drawSegment(platform::GraphicsContext& context, const StrokePoint& point, bool isReplay, bool isEnd)
{
    platform::Point p = point.CGPoint();
    if (isReplay) {
        if (m_brush)
            m_brush->restoreBrush(point.brushData());
    } else {
        StrokePoint recorded = point;
        if (m_brush) {
            m_brush->updateBrush();
            recorded.setBrushData(m_brush->brushData());
        }
        m_strokePoints.push_back(recorded);
    }
    if (!m_brush)
        return Rect::null();
    Rect r = isEnd ? m_brush->strokeEnd(context, p) : m_brush->strokeTo(context, p);
    addDirtyRegion(r);
    return r;
}

int Stroke::getBrushType() const
{
    return m_strokePoints.empty() ? 0 : m_strokePoints.front().brushData().type;
}

int Stroke::getMirrixMode() const
{
    return m_strokePoints.empty() ? 0 : m_strokePoints.front().brushData().mirrixMode;
}

void Stroke::archiveStrokePoint(std::vector<uint8_t>& buffer, const StrokePoint& point)
{
    uint8_t bytes[4 + brush_meta::byteSize];
    __packedPoint position = point.position();
    std::memcpy(bytes, &position, 4);
    point.brushData().toBytes(bytes + 4);
    buffer.insert(buffer.end(), bytes, bytes + sizeof bytes);
}

size_t Stroke::packedLength(int brushType, int pointCount)
{
    if (pointCount <= 0)
        return 0;
    size_t metaLength = Brush::packingBrush(brushType).getBrushMetaPackLength();
    return 28 + static_cast<size_t>(pointCount - 1) * (4 + metaLength);
}

std::vector<uint8_t> Stroke::packStrokePoints() const
{
    std::vector<uint8_t> buffer;
    if (m_strokePoints.empty())
        return buffer;
    buffer.reserve(m_strokePoints.size() * 28 + 1024);
    archiveStrokePoint(buffer, m_strokePoints.front());
    const Brush& packer = Brush::packingBrush(getBrushType());
    for (size_t i = 1; i < m_strokePoints.size(); ++i) {
        __packedPoint position = m_strokePoints[i].position();
        auto* positionBytes = reinterpret_cast<const uint8_t*>(&position);
        buffer.insert(buffer.end(), positionBytes, positionBytes + 4);
        std::vector<uint8_t> meta = packer.packBrushMetaData(m_strokePoints[i].brushData());
        buffer.insert(buffer.end(), meta.begin(), meta.end());
    }
    return buffer;
}

bool Stroke::unpackStrokePoints(std::span<const uint8_t> data, int pointCount)
{
    m_strokePoints.clear();
    if (pointCount <= 0 || data.size() < 28)
        return false;
    brush_meta record = brush_meta::fromBytes(data.data() + 4);
    const Brush& packer = Brush::packingBrush(record.type);
    const size_t metaLength = packer.getBrushMetaPackLength();
    if (data.size() < 28 + static_cast<size_t>(pointCount - 1) * (4 + metaLength))
        return false;

    m_strokePoints.reserve(pointCount);
    auto readPosition = [&](size_t offset) {
        __packedPoint position;
        std::memcpy(&position, data.data() + offset, 4);
        return position;
    };
    StrokePoint first;
    first.setPosition(readPosition(0));
    first.setBrushData(record);
    m_strokePoints.push_back(first);

    // One running record: the per-point bytes carry forward, everything else
    // keeps the first point's value.
    size_t offset = 28;
    for (int i = 1; i < pointCount; ++i) {
        StrokePoint point;
        point.setPosition(readPosition(offset));
        offset += 4;
        if (metaLength > 0) {
            packer.unpackBrushMeta(record, data.subspan(offset, metaLength));
            offset += metaLength;
        }
        point.setBrushData(record);
        m_strokePoints.push_back(point);
    }
    return true;
}

int Stroke::getPackStrokeDataLength() const
{
    int n = getStrokePointsNumber();
    if (n == 0)
        return 4;
    int metaLength = Brush::packingBrush(getBrushType()).getBrushMetaPackLength();
    return (metaLength + 4) * (n - 1) + 32;
}
