#include "Classes/model/PaintingFile.h"
#include "Classes/model/StrokeFile.h"
#include "PaintingFileTestSupport.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

using platform::Point;

namespace {

// Little-endian bytes written field by field, the way the expected files are spelled out.
struct Bytes {
    std::vector<uint8_t> data;
    template <typename T>
    Bytes& add(T value)
    {
        uint8_t raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));
        data.insert(data.end(), raw, raw + sizeof(T));
        return *this;
    }
    Bytes& zeros(size_t count)
    {
        data.insert(data.end(), count, 0);
        return *this;
    }
    Bytes& record(const brush_meta& meta)
    {
        uint8_t raw[24];
        meta.toBytes(raw);
        data.insert(data.end(), raw, raw + 24);
        return *this;
    }
};

// A stroke of `count` points of the type whose size grows point by point.
std::unique_ptr<Stroke> syntheticStroke(int type, int count)
{
    brush_meta record = brush_meta::zero();
    record.type = type;
    record.mirrixMode = 4;
    record.size = 5;
    record.red = 200;
    std::vector<uint8_t> packed;
    Stroke::archiveStrokePoint(packed, StrokePoint({ 1, 2 }, record));
    const Brush& packer = Brush::packingBrush(type);
    for (int i = 1; i < count; ++i) {
        __packedPoint position { static_cast<int16_t>(i % 3000), static_cast<int16_t>(i / 3000) };
        auto* p = reinterpret_cast<const uint8_t*>(&position);
        packed.insert(packed.end(), p, p + 4);
        record.size = 5 + static_cast<float>(i % 50);
        record.red = static_cast<uint8_t>(i);
        auto meta = packer.packBrushMetaData(record);
        packed.insert(packed.end(), meta.begin(), meta.end());
    }
    auto stroke = Stroke::create();
    EXPECT_TRUE(stroke->unpackStrokePoints(packed, count));
    return stroke;
}

std::vector<uint8_t> fileOfOneLayer(std::vector<std::unique_ptr<Stroke>> strokes)
{
    Painting painting({ 100, 100 });
    auto layer = Layer::createWithSize({ 100, 100 });
    for (auto& stroke : strokes)
        layer->addStroke(std::move(stroke));
    painting.addLayer(std::move(layer));
    return encodeStrokeFile(painting);
}

}

TEST(StrokeFileFormat, TwoPointPenStrokeMakesTheDocumented124ByteFile)
{
    auto painting = makePainting(320, 416);
    drawStroke(*painting, 13, { { 10.9f, 20 }, { 50, 60.5f } });
    const auto& points = painting->activeLayer()->strokeList().front()->strokePoints();
    ASSERT_EQ(points.size(), 2u);

    Bytes expected;
    expected.add<int32_t>(1).add<int32_t>(320).add<int32_t>(416).add<int32_t>(1).add<int32_t>(1);
    expected.add(0.0f).add(0.0f).add(0.0f).add(1.0f).zeros(40);
    expected.add<int32_t>(0).add<int32_t>(1);
    expected.add<uint16_t>(2).add<uint16_t>(36);
    expected.add<int16_t>(10).add<int16_t>(20).record(points[0].brushData());
    expected.add<int16_t>(50).add<int16_t>(60).add(points[1].brushData().size);

    EXPECT_EQ(encodeStrokeFile(*painting), expected.data);
}

TEST(StrokeFileFormat, BackgroundPhotoIsKindZeroAndTheColourStillReadsBack)
{
    auto painting = makePainting(320, 416);
    painting->setBackgroundColor(platform::Color::rgba(0.25f, 0.5f, 0.75f, 1));
    QImage photo(320, 416, QImage::Format_RGB32);
    photo.fill(Qt::darkGreen);
    painting->setBackgroundImage(platform::Image(photo));
    drawStroke(*painting, 13, { { 10, 20 }, { 50, 60 } });

    auto bytes = encodeStrokeFile(*painting);
    int32_t kind;
    std::memcpy(&kind, bytes.data() + 16, 4);
    EXPECT_EQ(kind, 0);
    auto contents = decodeStrokeFile(bytes);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->header.backgroundColor, platform::Color::rgba(0.25f, 0.5f, 0.75f, 1));
}

