#include "Classes/model/StrokeFile.h"
#include "ModelTestSupport.h"
#include "platform/system/Device.h"

#include <array>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

using platform::Point;

namespace {

// Little-endian bytes written field by field, the way the expected file is spelled out.
struct Bytes {
    std::vector<uint8_t> data;
    template <typename T>
    Bytes& add(T value)
    {
        const auto* raw = reinterpret_cast<const uint8_t*>(&value);
        data.insert(data.end(), raw, raw + sizeof(T));
        return *this;
    }
};

template <typename T>
std::vector<uint8_t> with(std::vector<uint8_t> bytes, size_t offset, T value)
{
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
    return bytes;
}

std::vector<uint8_t> fileOfOneLayer(std::vector<std::unique_ptr<Stroke>> strokes)
{
    auto painting = makePainting(320, 416);
    for (auto& stroke : strokes)
        painting->activeLayer()->addStroke(std::move(stroke));
    return encodeStrokeFile(*painting);
}

const std::vector<uint8_t>& sampleFile()
{
    static const std::vector<uint8_t> bytes = encodeStrokeFile(*makeSamplePainting());
    return bytes;
}

// A header of square layers of that side, each an empty layer block.
std::vector<uint8_t> layersOfSide(int32_t layers, int32_t side)
{
    Bytes file;
    file.add<int32_t>(1).add(side).add(side).add(layers).add<int32_t>(1);
    file.data.resize(StrokeFileHeader::byteSize, 0);
    for (int32_t i = 0; i < layers; ++i)
        file.add<int32_t>(0).add<int32_t>(0);
    return file.data;
}

// Offsets in the sample file: header fields, the layer's stroke count, its first (pen) stroke.
constexpr size_t widthAt = 4, heightAt = 8, layersAt = 12, strokeCountAt = 80, strokeAt = 84;

}

TEST(StrokeFileFormat, TwoPointPenStrokeMakesTheDocumented124ByteFile)
{
    auto painting = makePainting(320, 416);
    drawStroke(*painting, 13, { { 10.9f, 20 }, { 50, 60.5f } });
    const auto& points = painting->activeLayer()->strokeList().front()->strokePoints();
    ASSERT_EQ(points.size(), 2u);

    Bytes expected;
    expected.add<int32_t>(1).add<int32_t>(320).add<int32_t>(416).add<int32_t>(1).add<int32_t>(1);
    expected.add(0.0f).add(0.0f).add(0.0f).add(1.0f);
    for (int i = 0; i < 10; ++i)
        expected.add<int32_t>(0);
    expected.add<int32_t>(0).add<int32_t>(1).add<uint16_t>(2).add<uint16_t>(36);
    expected.add<int16_t>(10).add<int16_t>(20);
    expected.add(points[0].brushData());
    expected.add<int16_t>(50).add<int16_t>(60).add(points[1].brushData().size);
    EXPECT_EQ(expected.data.size(), 124u);
    EXPECT_EQ(encodeStrokeFile(*painting), expected.data);

    // A photo background is kind 0, and the colour is still kept.
    painting->setBackgroundColor(platform::Color::rgba(0.25f, 0.5f, 0.75f, 1));
    painting->setBackgroundImage(platform::Image(QImage(8, 8, QImage::Format_RGB32)));
    const auto colour = with<float>(with<float>(with<float>(expected.data, 20, 0.25f), 24, 0.5f), 28, 0.75f);
    EXPECT_EQ(encodeStrokeFile(*painting), with<int32_t>(colour, 16, 0));
}

TEST(StrokeFileFormat, LongStrokesSplitIntoFileStrokesThatEachStartWithTheirRecord)
{
    // Pen and neon pen keep 4 bytes a point, rainbow 8, the others none.
    for (auto [type, perFileStroke] : { std::pair { 13, 8189 }, { 24, 8189 }, { 11, 5459 }, { 17, 16377 } }) {
        EXPECT_EQ(strokefile::fileStrokeCount(*recordedStroke(type, perFileStroke)), 1) << type;
        EXPECT_EQ(strokefile::fileStrokeCount(*recordedStroke(type, perFileStroke + 1)), 2) << type;
    }

    std::vector<std::unique_ptr<Stroke>> strokes(1);
    strokes[0] = recordedStroke(13, 20000);
    // Held to what live drawing gives on this canvas, as reading would do.
    strokefile::boundRecords(*strokes[0], 320, 416);
    const std::vector<StrokePoint> original = strokes[0]->strokePoints();
    const auto bytes = fileOfOneLayer(std::move(strokes));
    // Each part starts with the full record of its own first point and reads back as written.
    auto contents = decodeStrokeFile(bytes);
    ASSERT_TRUE(contents);
    auto& parts = contents->layers.front();
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[1]->strokePoints().front().brushData(), original[8189].brushData());
    EXPECT_EQ(parts[2]->strokePoints().front().position(), original[16378].position());
    EXPECT_EQ(fileOfOneLayer(std::move(parts)), bytes);
}

