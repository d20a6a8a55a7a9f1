#include "Classes/brushes/PatternManager.h"

#include "Classes/colorpicker/HSVColor.h"
#include "platform/system/Random.h"

#include <QString>
#include <array>
#include <cstdio>

namespace {

// The two size columns of the original table are overridden by the brush's
// initialiser, so only the picture, spacing and initial alpha remain.
constexpr std::array<BrushInfo, 23> brushInfoList { {
    { 51, "mac_brush_1.png", 6, 255 },
    { 67, "brush_1.png", 3, 255 },
    { 68, "brush_2.png", 5, 255 },
    { 69, "brush_3.png", 6, 220 },
    { 70, "brush_4.png", 4, 200 },
    { 71, "brush_5.png", 6, 200 },
    { 72, "brush_6.png", 6, 255 },
    { 73, "brush_7.png", 6, 255 },
    { 74, "brush_8.png", 3, 255 },
    { 75, "brush_9.png", 5, 220 },
    { 76, "brush_10.png", 6, 200 },
    { 77, "brush_11.png", 4, 255 },
    { 78, "brush_12.png", 6, 255 },
    { 79, "brush_13.png", 3, 255 },
    { 80, "brush_14.png", 6, 200 },
    { 81, "brush_15.png", 6, 200 },
    { 82, "brush_16.png", 6, 200 },
    { 83, "brush_17.png", 6, 200 },
    { 84, "brush_18.png", 4, 255 },
    { 85, "brush_19.png", 3, 255 },
    { 64, "mac_brush_1.png", 3, 230 },
    { 66, "crayon_1.png", 4, 250 },
    { 101, "chalk_thin_1.png", 5, 255 },
} };

constexpr int colorDotsType = 64;

}

std::optional<BrushInfo> getBrushInfo(int type)
{
    for (const BrushInfo& info : brushInfoList) {
        if (info.type == type)
            return info;
    }
    return std::nullopt;
}

void fillRandomColor(QImage& picture, int width, int height, const platform::Color& color, uint32_t seed)
{
    platform::srand(seed);
    auto draw = [](float min, float max) {
        return min + (max - min) * static_cast<float>(platform::rand()) * 0x1p-31f;
    };
    float hue = getHueOfColor(color);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            float u1 = draw(0.0f, 0.1f);
            float u2 = draw(0.8f, 1.0f);
            float u3 = draw(0.6f, 1.0f);
            if (x < picture.width() && y < picture.height())
                picture.setPixelColor(x, y, platform::Color::hsba(hue + u1, u2, u3, 1.0f).toQColor());
        }
    }
}

std::optional<std::string> PatternManager::patternNameOfType(int type)
{
    std::optional<BrushInfo> info = getBrushInfo(type);
    if (!info)
        return std::nullopt;
    return std::string(info->patternName);
}

QImage PatternManager::loadPatternBrushWithType(int type, int)
{
    std::optional<std::string> name = patternNameOfType(type);
    if (!name)
        return QImage();
    auto found = m_pictures.find(*name);
    if (found != m_pictures.end())
        return found->second;
    QImage picture(QString::fromStdString(":/patterns/" + *name));
    if (!picture.isNull())
        picture = picture.convertToFormat(QImage::Format_Grayscale8);
    m_pictures.emplace(*name, picture);
    return picture;
}

bool PatternManager::isSameBrushColor(const platform::Color& color) const
{
    return m_brushColor && *m_brushColor == color;
}

std::shared_ptr<const PatternArray> PatternManager::getPatternArrayBrushWithType(int type, int size,
    const platform::Color& color, uint32_t randSeed)
{
    if (m_currentBrushPatternArray && m_brushType == type && m_brushSize == size && isSameBrushColor(color))
        return m_currentBrushPatternArray;

    QImage mask = loadPatternBrushWithType(type, size);
    auto array = std::make_shared<PatternArray>();
    array->push_back(createBrushPatternImageWithMask(mask, type, size, color, randSeed));
    m_currentBrushPatternArray = std::move(array);
    m_brushType = type;
    m_brushSize = size;
    m_brushColor = color;
    return m_currentBrushPatternArray;
}

platform::Image PatternManager::createBrushPatternImageWithMask(const QImage& mask, int type, int size,
    const platform::Color& color, uint32_t seed)
{
    if (size < 1 || mask.isNull())
        return platform::Image();
    QImage square(size, size, QImage::Format_ARGB32_Premultiplied);
    if (square.isNull()) {
        std::fputs("Memory not allocated!\n", stderr);
        return platform::Image();
    }
    if (type == colorDotsType)
        fillRandomColor(square, size, size, color, seed);
    else
        square.fill(color.toQColor());

    // Dark parts of the picture keep the colour, light parts become transparent.
    QImage coverage = mask.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                          .convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<QRgb*>(square.scanLine(y));
        const uchar* ink = coverage.constScanLine(y);
        for (int x = 0; x < size; ++x) {
            int keep = 255 - ink[x];
            QRgb p = row[x];
            auto scale = [keep](int channel) { return (channel * keep + 127) / 255; };
            row[x] = qRgba(scale(qRed(p)), scale(qGreen(p)), scale(qBlue(p)), scale(qAlpha(p)));
        }
    }

    std::optional<QImage> converted = convertImageFormat(square);
    if (!converted)
        return platform::Image();
    return platform::Image(*converted, 1.0f);
}

std::optional<QImage> PatternManager::convertImageFormat(const QImage& image)
{
    QImage converted = image.format() == QImage::Format_ARGB32_Premultiplied
        ? image
        : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (converted.isNull()) {
        std::fputs("Memory not allocated!\n", stderr);
        return std::nullopt;
    }
    return converted;
}
