#pragma once

#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"

#include <QImage>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One row of the pattern table: the picture a pattern brush type stamps with,
// its stamp spacing and the record's initial alpha.
struct BrushInfo {
    int type;
    const char* patternName;
    int space;
    int alpha;
};

// The table row of a pattern brush type, or nothing when the type has none.
std::optional<BrushInfo> getBrushInfo(int type);

// Fills a w × h square of the picture with colour dots whose hues lie a little
// above the colour's, the same dots for the same seed. Reseeds platform::rand().
void fillRandomColor(QImage& picture, int width, int height, const platform::Color& color, uint32_t seed);

using PatternArray = std::vector<platform::Image>;

// Makes the coloured stamp images of the pattern brushes and keeps the last one
// made, so strokes of the same type, size and colour share it. One per painting,
// shared with its layers and brushes.
class PatternManager final {
public:
    PatternManager() = default;
    PatternManager(const PatternManager&) = delete;
    PatternManager& operator=(const PatternManager&) = delete;

    // One stamp image of the type's picture in `size` × `size` points of the
    // colour. The seed only matters for the colour dots, and is not part of the
    // cache key: a repeat of type, size and colour returns the cached array.
    std::shared_ptr<const PatternArray> getPatternArrayBrushWithType(int type, int size, const platform::Color& color,
        uint32_t randSeed);
    // The greyscale picture of the type (dark = paint), or a null image.
    QImage loadPatternBrushWithType(int type, int size);
    static std::optional<std::string> patternNameOfType(int type);
    // The picture used as a mask over a square of the colour (dots for type 64).
    platform::Image createBrushPatternImageWithMask(const QImage& mask, int type, int size,
        const platform::Color& color, uint32_t seed);
    // The image redrawn into a 32-bit premultiplied bitmap; null without memory.
    static std::optional<QImage> convertImageFormat(const QImage& image);
    bool isSameBrushColor(const platform::Color& color) const;

    int brushType() const { return m_brushType; }
    int brushSize() const { return m_brushSize; }
    const std::shared_ptr<const PatternArray>& currentBrushPatternArray() const { return m_currentBrushPatternArray; }

private:
    int m_brushType { 0 };
    int m_brushSize { 0 };
    std::optional<platform::Color> m_brushColor;
    std::shared_ptr<const PatternArray> m_currentBrushPatternArray;
    // Decoded pictures by file name, so a new stroke does not decode a PNG.
    std::map<std::string, QImage> m_pictures;
};
