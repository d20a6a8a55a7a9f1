#include "Classes/gallery/ImageUtility.h"

#include "Classes/gallery/Utility.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/Device.h"

#include <numbers>

using platform::Color;
using platform::Image;
using platform::ImageContext;
using platform::Rect;

std::optional<Image> cropImage(const Image& image, float width, float height, int borderWidth,
    const Color& borderColor, bool fill)
{
    if (image.isNull())
        return std::nullopt;

    const float ratio = height / width;
    const float imageWidth = image.size().width;
    const float imageHeight = image.size().height;
    const float imageRatio = imageHeight / imageWidth;
    const bool turned = (ratio > 1 && imageRatio < 1) || (ratio < 1 && imageRatio > 1);
    const float effectiveWidth = turned ? imageHeight : imageWidth;
    const float effectiveHeight = turned ? imageWidth : imageHeight;

    const float effectiveRatio = effectiveHeight / effectiveWidth;
    float scale;
    if (!fill)
        scale = ratio < effectiveRatio ? height / effectiveHeight : width / effectiveWidth;
    else
        scale = ratio < effectiveRatio ? width / effectiveWidth : height / effectiveHeight;

    const float drawnWidth = effectiveWidth * scale;
    const float drawnHeight = effectiveHeight * scale;
    const float x = (width - drawnWidth) * 0.5f;
    const float y = (height - drawnHeight) * 0.5f;

    ImageContext context({ width, height }, false, platform::Device::mainScreenScale());
    context.setFillColor(Color::rgba(0.5f, 0.5f, 0.5f, 1));
    context.fillRect(Rect(0, 0, width, height));

    context.saveGState();
    Rect target;
    if (turned) {
        // A quarter turn counter-clockwise; the rectangle is chosen so that the
        // turned picture lands on (x, y, drawnWidth, drawnHeight).
        context.rotateCTM(static_cast<float>(-std::numbers::pi / 2));
        target = Rect(-(y + drawnHeight), x, drawnHeight, drawnWidth).integral();
    } else {
        target = Rect(x, y, drawnWidth, drawnHeight).integral();
    }
    if (isPad())
        context.setShadow({ 0, 0 }, 3);
    context.drawImageTopLeft(target, image);
    context.restoreGState();

    if (borderWidth > 0) {
        context.setStrokeColor(borderColor);
        context.setLineWidth(static_cast<float>(borderWidth));
        context.strokeRect(Rect(0, 0, width, height));
    }
    return context.image();
}
