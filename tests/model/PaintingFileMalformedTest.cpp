#include "Classes/model/PaintingFile.h"
#include "Classes/model/StrokeFile.h"
#include "PaintingFileTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Offsets in the sample file: the header, the layer block, its first stroke (a pen stroke).
constexpr size_t widthOffset = 4;
constexpr size_t heightOffset = 8;
constexpr size_t layersOffset = 12;
constexpr size_t strokeCountOffset = 80;
constexpr size_t firstStrokeOffset = 84;

const std::vector<uint8_t>& sampleFile()
{
    static const std::vector<uint8_t> bytes = encodeStrokeFile(*makeSamplePainting());
    return bytes;
}

template <typename T>
std::vector<uint8_t> with(size_t offset, T value, std::vector<uint8_t> bytes = sampleFile())
{
    std::memcpy(bytes.data() + offset, &value, sizeof(T));
    return bytes;
}

struct Malformed {
    const char* what;
    std::vector<uint8_t> bytes;
};

std::vector<Malformed> malformedFiles()
{
    const auto& file = sampleFile();
    uint16_t penLength;
    std::memcpy(&penLength, file.data() + firstStrokeOffset + 2, 2);
    std::vector<uint8_t> headerOnly(file.begin(), file.begin() + StrokeFileHeader::byteSize);
    std::vector<uint8_t> twoLayersOneBlock = with<int32_t>(layersOffset, 2);

    return {
        { "empty", {} },
        { "shorter than the header", std::vector<uint8_t>(file.begin(), file.begin() + 75) },
        { "header without its layer", headerOnly },
        { "zero layers", with<int32_t>(layersOffset, 0) },
        { "negative layers", with<int32_t>(layersOffset, -1) },
        { "more layers than bytes", with<int32_t>(layersOffset, 0x7fffffff) },
        { "two layers, one block", twoLayersOneBlock },
        { "zero width", with<int32_t>(widthOffset, 0) },
        { "negative width", with<int32_t>(widthOffset, -320) },
        { "negative height", with<int32_t>(heightOffset, -1) },
        { "absurd width", with<int32_t>(widthOffset, 16385) },
        { "absurd height", with<int32_t>(heightOffset, 70000) },
        { "huge canvases in many layers", with<int32_t>(heightOffset, 16384, with<int32_t>(widthOffset, 16384, twoLayersOneBlock)) },
        { "negative stroke count", with<int32_t>(strokeCountOffset, -1) },
        { "stroke count past the end", with<int32_t>(strokeCountOffset, 0x7fffffff) },
        { "one stroke more than written", with<int32_t>(strokeCountOffset, 5) },
        { "point count 65535", with<uint16_t>(firstStrokeOffset, 65535) },
        { "body length 65535", with<uint16_t>(firstStrokeOffset + 2, 65535) },
        { "both 65535", with<uint16_t>(firstStrokeOffset + 2, 65535, with<uint16_t>(firstStrokeOffset, 65535)) },
        { "stroke without points", with<uint16_t>(firstStrokeOffset + 2, 0, with<uint16_t>(firstStrokeOffset, 0)) },
        { "body shorter than a first point", with<uint16_t>(firstStrokeOffset + 2, 27) },
        { "length too short for the count", with<uint16_t>(firstStrokeOffset + 2, static_cast<uint16_t>(penLength - 8)) },
        { "length too long for the count", with<uint16_t>(firstStrokeOffset + 2, static_cast<uint16_t>(penLength + 4)) },
        { "type whose points carry no data", with<uint8_t>(firstStrokeOffset + 4 + 4, 37) },
        { "type whose points carry more data", with<uint8_t>(firstStrokeOffset + 4 + 4, 11) },
    };
}

}

TEST(StrokeFileMalformed, SampleFileItselfIsAccepted)
{
    EXPECT_TRUE(decodeStrokeFile(sampleFile()));
    // The largest side accepted, without allocating anything for it.
    EXPECT_TRUE(decodeStrokeFile(with<int32_t>(widthOffset, 16384, with<int32_t>(heightOffset, 1))));
}

TEST(StrokeFileMalformed, EveryTableEntryIsRejected)
{
    for (const auto& entry : malformedFiles())
        EXPECT_FALSE(decodeStrokeFile(entry.bytes)) << entry.what;
}

TEST(StrokeFileMalformed, EveryTruncationOfARealFileIsRejected)
{
    const auto& file = sampleFile();
    for (size_t length = 0; length < file.size(); ++length) {
        // A copy of exactly that length, so that a sanitizer sees any read past it.
        std::vector<uint8_t> truncated(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(decodeStrokeFile(truncated)) << "truncated to " << length << " of " << file.size();
    }
}

TEST(StrokeFileMalformed, DamagedFilesOnDiskOpenNoPaintingAndLeaveItUnchanged)
{
    ScopedDocuments documents;
    ASSERT_TRUE(getPaintingDirectoryPath());
    EXPECT_FALSE(Painting::initWithContentsOfFile("missing"));

    // Pictures alone are not a painting.
    auto painting = makeSamplePainting();
    ASSERT_TRUE(storePainting("pictures", *painting));
    QFile::remove(documents.file("pictures.stk"));
    EXPECT_FALSE(Painting::initWithContentsOfFile("pictures"));

    for (const auto& entry : malformedFiles()) {
        ASSERT_TRUE(writeBytes(documents.file("damaged.stk"), entry.bytes));
        EXPECT_FALSE(Painting::initWithContentsOfFile("damaged")) << entry.what;
        Painting target({ 10, 10 });
        EXPECT_FALSE(loadStrokeFromFile(documents.file("damaged.stk"), target)) << entry.what;
        EXPECT_EQ(target.layers(), 0) << entry.what;
        EXPECT_EQ(target.width(), 10) << entry.what;
    }
}
