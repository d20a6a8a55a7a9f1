#include "Classes/gallery/ImageUtility.h"
#include "platform/system/Device.h"

#include <gtest/gtest.h>

#include <QImage>

using platform::Color;
using platform::DeviceProfile;
using platform::Image;
using platform::ScopedDeviceProfile;

namespace {

const QColor red(255, 0, 0);
const QColor green(0, 255, 0);
const QColor blue(0, 0, 255);
const QColor yellow(255, 255, 0);

// A picture in four coloured quarters: red top-left, green top-right, blue
// bottom-left, yellow bottom-right.
Image quarters(int width, int height)
{
    QImage pixels(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool right = x >= width / 2;
            bool bottom = y >= height / 2;
            pixels.setPixelColor(x, y, bottom ? (right ? yellow : blue) : (right ? green : red));
        }
    }
    return Image(pixels);
}

bool near(const QColor& actual, const QColor& expected, int tolerance = 3)
{
    return std::abs(actual.red() - expected.red()) <= tolerance
        && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance
        && std::abs(actual.alpha() - expected.alpha()) <= tolerance;
}

QColor at(const Image& image, int x, int y)
{
    return image.qimage().pixelColor(x, y);
}

bool isGrey(const QColor& c)
{
    return near(c, QColor(128, 128, 128), 2);
}

}

TEST(CropImage, NoPictureGivesNothing)
{
    EXPECT_FALSE(cropImage(Image(), 100, 100, 0, Color::black(), false).has_value());
}

TEST(CropImage, PortraitIntoLandscapeTurnsAQuarterCounterClockwiseAndFillsExactly)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    auto result = cropImage(quarters(320, 480), 480, 320, 0, Color::black(), false);
    ASSERT_TRUE(result.has_value());
    ASSERT_EQ(result->pixelWidth(), 480);
    ASSERT_EQ(result->pixelHeight(), 320);
    // Turned left: the top edge runs up the left side, the left edge along the bottom.
    EXPECT_TRUE(near(at(*result, 5, 315), red));
    EXPECT_TRUE(near(at(*result, 5, 5), green));
    EXPECT_TRUE(near(at(*result, 475, 315), blue));
    EXPECT_TRUE(near(at(*result, 475, 5), yellow));
    for (int x : { 0, 479 }) {
        for (int y : { 0, 319 })
            EXPECT_FALSE(isGrey(at(*result, x, y))) << x << "," << y;
    }
}

TEST(CropImage, FitCentresTheWholePictureBetweenGreyBands)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    auto result = cropImage(quarters(100, 100), 200, 100, 0, Color::black(), false);
    ASSERT_TRUE(result.has_value());
    EXPECT_TRUE(isGrey(at(*result, 49, 50)));
    EXPECT_TRUE(near(at(*result, 51, 2), red));
    EXPECT_TRUE(near(at(*result, 148, 2), green));
    EXPECT_TRUE(near(at(*result, 51, 97), blue));
    EXPECT_TRUE(near(at(*result, 148, 97), yellow));
    EXPECT_TRUE(isGrey(at(*result, 150, 50)));
}

TEST(CropImage, FillCoversTheTargetAndCutsTopAndBottom)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    // Drawn 200 × 200 at y = −50: the middle half of the picture shows.
    QImage tall(100, 100, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            tall.setPixelColor(x, y, y < 25 || y >= 75 ? blue : red);
    auto result = cropImage(Image(tall), 200, 100, 0, Color::black(), true);
    ASSERT_TRUE(result.has_value());
    for (int y : { 1, 50, 98 }) {
        for (int x : { 0, 100, 199 })
            EXPECT_TRUE(near(at(*result, x, y), red)) << x << "," << y;
    }
}

TEST(CropImage, BorderIsStrokedOnlyWhenWiderThanZero)
{
    ScopedDeviceProfile device(DeviceProfile::phone());
    const QColor white(255, 255, 255);
    auto framed = cropImage(quarters(100, 100), 100, 100, 6, Color::white(), false);
    ASSERT_TRUE(framed.has_value());
    // The line is centred on the edge, so half of it is inside.
    EXPECT_TRUE(near(at(*framed, 1, 50), white));
    EXPECT_TRUE(near(at(*framed, 50, 98), white));
    EXPECT_TRUE(near(at(*framed, 5, 20), red));

    auto plain = cropImage(quarters(100, 100), 100, 100, 0, Color::white(), false);
    ASSERT_TRUE(plain.has_value());
    EXPECT_TRUE(near(at(*plain, 0, 20), red));
}

TEST(CropImage, TabletCastsAShadowIntoTheBandsAndPhoneDoesNot)
{
    auto bandNextToPicture = [] {
        auto result = cropImage(quarters(100, 100), 200, 100, 0, Color::black(), false);
        return at(*result, 49, 50);
    };
    {
        ScopedDeviceProfile device(DeviceProfile::phone());
        EXPECT_TRUE(isGrey(bandNextToPicture()));
    }
    {
        ScopedDeviceProfile device(DeviceProfile::tablet());
        QColor shaded = bandNextToPicture();
        EXPECT_LT(shaded.red(), 120);
        EXPECT_EQ(shaded.red(), shaded.blue());
    }
}

TEST(CropImage, ResultHasTheMainScreensScale)
{
    ScopedDeviceProfile device(DeviceProfile::retinaPhone());
    auto result = cropImage(quarters(50, 50), 75, 75, 0, Color::black(), false);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->scale(), 2.0f);
    EXPECT_EQ(result->pixelWidth(), 150);
    EXPECT_EQ(result->size(), (platform::Size { 75, 75 }));
}
