#include "Classes/brushes/Brush.h"
#include "Classes/brushes/PenBrush.h"
#include "Classes/model/Stroke.h"
#include "platform/system/Device.h"
#include "support/TestCanvas.h"

#include <gtest/gtest.h>

using platform::Point;
using platform::Rect;

namespace {

brush_meta recordOfType(int type)
{
    brush_meta meta = brush_meta::zero();
    meta.type = type;
    return meta;
}

// The packed form of `count` points: the first whole, the rest as a position
// followed by `metaLength` bytes taken from the start of the record's size field.
std::vector<uint8_t> packedPoints(const std::vector<StrokePoint>& points, size_t metaLength)
{
    std::vector<uint8_t> bytes;
    Stroke::archiveStrokePoint(bytes, points.front());
    for (size_t i = 1; i < points.size(); ++i) {
        uint8_t record[24];
        points[i].brushData().toBytes(record);
        __packedPoint position = points[i].position();
        auto* p = reinterpret_cast<const uint8_t*>(&position);
        bytes.insert(bytes.end(), p, p + 4);
        if (metaLength == 4)
            bytes.insert(bytes.end(), record + 4, record + 8);
        else if (metaLength == 8) {
            bytes.insert(bytes.end(), record + 4, record + 8);
            bytes.insert(bytes.end(), record + 12, record + 16);
        }
    }
    return bytes;
}


}

TEST(BrushMeta, BitFieldsSitWhereTheFileExpectsThem)
{
    brush_meta meta = brush_meta::zero();
    meta.type = 0xAB;
    meta.hasAlpha = 1;
    meta.space = 0x7f;
    meta.mirrixMode = 9;
    meta.size = 1.0f;
    meta.neonSize = 20;
    meta.red = 1;
    meta.alpha = 4;
    meta.secondColor[3] = 8;
    meta.randSeed = 0x01020304;
    uint8_t bytes[24];
    meta.toBytes(bytes);
    uint32_t word0 = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    EXPECT_EQ(word0 & 0xff, 0xABu);
    EXPECT_EQ((word0 >> 8) & 1, 1u);
    EXPECT_EQ((word0 >> 10) & 0x7f, 0x7fu);
    EXPECT_EQ((word0 >> 19) & 0xf, 9u);
    EXPECT_EQ(bytes[7], 0x3f); // 1.0f little-endian: 00 00 80 3f
    EXPECT_EQ(bytes[8], 20);
    EXPECT_EQ(bytes[12], 1);
    EXPECT_EQ(bytes[15], 4);
    EXPECT_EQ(bytes[19], 8);
    EXPECT_EQ(bytes[20], 4);
    EXPECT_EQ(brush_meta::fromBytes(bytes), meta);
}

TEST(StrokePoint, PositionsTruncateTowardZeroAndKeepSixteenBits)
{
    EXPECT_EQ(StrokePoint(Point { 10.9f, -3.7f }).CGPoint(), (Point { 10, -3 }));
    EXPECT_EQ(StrokePoint(Point { 65536.0f + 7, -32769.0f }).position(), (__packedPoint { 7, 32767 }));
    EXPECT_EQ(StrokePoint(Point { 40000.0f, 0 }).position().x, static_cast<int16_t>(40000 - 65536));
}

TEST(StrokePacking, SizesFollowTheBrushTypesPerPointData)
{
    struct Case {
        int type;
        int points;
        size_t packed;
    };
    for (Case c : { Case { 13, 1, 28 }, Case { 13, 3, 44 }, Case { 11, 3, 52 }, Case { 17, 3, 36 }, Case { 12, 3, 36 } }) {
        std::vector<StrokePoint> points(c.points, StrokePoint(Point { 1, 2 }, recordOfType(c.type)));
        size_t metaLength = c.points > 1 ? (c.packed - 28) / (c.points - 1) - 4 : 0;
        Stroke stroke;
        ASSERT_TRUE(stroke.unpackStrokePoints(packedPoints(points, metaLength), c.points)) << c.type;
        EXPECT_EQ(stroke.packStrokePoints().size(), c.packed) << "type " << c.type;
        EXPECT_EQ(static_cast<size_t>(stroke.getPackStrokeDataLength()), c.packed + 4);
        EXPECT_EQ(Stroke::packedLength(c.type, c.points), c.packed);
    }
}