TEST(StrokeFileMalformed, EveryTableEntryAndEveryTruncationIsRejectedButBytesAfterTheLastStrokeAreIgnored)
{
    const auto& file = sampleFile();
    // Bytes after the last stroke, as an older and longer file leaves them;
    // every brush kind reads back to the same bytes.
    auto withTail = file;
    withTail.insert(withTail.end(), 100, 0xAB);
    auto contents = decodeStrokeFile(withTail);
    ASSERT_TRUE(contents);
    EXPECT_TRUE(contents->header.width == 320 && contents->header.height == 416 && contents->layers.size() == 1);
    EXPECT_EQ(fileOfOneLayer(std::move(contents->layers.front())), file);

    uint16_t penLength;
    std::memcpy(&penLength, file.data() + strokeAt + 2, 2);
    const auto twoLayersOneBlock = with<int32_t>(file, layersAt, 2);
    const std::pair<const char*, std::vector<uint8_t>> malformed[] = {
        { "empty", {} },
        { "header without its layer", std::vector<uint8_t>(file.begin(), file.begin() + StrokeFileHeader::byteSize) },
        { "zero layers", with<int32_t>(file, layersAt, 0) },
        { "negative layers", with<int32_t>(file, layersAt, -1) },
        { "more layers than bytes", with<int32_t>(file, layersAt, 0x7fffffff) },
        { "two layers, one block", twoLayersOneBlock },
        { "zero width", with<int32_t>(file, widthAt, 0) },
        { "negative width", with<int32_t>(file, widthAt, -320) },
        { "negative height", with<int32_t>(file, heightAt, -1) },
        { "absurd width", with<int32_t>(file, widthAt, 4097) },
        { "absurd height", with<int32_t>(file, heightAt, 70000) },
        { "largest canvases in two layers", layersOfSide(2, 4096) },
        { "more layers than a painting has", layersOfSide(5, 16) },
        { "negative stroke count", with<int32_t>(file, strokeCountAt, -1) },
        { "stroke count past the end", with<int32_t>(file, strokeCountAt, 0x7fffffff) },
        { "one stroke more than written", with<int32_t>(file, strokeCountAt, 5) },
        { "point count 65535", with<uint16_t>(file, strokeAt, 65535) },
        { "body length 65535", with<uint16_t>(file, strokeAt + 2, 65535) },
        { "stroke without points", with<uint16_t>(with<uint16_t>(file, strokeAt, 0), strokeAt + 2, 0) },
        { "body shorter than a first point", with<uint16_t>(file, strokeAt + 2, 27) },
        { "length too short for the count", with<uint16_t>(file, strokeAt + 2, static_cast<uint16_t>(penLength - 8)) },
        { "length too long for the count", with<uint16_t>(file, strokeAt + 2, static_cast<uint16_t>(penLength + 4)) },
        { "type whose points carry no data", with<uint8_t>(file, strokeAt + 8, 37) },
        { "type whose points carry more data", with<uint8_t>(file, strokeAt + 8, 11) },
    };
    for (const auto& [what, bytes] : malformed)
        EXPECT_FALSE(decodeStrokeFile(bytes)) << what;
    // The largest side and the most layers are accepted, without allocating anything for them.
    EXPECT_TRUE(decodeStrokeFile(with<int32_t>(with<int32_t>(file, widthAt, 4096), heightAt, 4096)));
    EXPECT_TRUE(decodeStrokeFile(layersOfSide(4, 16)));
    EXPECT_TRUE(decodeStrokeFile(layersOfSide(4, 2048)));
    for (size_t length = 0; length < file.size(); ++length) {
        // A copy of exactly that length, so that a sanitizer sees any read past it.
        std::vector<uint8_t> truncated(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(decodeStrokeFile(truncated)) << "truncated to " << length;
    }
}

TEST(StrokeFileRead, ReopenedPaintingReplaysLikeTheOriginalAndKeepsItsFileAndUndoUntilANewStroke)
{
    ScopedDocuments documents;
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    // With no stroke to take it from, the mode is a new painting's.
    ASSERT_TRUE(storePainting("empty", *makePainting(200, 100, 3)));
    auto reopened = Painting::initWithContentsOfFile("empty");
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->mirrixMode(), Painting::defaultMirrixMode);

    // Even sides: on odd ones the replay's mirror centre lies half a point off the live one.
    auto painting = makePainting(320, 416, 4);
    drawStroke(*painting, 13, { { 10, 20 }, { 150, 60 }, { 300, 400 } });
    painting->setMirrixMode(1);
    drawStroke(*painting, 11, { { 60, 20 }, { 90, 300 } });
    painting->setPaintingImage(painting->getPaintingImage());
    ASSERT_TRUE(storePainting("modes", *painting));
    reopened = Painting::initWithContentsOfFile("modes");
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->mirrixMode(), 4);
    EXPECT_TRUE(reopened->isSaved());
    reopened->startPlayback();
    ASSERT_TRUE(replayToEnd(*reopened));
    const Layer& replayed = *reopened->activeLayer();
    EXPECT_TRUE(canvasBytes(replayed.playbackBitmapBuffer(), replayed) == onScreen(*painting->activeLayer()));
    reopened->stopPlayback();

    // Saved again without a new stroke, the file is left alone: a marker after
    // the last stroke shows whether it was written. Under another name it is written all the same.
    const QString path = documents.file("modes.stk");
    auto marked = readBytes(path);
    marked.push_back(0xAB);
    ASSERT_TRUE(writeBytes(path, marked));
    ASSERT_TRUE(storeStrokeToFile(path, *reopened));
    EXPECT_EQ(readBytes(path), marked);
    ASSERT_TRUE(storePainting("second", *reopened));
    EXPECT_EQ(readBytes(documents.file("second.stk")), encodeStrokeFile(*painting));

    // One more stroke: the whole file is rewritten, with no stale tail; only that stroke can be undone.
    drawStroke(*reopened, 13, { { 5, 5 }, { 80, 80 } });
    EXPECT_FALSE(reopened->isSaved());
    ASSERT_TRUE(storeStrokeToFile(path, *reopened));
    EXPECT_EQ(readBytes(path), encodeStrokeFile(*reopened));
    EXPECT_TRUE(reopened->undoStroke());
    EXPECT_FALSE(reopened->undoStroke());
    EXPECT_EQ(reopened->activeLayer()->getStrokeNumber(), 2);

    // Pictures without a readable stroke file are no painting.
    ASSERT_TRUE(writeBytes(path, { 1 }));
    EXPECT_FALSE(Painting::initWithContentsOfFile("modes"));
    QFile::remove(path);
    EXPECT_FALSE(Painting::initWithContentsOfFile("modes"));
}

