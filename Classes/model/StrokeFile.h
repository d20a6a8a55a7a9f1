#pragma once

#include "Classes/model/ByteReader.h"
#include "Classes/model/PaintingLimits.h"
#include "Classes/model/Stroke.h"
#include "platform/graphics/Color.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class Layer;
class Painting;

// The stroke file's bytes: a 76-byte header, then one block per layer with
// its strokes, little-endian throughout. The functions here only turn
// paintings into bytes and bytes into strokes; PaintingFile does the files.

struct StrokeFileHeader {
    static constexpr size_t byteSize = 76;
    static constexpr int32_t backgroundKindImage = 0;
    static constexpr int32_t backgroundKindColor = 1;

    int32_t version { 1 };
    int32_t width { 0 };
    int32_t height { 0 };
    int32_t layers { 0 };
    int32_t backgroundKind { backgroundKindColor };
    platform::Color backgroundColor;
};

// The strokes of one layer block, oldest first.
using StrokeFileLayer = std::vector<std::unique_ptr<Stroke>>;

struct StrokeFileContents {
    StrokeFileHeader header;
    std::vector<StrokeFileLayer> layers;
};

namespace strokefile {

// Sides, layers and lengths above the painting limits are taken for a damaged file.
constexpr int32_t maxSide = paintinglimits::maxSide;
constexpr size_t layerHeaderSize = 8;
constexpr size_t strokeHeaderSize = 4;
// The stroke header holds the point count and the body length in 16 bits each.
constexpr size_t maxFieldValue = 65535;

// How many points of a stroke of this brush type fit in one file stroke.
int maxPointsPerFileStroke(int brushType);
// How many file strokes the stroke is written as: longer strokes are split,
// every part starting with its first point's full record; none when empty.
int fileStrokeCount(const Stroke& stroke);

// Brings a stroke read from a file into what live drawing on a canvas of
// that size can produce: every size within its brush's range, the glow
// within the neon brushes' widest, every position at most one canvas side
// outside the canvas. A stroke drawn live is left exactly as it was.
// Whether anything had to change.
bool boundRecords(Stroke& stroke, int32_t width, int32_t height);

}

// Writing. The header of the painting as it would be stored.
StrokeFileHeader makeStrokeFileHeader(const Painting& painting);
void appendStrokeFileHeader(std::vector<uint8_t>& file, const StrokeFileHeader& header);
// One layer block: reserved 0, the number of file strokes, the strokes.
void appendLayerBlock(std::vector<uint8_t>& file, std::span<const std::unique_ptr<Stroke>> strokes);
void storeLayer(std::vector<uint8_t>& file, const Layer& layer);
// Appends the stroke as one file stroke, or several when it outgrows the
// 16-bit count or length; a stroke without points writes nothing.
void archiveStroke(std::vector<uint8_t>& file, const Stroke& stroke);
// The whole stroke file of the painting.
std::vector<uint8_t> encodeStrokeFile(const Painting& painting);

// Reading. Each returns false, having consumed an unspecified part, when the
// bytes are not a well-formed piece of a stroke file. The strokes read come
// back with their records bounded for a canvas of the header's size.
bool loadStroke(ByteReader& file, Stroke& stroke, const StrokeFileHeader& header);
bool loadLayerFromFile(ByteReader& file, StrokeFileLayer& strokes, const StrokeFileHeader& header);
// Everything the bytes hold, or nothing when they are not a stroke file this
// program could have written: too short, a count or length running past the
// end, a body length that disagrees with its point count and brush type, a
// side that is not positive or larger than maxSide, no layer or more layers
// than the painting limits allow. Bytes after the last stroke are never
// read, nor anything past maxStrokeFileBytes. Memory stays within a small
// multiple of the bytes read.
std::optional<StrokeFileContents> decodeStrokeFile(ByteReader& file);
std::optional<StrokeFileContents> decodeStrokeFile(std::span<const uint8_t> data);
