#include "Classes/colorpicker/HSVColor.h"

#include <gtest/gtest.h>

using platform::Color;

// The brushes' hue is 60 × (difference of the other two) plus 0, 120 or 240,
// never divided by the component range, and their saturation is max − min,
// never divided by max. Only fully saturated colours get textbook values.
TEST(HSVColorTest, HueAndSaturationAreTheBrushesOwnNotTheTextbooks)
{
    const struct {
        float r, g, b;
        double hueDegrees, saturation;
    } cases[] = {
        { 0.5f, 0.4f, 0.2f, 12, 0.3 }, // textbook: 40 degrees, saturation 0.6
        { 0.2f, 0.5f, 0.3f, 126, 0.3 },
        { 0.1f, 0.4f, 0.6f, 222, 0.5 },
        { 0.6f, 0.1f, 0.3f, 348, 0.5 }, // red largest with g < b wraps past 360
        { 0.8f, 0.8f, 0.2f, 36, 0.6 }, // ties: red wins over green...
        { 0.2f, 0.8f, 0.8f, 156, 0.6 }, // ...and green over blue
        { 0.5f, 0.5f, 0.5f, 0, 0 },
        { 1, 0, 1, 300, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.r << ", " << c.g << ", " << c.b);
        EXPECT_NEAR(getHueOfColor(Color::rgba(c.r, c.g, c.b)), c.hueDegrees / 360, 1e-6);
        EXPECT_NEAR(getSaturationOfColor(Color::rgba(c.r, c.g, c.b, 0.1f)), c.saturation, 1e-6);
    }
    // The colour record builds its colour through the same hue, saturation and value.
    const Color pale = HSVColor(0.5f, 0.25f, 0.8f, 0.5f).color();
    EXPECT_NEAR(pale.red, 0.6f, 1e-6);
    EXPECT_NEAR(pale.green, 0.8f, 1e-6);
    EXPECT_NEAR(pale.blue, 0.8f, 1e-6);
    EXPECT_EQ(pale.alpha, 0.5f);
}