TEST(StrokeFileFormat, EveryBrushKindReadsBackPointForPoint)
{
    auto painting = makeSamplePainting();
    auto bytes = encodeStrokeFile(*painting);
    auto contents = decodeStrokeFile(bytes);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->header.width, 320);
    EXPECT_EQ(contents->header.height, 416);
    ASSERT_EQ(contents->layers.size(), 1u);
    const auto& written = painting->activeLayer()->strokeList();
    const auto& read = contents->layers.front();
    ASSERT_EQ(read.size(), written.size());
    for (size_t s = 0; s < read.size(); ++s) {
        const auto& before = written[s]->strokePoints();
        const auto& after = read[s]->strokePoints();
        ASSERT_EQ(after.size(), before.size()) << "stroke " << s;
        const size_t metaLength = Brush::packingBrush(written[s]->getBrushType()).getBrushMetaPackLength();
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(after[i].position(), before[i].position()) << "stroke " << s << " point " << i;
            if (i == 0) {
                EXPECT_EQ(after[i].brushData(), before[i].brushData());
            }
            if (metaLength > 0) {
                EXPECT_EQ(after[i].brushData().size, before[i].brushData().size) << "stroke " << s << " point " << i;
            }
        }
    }
    // Written again, the strokes give the very same bytes.
    Painting copy({ 320, 416 });
    auto layer = Layer::createWithSize({ 320, 416 });
    for (auto& stroke : contents->layers.front())
        layer->addStroke(std::move(stroke));
    copy.addLayer(std::move(layer));
    EXPECT_EQ(encodeStrokeFile(copy), bytes);
}

TEST(StrokeFileFormat, TailOfALongerOlderFileIsIgnored)
{
    auto longer = encodeStrokeFile(*makeSamplePainting());
    auto painting = makePainting(320, 416);
    drawStroke(*painting, 13, { { 10, 20 }, { 50, 60 } });
    auto shorter = encodeStrokeFile(*painting);
    ASSERT_LT(shorter.size(), longer.size());
    std::vector<uint8_t> overwritten = longer;
    std::copy(shorter.begin(), shorter.end(), overwritten.begin());

    auto contents = decodeStrokeFile(overwritten);
    ASSERT_TRUE(contents);
    ASSERT_EQ(contents->layers.front().size(), 1u);
    EXPECT_EQ(contents->layers.front().front()->getStrokePointsNumber(), 2);
    EXPECT_EQ(contents->layers.front().front()->getBrushType(), 13);
}

TEST(StrokeFileLimits, LongStrokesSplitIntoFileStrokesThatEachStartWithTheirRecord)
{
    struct Case {
        int type;
        int perFileStroke;
    };
    // Pen and neon pen keep 4 bytes a point, rainbow 8, the others none.
    for (Case c : { Case { 13, 8189 }, Case { 24, 8189 }, Case { 11, 5459 }, Case { 17, 16377 } }) {
        SCOPED_TRACE(c.type);
        EXPECT_EQ(strokefile::maxPointsPerFileStroke(c.type), c.perFileStroke);
        EXPECT_EQ(strokefile::fileStrokeCount(*syntheticStroke(c.type, c.perFileStroke)), 1);
        EXPECT_EQ(strokefile::fileStrokeCount(*syntheticStroke(c.type, c.perFileStroke + 1)), 2);
    }

    const int total = 20000;
    auto stroke = syntheticStroke(13, total);
    std::vector<StrokePoint> original = stroke->strokePoints();
    std::vector<std::unique_ptr<Stroke>> strokes;
    strokes.push_back(std::move(stroke));
    auto bytes = fileOfOneLayer(std::move(strokes));

    // Stroke headers: 8189, 8189 and 3622 points, none wrapped.
    ByteReader reader(bytes);
    reader.take(StrokeFileHeader::byteSize + 4);
    EXPECT_EQ(reader.readInt32(), 3);
    for (int expected : { 8189, 8189, 3622 }) {
        auto count = reader.readUInt16();
        auto length = reader.readUInt16();
        ASSERT_TRUE(count && length);
        EXPECT_EQ(*count, expected);
        EXPECT_EQ(*length, 28 + (expected - 1) * 8);
        ASSERT_TRUE(reader.take(*length));
    }
    EXPECT_EQ(reader.remaining(), 0u);

    auto contents = decodeStrokeFile(bytes);
    ASSERT_TRUE(contents);
    const auto& parts = contents->layers.front();
    ASSERT_EQ(parts.size(), 3u);
    size_t index = 0;
    for (const auto& part : parts) {
        const auto& points = part->strokePoints();
        // The part's first point carries the full record of that point.
        EXPECT_EQ(points.front().brushData(), original[index].brushData());
        for (const auto& point : points) {
            ASSERT_LT(index, original.size());
            EXPECT_EQ(point.position(), original[index].position());
            EXPECT_EQ(point.brushData().size, original[index].brushData().size);
            ++index;
        }
    }
    EXPECT_EQ(index, original.size());
}

