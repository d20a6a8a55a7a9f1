#include "Classes/gallery/ImageUtility.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <QImage>
#include <vector>

using platform::Color;
using platform::DeviceProfile;
using platform::Image;

namespace {

const QColor red(255, 0, 0), green(0, 255, 0), blue(0, 0, 255), yellow(255, 255, 0);
const QColor grey(128, 128, 128), white(255, 255, 255);
const QColor shaded(112, 112, 112); // the grey band under the tablet's shadow

// Red top-left, green top-right, blue bottom-left, yellow bottom-right; or,
// banded, blue top and bottom quarters around a red middle.
Image picture(int width, int height, bool banded = false)
{
    QImage pixels(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.setPixelColor(x, y, banded ? (y < height / 4 || y >= height * 3 / 4 ? blue : red)
                    : (y < height / 2 ? (x < width / 2 ? red : green) : (x < width / 2 ? blue : yellow)));
    return Image(pixels);
}

struct Probe {
    int x, y;
    QColor colour;
};

}

TEST(CropImage, PlacesTurnsFramesAndShadesThePictureInTheTarget)
{
    const struct {
        const char* name;
        DeviceProfile device;
        Image source;
        int width, height;
        float border;
        bool fill;
        int scale;
        std::vector<Probe> probes;
    } cases[] = {
        // Turned a quarter counter-clockwise: the top edge runs up the left side.
        { "portrait into landscape", DeviceProfile::phone(), picture(320, 480), 480, 320, 0, false, 1,
            { { 5, 315, red }, { 5, 5, green }, { 475, 315, blue }, { 475, 5, yellow }, { 0, 0, green }, { 479, 319, blue } } },
        { "fit between grey bands", DeviceProfile::phone(), picture(100, 100), 200, 100, 0, false, 1,
            { { 49, 50, grey }, { 51, 2, red }, { 148, 2, green }, { 51, 97, blue }, { 148, 97, yellow }, { 150, 50, grey } } },
        // Drawn 200 × 200 at y = −50: only the red middle half shows.
        { "fill cuts top and bottom", DeviceProfile::phone(), picture(100, 100, true), 200, 100, 0, true, 1,
            { { 0, 1, red }, { 100, 50, red }, { 199, 98, red } } },
        // The line is centred on the edge, so half of it is inside.
        { "border", DeviceProfile::phone(), picture(100, 100), 100, 100, 6, false, 1,
            { { 1, 50, white }, { 50, 98, white }, { 5, 20, red } } },
        { "no border", DeviceProfile::phone(), picture(100, 100), 100, 100, 0, false, 1, { { 0, 20, red } } },
        { "tablet shadow", DeviceProfile::tablet(), picture(100, 100), 200, 100, 0, false, 1, { { 49, 50, shaded } } },
        { "screen scale", DeviceProfile::retinaPhone(), picture(50, 50), 75, 75, 0, false, 2,
            { { 2, 2, red }, { 147, 2, green }, { 2, 147, blue }, { 147, 147, yellow } } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScopedDeviceProfile device(c.device);
        auto result = cropImage(c.source, c.width, c.height, c.border, Color::white(), c.fill);
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(result->size(), (platform::Size { float(c.width), float(c.height) }));
        ASSERT_EQ(result->pixelWidth(), c.width * c.scale);
        ASSERT_EQ(result->pixelHeight(), c.height * c.scale);
        for (const Probe& probe : c.probes) {
            const QColor actual = result->qimage().pixelColor(probe.x, probe.y);
            SCOPED_TRACE(testing::Message() << probe.x << "," << probe.y << " is " << qPrintable(actual.name(QColor::HexArgb)));
            for (int channel : { actual.red() - probe.colour.red(), actual.green() - probe.colour.green(),
                     actual.blue() - probe.colour.blue(), actual.alpha() - probe.colour.alpha() })
                EXPECT_LE(std::abs(channel), 3);
        }
    }
    EXPECT_FALSE(cropImage(Image(), 100, 100, 0, Color::black(), false).has_value());
}
