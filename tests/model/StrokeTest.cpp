#include "Classes/model/Stroke.h"

#include <gtest/gtest.h>

using platform::Point;

namespace {

// The packed form of the points: the first whole, the rest as a position
// followed by `metaLength` bytes of the record: its size, then its colour.
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
        if (metaLength >= 4)
            bytes.insert(bytes.end(), record + 4, record + 8);
        if (metaLength == 8)
            bytes.insert(bytes.end(), record + 12, record + 16);
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
    const uint32_t word0 = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
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

TEST(StrokePacking, EachTypeKeepsItsPerPointFieldsTakesTheRestFromTheFirstPointAndRejectsShortData)
{
    // Pen and neon pen keep each point's width, rainbow its width and colour, the others nothing.
    for (auto [type, metaLength] : { std::pair { 13, 4 }, { 24, 4 }, { 11, 8 }, { 17, 0 }, { 37, 0 } }) {
        SCOPED_TRACE(type);
        brush_meta first = brush_meta::zero();
        first.type = type;
        first.size = 6;
        first.randSeed = 111;
        first.mirrixMode = 4;
        first.red = 10;
        brush_meta later = first;
        later.size = 6.3f;
        later.randSeed = 222;
        later.red = 200;
        const std::vector<StrokePoint> points { StrokePoint(Point { 1, 2 }, first),
            StrokePoint(Point { -300, 400 }, later), StrokePoint(Point { 5, 6 }, later) };
        const auto packed = packedPoints(points, static_cast<size_t>(metaLength));
        EXPECT_EQ(packed.size(), Stroke::packedLength(type, 3));

        Stroke stroke;
        ASSERT_TRUE(stroke.unpackStrokePoints(packed, 3));
        EXPECT_EQ(stroke.packStrokePoints(), packed);
        EXPECT_EQ(static_cast<size_t>(stroke.getPackStrokeDataLength()), packed.size() + 4);
        EXPECT_EQ(stroke.getMirrixMode(), 4);
        const brush_meta& read = stroke.strokePoints()[1].brushData();
        EXPECT_EQ(stroke.strokePoints()[1].CGPoint(), (Point { -300, 400 }));
        EXPECT_FLOAT_EQ(read.size, metaLength >= 4 ? 6.3f : 6.0f);
        EXPECT_EQ(read.red, metaLength == 8 ? 200 : 10);
        EXPECT_EQ(read.randSeed, 111u);

        for (size_t length = 0; length < packed.size(); ++length) {
            // A copy of exactly `length` bytes, so a sanitizer sees any overread.
            std::vector<uint8_t> truncated(packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(length));
            Stroke shortStroke;
            EXPECT_FALSE(shortStroke.unpackStrokePoints(truncated, 3)) << length;
            EXPECT_EQ(shortStroke.getStrokePointsNumber(), 0);
        }
        EXPECT_FALSE(Stroke().unpackStrokePoints(packed, 0));
    }
}
