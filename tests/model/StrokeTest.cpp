#include "Classes/brushes/Brush.h"
#include "Classes/model/Stroke.h"

#include <array>
#include <gtest/gtest.h>

using platform::Point;

TEST(BrushMeta, FieldsSitWhereTheFileExpectsThem)
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
    // Bit fields fill the first word from its least significant bit: AB, 1 << 8, 7f << 10, 9 << 19.
    const std::array<uint8_t, 24> expected { 0xAB, 0xFD, 0x49, 0, 0, 0, 0x80, 0x3f, 20, 0, 0, 0, 1, 0, 0, 4, 0, 0, 0, 8,
        4, 3, 2, 1 };
    std::array<uint8_t, 24> bytes;
    meta.toBytes(bytes.data());
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(brush_meta::fromBytes(expected.data()), meta);
}

TEST(StrokePoint, PositionsTruncateTowardZeroAndKeepSixteenBits)
{
    EXPECT_EQ(StrokePoint(Point { 10.9f, -3.7f }).CGPoint(), (Point { 10, -3 }));
    EXPECT_EQ(StrokePoint(Point { 65536.0f + 7, -32769.0f }).position(), (__packedPoint { 7, 32767 }));
}

TEST(StrokePacking, LaterPointsKeepTheirTypesFieldsAndTakeTheRestFromTheFirstPoint)
{
    // Pen and neon pen keep each point's width, rainbow its width and colour, the others nothing.
    for (auto [type, metaLength] : { std::pair { 13, 4 }, { 24, 4 }, { 11, 8 }, { 17, 0 }, { 37, 0 } }) {
        SCOPED_TRACE(type);
        brush_meta first = brush_meta::zero();
        first.type = type;
        first.randSeed = 111;
        brush_meta later = first;
        later.size = 6.5f;
        later.red = 200;
        later.alpha = 7;
        later.randSeed = 222;
        // The size 6.5f, then red, green, blue, alpha.
        std::vector<uint8_t> expected { 0, 0, 0xd0, 0x40, 200, 0, 0, 7 };
        expected.resize(static_cast<size_t>(metaLength));
        EXPECT_EQ(Brush::packingBrush(type).packBrushMetaData(later), expected);

        std::vector<uint8_t> packed;
        Stroke::archiveStrokePoint(packed, StrokePoint(Point { 1, 2 }, first));
        packed.insert(packed.end(), { 0xd4, 0xfe, 0x90, 0x01 }); // -300, 400
        packed.insert(packed.end(), expected.begin(), expected.end());
        Stroke stroke;
        ASSERT_TRUE(stroke.unpackStrokePoints(packed, 2));
        EXPECT_EQ(stroke.packStrokePoints(), packed);
        const StrokePoint& read = stroke.strokePoints()[1];
        EXPECT_EQ(read.CGPoint(), (Point { -300, 400 }));
        EXPECT_EQ(read.brushData().size, metaLength ? 6.5f : 0.0f);
        EXPECT_EQ(read.brushData().alpha, metaLength == 8 ? 7 : 0);
        EXPECT_EQ(read.brushData().randSeed, 111u);
        // Copies of exactly that length, so that a sanitizer sees any read past them.
        for (auto end = packed.begin(); end != packed.end(); ++end)
            EXPECT_FALSE(Stroke().unpackStrokePoints(std::vector<uint8_t>(packed.begin(), end), 2));
    }
}