TEST(StrokeFileSkipRule, ReopenedPaintingSavedWithoutNewStrokeKeepsItsFile)
{
    ScopedDocuments documents;
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    auto painting = makeSamplePainting();
    ASSERT_TRUE(storePainting("first", *painting));
    const QString path = documents.file("first.stk");

    auto reopened = Painting::initWithContentsOfFile("first");
    ASSERT_TRUE(reopened);
    // A marker after the last stroke shows whether the file was written again.
    auto marked = readBytes(path);
    marked.push_back(0xAB);
    ASSERT_TRUE(writeBytes(path, marked));

    ASSERT_TRUE(storeStrokeToFile(path, *reopened));
    EXPECT_EQ(readBytes(path), marked);

    // Saved under another name, the stroke file is written all the same.
    ASSERT_TRUE(storePainting("second", *reopened));
    EXPECT_EQ(readBytes(documents.file("second.stk")), encodeStrokeFile(*painting));

    // One more stroke: the whole file is rewritten, with no stale tail.
    auto again = Painting::initWithContentsOfFile("first");
    ASSERT_TRUE(again);
    drawStroke(*again, 13, { { 5, 5 }, { 80, 80 } });
    ASSERT_TRUE(storeStrokeToFile(path, *again));
    auto rewritten = readBytes(path);
    EXPECT_EQ(rewritten, encodeStrokeFile(*again));
    auto contents = decodeStrokeFile(rewritten);
    ASSERT_TRUE(contents);
    EXPECT_EQ(contents->layers.front().size(), painting->activeLayer()->strokeList().size() + 1);
}

TEST(StrokeFileRead, FirstLayerWithoutStrokesOpensWithTheNewPaintingMirrorMode)
{
    ScopedDocuments documents;
    auto painting = makePainting(200, 100);
    painting->setMirrixMode(3);
    ASSERT_TRUE(storePainting("empty", *painting));
    auto reopened = Painting::initWithContentsOfFile("empty");
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->mirrixMode(), Painting::defaultMirrixMode);
    EXPECT_EQ(reopened->width(), 200);
    EXPECT_EQ(reopened->height(), 100);
    EXPECT_TRUE(reopened->isSaved());
    EXPECT_EQ(reopened->activeLayer()->getStrokeNumber(), 0);
}

TEST(StrokeFileRead, ReopenedPaintingTakesTheFirstStrokesMirrorModeAndItsSize)
{
    ScopedDocuments documents;
    auto painting = makePainting(321, 417);
    painting->setMirrixMode(4);
    drawStroke(*painting, 13, { { 10, 20 }, { 50, 60 } });
    painting->setMirrixMode(1);
    drawStroke(*painting, 13, { { 60, 20 }, { 90, 60 } });
    ASSERT_TRUE(storePainting("modes", *painting));
    auto reopened = Painting::initWithContentsOfFile("modes");
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->mirrixMode(), 4);
    EXPECT_EQ(reopened->brushType(), Painting::defaultBrushType);
    EXPECT_EQ(reopened->activeLayer()->indexOfFirstModifiedStroke(), 2);
    EXPECT_EQ(reopened->layers(), 1);
}

TEST(StrokeFileRead, ReopenedPaintingReplaysLikeTheOriginalAndTakesNewStrokes)
{
    ScopedDocuments documents;
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    auto painting = makeSamplePainting();
    ASSERT_TRUE(storePainting("replay", *painting));
    auto reopened = Painting::initWithContentsOfFile("replay");
    ASSERT_TRUE(reopened);

    auto replayed = [](Painting& p) {
        p.startPlayback();
        for (int step = 0; step < 1000 && !p.endOfPlayback(); ++step)
            p.playback();
        platform::ImageContext context({ 320, 416 }, false, 1);
        p.drawPaintingTo(context);
        p.stopPlayback();
        return context.image().qimage();
    };
    const QImage original = replayed(*painting);
    const QImage again = replayed(*reopened);
    EXPECT_TRUE(reopened->endOfPlayback() || !reopened->isMovieMode());
    EXPECT_EQ(original, again);

    drawStroke(*reopened, 13, { { 5, 5 }, { 80, 80 } });
    EXPECT_FALSE(reopened->isSaved());
    EXPECT_EQ(reopened->activeLayer()->getStrokeNumber(), 5);
    EXPECT_TRUE(reopened->undoStroke());
    EXPECT_FALSE(reopened->undoStroke());
}