TEST(StrokeFileRead, RecordsBeyondWhatLiveDrawingGivesAreHeldToItWhenRead)
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Hostile {
        const char* what;
        int type;
        float firstSize;
        float laterSize; // for brushes that record a size per point
        uint8_t neonSize;
        int16_t x;
    };
    const Hostile table[] = {
        { "pattern stamp 30000 wide", 51, 30000, 0, 0, 10 },
        { "pen of no size, then infinite", 13, nan, inf, 7, 10 },
        { "rainbow narrower than nothing, then astronomic", 11, -5, 1e30f, 7, 10 },
        { "neon with the widest glow a byte holds", 17, 6, 0, 255, 10 },
        { "bright neon of infinite size", 37, -inf, 0, 200, 10 },
        { "eraser a billion wide", 23, 1e9f, 0, 0, 10 },
        { "pen far outside the canvas", 13, 6, 6, 7, 32767 },
        { "pen far outside on the other side", 13, 6, 6, 7, -32768 },
    };
    for (const Hostile& row : table) {
        brush_meta record = brush_meta::zero();
        record.type = static_cast<uint32_t>(row.type);
        record.size = row.firstSize;
        record.neonSize = row.neonSize;
        const Brush& packer = Brush::packingBrush(row.type);
        Bytes body;
        body.add<int16_t>(row.x).add<int16_t>(-row.x);
        body.add(record);
        record.size = row.laterSize;
        for (int16_t i = 1; i < 4; ++i) {
            body.add<int16_t>(static_cast<int16_t>(row.x / i)).add<int16_t>(100);
            for (uint8_t byte : packer.packBrushMetaData(record))
                body.add(byte);
        }
        Bytes file;
        file.add<int32_t>(1).add<int32_t>(320).add<int32_t>(416).add<int32_t>(1).add<int32_t>(1);
        file.data.resize(StrokeFileHeader::byteSize, 0);
        file.add<int32_t>(0).add<int32_t>(1).add<uint16_t>(4).add(static_cast<uint16_t>(body.data.size()));
        file.data.insert(file.data.end(), body.data.begin(), body.data.end());

        auto contents = decodeStrokeFile(file.data);
        ASSERT_TRUE(contents) << row.what;
        const auto& points = contents->layers.front().front()->strokePoints();
        ASSERT_EQ(points.size(), 4u) << row.what;
        for (const StrokePoint& point : points) {
            const brush_meta& read = point.brushData();
            EXPECT_TRUE(read.size >= packer.minSize() && read.size <= packer.maxSize()) << row.what << ": " << read.size;
            EXPECT_LE(read.neonSize, 30u) << row.what;
            EXPECT_TRUE(point.position().x >= -416 && point.position().x <= 320 + 416) << row.what;
            EXPECT_TRUE(point.position().y >= -416 && point.position().y <= 416 + 416) << row.what;
        }
    }
}

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