TEST(StrokePacking, PenWidthsRoundTripButOtherFieldsComeFromTheFirstPoint)
{
    brush_meta first = recordOfType(13);
    first.size = 6;
    first.randSeed = 111;
    first.mirrixMode = 4;
    brush_meta second = first;
    second.size = 6.3f;
    second.randSeed = 222;
    brush_meta third = first;
    third.size = 5.7f;

    std::vector<StrokePoint> points { StrokePoint(Point { 1, 2 }, first), StrokePoint(Point { -300, 400 }, second),
        StrokePoint(Point { 5, 6 }, third) };
    Stroke source;
    ASSERT_TRUE(source.unpackStrokePoints(packedPoints(points, 4), 3));
    EXPECT_EQ(source.packStrokePoints(), packedPoints(points, 4));
    // Only the per-point size travels; the seed reads back as the first point's.
    Stroke copy;
    ASSERT_TRUE(copy.unpackStrokePoints(source.packStrokePoints(), 3));
    ASSERT_EQ(copy.getStrokePointsNumber(), 3);
    EXPECT_EQ(copy.strokePoints()[1].CGPoint(), (Point { -300, 400 }));
    EXPECT_FLOAT_EQ(copy.strokePoints()[1].brushData().size, 6.3f);
    EXPECT_FLOAT_EQ(copy.strokePoints()[2].brushData().size, 5.7f);
    EXPECT_EQ(copy.strokePoints()[1].brushData().randSeed, 111u);
    EXPECT_EQ(copy.getMirrixMode(), 4);
    EXPECT_EQ(copy.getBrushType(), 13);
}

TEST(StrokePacking, ShortDataIsRejectedWithoutReadingPastItsEnd)
{
    std::vector<StrokePoint> points(3, StrokePoint(Point { 1, 2 }, recordOfType(13)));
    std::vector<uint8_t> packed = packedPoints(points, 4); // 44 bytes
    for (size_t length = 0; length < packed.size(); ++length) {
        // A copy of exactly `length` bytes, so a sanitizer sees any overread.
        std::vector<uint8_t> truncated(packed.begin(), packed.begin() + length);
        Stroke stroke;
        EXPECT_FALSE(stroke.unpackStrokePoints(truncated, 3)) << length;
        EXPECT_EQ(stroke.getStrokePointsNumber(), 0);
    }
    Stroke none;
    EXPECT_FALSE(none.unpackStrokePoints(packed, 0));
}

TEST(StrokeRecording, AppendsOnePointPerCallLiveAndNoneInReplay)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    TestCanvas canvas(200, 200);
    PenBrush pen;
    pen.setMirrix(0, { 100, 100 });
    Stroke stroke;
    stroke.setBrush(&pen);
    stroke.strokeFrom(canvas.context(), StrokePoint(Point { 10.9f, 20 }), false);
    EXPECT_TRUE(stroke.dirtyRect().isNull()); // the first point contributes nothing
    Rect a = stroke.strokeTo(canvas.context(), StrokePoint(Point { 60, 30 }), false);
    Rect b = stroke.strokeTo(canvas.context(), StrokePoint(Point { 120, 90 }), false);
    Rect c = stroke.strokeEnd(canvas.context(), StrokePoint(Point { 150, 150 }), false);
    EXPECT_EQ(stroke.getStrokePointsNumber(), 4);
    EXPECT_EQ(stroke.dirtyRect(), a.united(b).united(c));
    EXPECT_EQ(stroke.strokePoints()[0].CGPoint(), (Point { 10, 20 }));
    EXPECT_EQ(stroke.strokePoints()[0].brushData().type, 13u);

    Stroke replay = stroke;
    PenBrush other;
    other.setMirrix(0, { 100, 100 });
    replay.setBrush(&other);
    const auto& points = stroke.strokePoints();
    replay.strokeFrom(canvas.context(), points[0], true);
    for (size_t i = 1; i + 1 < points.size(); ++i)
        replay.strokeTo(canvas.context(), points[i], true);
    replay.strokeEnd(canvas.context(), points.back(), true);
    EXPECT_EQ(replay.getStrokePointsNumber(), 4);
    EXPECT_EQ(replay.dirtyRect(), stroke.dirtyRect());
}

TEST(StrokeRecording, WithoutABrushNothingIsDrawnOrReported)
{
    TestCanvas canvas(50, 50);
    Stroke stroke;
    stroke.strokeFrom(canvas.context(), StrokePoint(Point { 1, 1 }), false);
    EXPECT_TRUE(stroke.strokeTo(canvas.context(), StrokePoint(Point { 40, 40 }), false).isNull());
    EXPECT_EQ(stroke.getStrokePointsNumber(), 2);
    EXPECT_EQ(canvas.paintedPixelCount(), 0);
}
