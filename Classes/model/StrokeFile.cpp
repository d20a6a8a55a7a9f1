#include "Classes/model/StrokeFile.h"

#include "Classes/brushes/Brush.h"
#include "Classes/model/Layer.h"
#include "Classes/model/Painting.h"

#include <algorithm>

namespace {

constexpr size_t firstPointSize = 4 + brush_meta::byteSize;

template <typename T>
void append(std::vector<uint8_t>& file, T value)
{
    uint8_t bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    file.insert(file.end(), bytes, bytes + sizeof(T));
}

size_t metaPackLength(int brushType)
{
    return static_cast<size_t>(Brush::packingBrush(brushType).getBrushMetaPackLength());
}

// Writes points [begin, end) as one file stroke whose first point carries its
// full record.
void appendFileStroke(std::vector<uint8_t>& file, const std::vector<StrokePoint>& points, size_t begin, size_t end,
    const Brush& packer)
{
    const size_t count = end - begin;
    const size_t length = firstPointSize + (count - 1) * (4 + static_cast<size_t>(packer.getBrushMetaPackLength()));
    append(file, static_cast<uint16_t>(count));
    append(file, static_cast<uint16_t>(length));
    const size_t bodyStart = file.size();
    Stroke::archiveStrokePoint(file, points[begin]);
    for (size_t i = begin + 1; i < end; ++i) {
        append(file, points[i].position());
        std::vector<uint8_t> meta = packer.packBrushMetaData(points[i].brushData());
        file.insert(file.end(), meta.begin(), meta.end());
    }
    // The header promised `length` bytes; a packing hook that disagrees with
    // its own length must not shift every later stroke.
    file.resize(bodyStart + length, 0);
}

}

namespace strokefile {

int maxPointsPerFileStroke(int brushType)
{
    const size_t byLength = 1 + (maxFieldValue - firstPointSize) / (4 + metaPackLength(brushType));
    return static_cast<int>(std::min(byLength, maxFieldValue));
}

bool boundRecords(Stroke& stroke, int32_t width, int32_t height)
{
    const auto& points = stroke.strokePoints();
    if (points.empty())
        return false;
    const Brush& brush = Brush::packingBrush(stroke.getBrushType());
    // A type without a brush draws nothing, and its size is never used.
    const bool hasSizeRange = brush.maxSize() > 0;
    const int32_t margin = paintinglimits::positionMargin(width, height);
    auto bounded = [&](const StrokePoint& point) {
        StrokePoint result = point;
        brush_meta record = point.brushData();
        if (hasSizeRange)
            record.size = brush.clampSize(record.size);
        record.neonSize = std::min<uint32_t>(record.neonSize, paintinglimits::maxNeonSize);
        result.setBrushData(record);
        __packedPoint position = point.position();
        position.x = static_cast<int16_t>(std::clamp<int32_t>(position.x, -margin, width + margin));
        position.y = static_cast<int16_t>(std::clamp<int32_t>(position.y, -margin, height + margin));
        result.setPosition(position);
        return result;
    };
    auto changes = [&](const StrokePoint& point) {
        const StrokePoint result = bounded(point);
        return !(result.position() == point.position() && result.brushData() == point.brushData());
    };
    if (std::none_of(points.begin(), points.end(), changes))
        return false;
    // The stroke's points are rebuilt through their packed form, exactly as
    // they are read, so that every later point keeps what it shares with
    // the first.
    std::vector<StrokePoint> fixed;
    fixed.reserve(points.size());
    for (const StrokePoint& point : points)
        fixed.push_back(bounded(point));
    std::vector<uint8_t> packed;
    Stroke::archiveStrokePoint(packed, fixed.front());
    for (size_t i = 1; i < fixed.size(); ++i) {
        append(packed, fixed[i].position());
        std::vector<uint8_t> meta = brush.packBrushMetaData(fixed[i].brushData());
        packed.insert(packed.end(), meta.begin(), meta.end());
    }
    stroke.unpackStrokePoints(packed, static_cast<int>(fixed.size()));
    return true;
}

int fileStrokeCount(const Stroke& stroke)
{
    const int points = stroke.getStrokePointsNumber();
    if (points == 0)
        return 0;
    const int perStroke = maxPointsPerFileStroke(stroke.getBrushType());
    return (points + perStroke - 1) / perStroke;
}

}

StrokeFileHeader makeStrokeFileHeader(const Painting& painting)
{
    StrokeFileHeader header;
    header.width = painting.width();
    header.height = painting.height();
    header.layers = static_cast<int32_t>(painting.layerArray().size());
    header.backgroundKind = painting.backgroundImage() ? StrokeFileHeader::backgroundKindImage
                                                       : StrokeFileHeader::backgroundKindColor;
    // Kept even under a background image, so that the colour survives a reopening.
    header.backgroundColor = painting.backgroundColor();
    return header;
}

void appendStrokeFileHeader(std::vector<uint8_t>& file, const StrokeFileHeader& header)
{
    const size_t start = file.size();
    append(file, header.version);
    append(file, header.width);
    append(file, header.height);
    append(file, header.layers);
    append(file, header.backgroundKind);
    append(file, header.backgroundColor.red);
    append(file, header.backgroundColor.green);
    append(file, header.backgroundColor.blue);
    append(file, header.backgroundColor.alpha);
    file.resize(start + StrokeFileHeader::byteSize, 0);
}

void archiveStroke(std::vector<uint8_t>& file, const Stroke& stroke)
{
    const auto& points = stroke.strokePoints();
    if (points.empty())
        return;
    const Brush& packer = Brush::packingBrush(stroke.getBrushType());
    const size_t perStroke = static_cast<size_t>(strokefile::maxPointsPerFileStroke(stroke.getBrushType()));
    for (size_t begin = 0; begin < points.size(); begin += perStroke)
        appendFileStroke(file, points, begin, std::min(points.size(), begin + perStroke), packer);
}

void appendLayerBlock(std::vector<uint8_t>& file, std::span<const std::unique_ptr<Stroke>> strokes)
{
    int32_t count = 0;
    for (const auto& stroke : strokes)
        count += strokefile::fileStrokeCount(*stroke);
    append(file, int32_t { 0 });
    append(file, count);
    for (const auto& stroke : strokes)
        archiveStroke(file, *stroke);
}

void storeLayer(std::vector<uint8_t>& file, const Layer& layer)
{
    appendLayerBlock(file, layer.strokeList());
}

std::vector<uint8_t> encodeStrokeFile(const Painting& painting)
{
    std::vector<uint8_t> file;
    size_t size = StrokeFileHeader::byteSize;
    for (const auto& layer : painting.layerArray())
        for (const auto& stroke : layer->strokeList())
            size += static_cast<size_t>(stroke->getPackStrokeDataLength()) + strokefile::layerHeaderSize;
    file.reserve(size);
    appendStrokeFileHeader(file, makeStrokeFileHeader(painting));
    for (const auto& layer : painting.layerArray())
        storeLayer(file, *layer);
    return file;
}

bool loadStroke(ByteReader& file, Stroke& stroke, const StrokeFileHeader& header)
{
    auto count = file.readUInt16();
    auto length = file.readUInt16();
    if (!count || !length || *count == 0 || *length < firstPointSize)
        return false;
    auto body = file.take(*length);
    if (!body)
        return false;
    // The type is the record's first byte, right after the first position.
    const int type = (*body)[4];
    if (Stroke::packedLength(type, *count) != *length)
        return false;
    if (!stroke.unpackStrokePoints(*body, *count))
        return false;
    strokefile::boundRecords(stroke, header.width, header.height);
    return true;
}

bool loadLayerFromFile(ByteReader& file, StrokeFileLayer& strokes, const StrokeFileHeader& header)
{
    auto reserved = file.readInt32();
    auto count = file.readInt32();
    if (!reserved || !count || *count < 0)
        return false;
    // Every stroke takes at least its header and a first point, so a count the
    // rest of the file cannot hold is rejected before anything is allocated.
    if (static_cast<size_t>(*count) > file.remaining() / (strokefile::strokeHeaderSize + firstPointSize))
        return false;
    strokes.clear();
    strokes.reserve(static_cast<size_t>(*count));
    for (int32_t i = 0; i < *count; ++i) {
        auto stroke = Stroke::create();
        if (!loadStroke(file, *stroke, header))
            return false;
        strokes.push_back(std::move(stroke));
    }
    return true;
}

std::optional<StrokeFileContents> decodeStrokeFile(std::span<const uint8_t> data)
{
    ByteReader file(data.first(std::min(data.size(), paintinglimits::maxStrokeFileBytes)));
    return decodeStrokeFile(file);
}

std::optional<StrokeFileContents> decodeStrokeFile(ByteReader& file)
{
    if (file.remaining() < StrokeFileHeader::byteSize)
        return std::nullopt;
    StrokeFileContents contents;
    StrokeFileHeader& header = contents.header;
    // The length was checked: none of these reads can fail.
    header.version = *file.readInt32();
    header.width = *file.readInt32();
    header.height = *file.readInt32();
    header.layers = *file.readInt32();
    header.backgroundKind = *file.readInt32();
    header.backgroundColor.red = *file.readFloat();
    header.backgroundColor.green = *file.readFloat();
    header.backgroundColor.blue = *file.readFloat();
    header.backgroundColor.alpha = *file.readFloat();
    file.take(StrokeFileHeader::byteSize - file.offset());

    using strokefile::maxSide;
    if (header.width <= 0 || header.height <= 0 || header.width > maxSide || header.height > maxSide)
        return std::nullopt;
    if (header.layers <= 0 || header.layers > paintinglimits::maxLayers
        || static_cast<size_t>(header.layers) > file.remaining() / strokefile::layerHeaderSize)
        return std::nullopt;
    const int64_t area = int64_t { header.width } * header.height * header.layers;
    if (area > paintinglimits::maxTotalLayerArea)
        return std::nullopt;

    contents.layers.resize(static_cast<size_t>(header.layers));
    for (auto& layer : contents.layers)
        if (!loadLayerFromFile(file, layer, header))
            return std::nullopt;
    return contents;
}
