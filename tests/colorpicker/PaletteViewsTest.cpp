#include "Classes/colorpicker/ColorBrightnessPalleteView.h"
#include "Classes/colorpicker/ColorHSPalleteView.h"
#include "Classes/colorpicker/ColorIndicatorCircleView.h"
#include "Classes/colorpicker/ColorIndicatorPanelView.h"
#include "PickerTestSupport.h"

#include <QTest>
#include <cmath>

using platform::Color;
using platform::Point;

namespace {

// A parent with the palette and the bar placed away from its corner, so that
// frame-based results differ from bounds-based ones.
struct Palettes {
    QWidget parent;
    ColorHSPalleteView* palette { new ColorHSPalleteView(&parent) };
    ColorBrightnessPalleteView* bar { new ColorBrightnessPalleteView(&parent) };

    Palettes()
    {
        parent.resize(260, 260);
        palette->setGeometry(20, 16, 100, 50);
        bar->setGeometry(20, 188, 200, 32);
    }
};

}

TEST(PaletteMapping, HueAndSaturationFollowTheFingerPastThePalette)
{
    Palettes views;
    const struct {
        Point point;
        float hue, saturation;
    } cases[] = {
        { { 0, 0 }, 0, 0 },
        { { 50, 25 }, 0.5f, 0.5f },
        { { 100, 50 }, 1, 1 },
        { { -50, 100 }, -0.5f, 2 },
        { { 150, -25 }, 1.5f, -0.5f },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << ", " << c.point.y);
        float hue = -9, saturation = -9;
        views.palette->getHSAtPoint(c.point, hue, saturation);
        EXPECT_FLOAT_EQ(hue, c.hue);
        EXPECT_FLOAT_EQ(saturation, c.saturation);
        // The way back lands on the same point, in the parent's coordinates.
        const Point center = views.palette->getCenterOfHue(hue, saturation);
        EXPECT_FLOAT_EQ(center.x, 20 + c.point.x);
        EXPECT_FLOAT_EQ(center.y, 16 + c.point.y);
    }

    // A palette squeezed to nothing gives plain zeros, not a hue that is not a
    // number (which the colour conversion cannot take).
    views.palette->setGeometry(20, 16, 0, 0);
    float hue = -9, saturation = -9;
    views.palette->getHSAtPoint({ 3, 4 }, hue, saturation);
    EXPECT_EQ(hue, 0);
    EXPECT_EQ(saturation, 0);
}

TEST(PaletteMapping, BrightnessStopsAtTheEndsOfTheBar)
{
    Palettes views;
    const struct {
        float x, brightness;
    } cases[] = { { -10, 0 }, { 0, 0 }, { 50, 0.25f }, { 199, 0.995f }, { 200, 1 }, { 260, 1 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_FLOAT_EQ(views.bar->getBrightnessAtPoint({ c.x, 500 }), c.brightness);
    }
    const struct {
        float brightness, x;
    } centers[] = { { -0.5f, 20 }, { 0, 20 }, { 0.5f, 120 }, { 1, 220 }, { 3, 220 }, { NAN, 20 } };
    for (const auto& c : centers) {
        SCOPED_TRACE(c.brightness);
        EXPECT_EQ(views.bar->getCenterOfBrightness(c.brightness), (Point { c.x, 204 }));
    }

    views.bar->setGeometry(20, 188, 0, 32);
    EXPECT_EQ(views.bar->getBrightnessAtPoint({ 0, 0 }), 0);
    EXPECT_EQ(views.bar->getBrightnessAtPoint({ 5, 0 }), 1);
    EXPECT_EQ(views.bar->getBrightnessAtPoint({ -5, 0 }), 0);
}

TEST(PaletteDrawing, PaletteShowsEveryHueAndSaturationInAWhiteFrameAndIsPaintedOnlyWhenAsked)
{
    Palettes views;
    auto* indicator = new ColorIndicatorCircleView(&views.parent);
    indicator->setGeometry(0, 0, 30, 30);
    views.palette->setBrightness(0.8f);
    views.palette->initPallete();
    views.parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&views.parent));
    QTRY_COMPARE(views.palette->palettePaintCount(), 1);
    const QImage shown = shownImage(*views.palette);
    ASSERT_EQ(shown.size(), QSize(100, 50));
    // Each point has the colour of its own top-left corner.
    for (auto [x, y] : { std::pair { 10, 10 }, { 40, 20 }, { 75, 30 }, { 90, 40 } }) {
        EXPECT_TRUE(pixelIs(shown, x, y, Color::hsba(x / 100.0f, y / 50.0f, 0.8f)));
    }
    // Half of the 4-point white line lies inside the edge.
    for (auto [x, y] : { std::pair { 0, 25 }, { 1, 25 }, { 50, 0 }, { 98, 25 }, { 50, 49 } })
        EXPECT_TRUE(pixelIs(shown, x, y, Color::white()));

    // Moving and recolouring an indicator over the palette, and changing the
    // bar, shows the kept picture again but paints none of it.
    for (int step = 0; step < 5; ++step) {
        indicator->setCenter(views.palette->getCenterOfHue(step * 0.2f, 0.5f));
        indicator->setColor(Color::hsba(step * 0.2f, 0.5f, 1));
        views.bar->setHue(step * 0.2f, 0.5f);
        views.palette->repaint();
    }
    EXPECT_EQ(views.palette->palettePaintCount(), 1);

    views.palette->setBrightness(0.5f);
    views.palette->initPallete();
    views.palette->repaint();
    EXPECT_EQ(views.palette->palettePaintCount(), 2);
    EXPECT_TRUE(pixelIs(shownImage(*views.palette), 40, 20, Color::hsba(0.4f, 0.4f, 0.5f)));
}

TEST(PaletteDrawing, BarRunsFromBlackToFullBrightnessOfItsColour)
{
    Palettes views;
    views.bar->setHue(0.3f, 0.8f);
    QImage shown = shownImage(*views.bar);
    for (int x : { 4, 100, 190 })
        EXPECT_TRUE(pixelIs(shown, x, 16, Color::hsba(0.3f, 0.8f, x / 199.0f)));
    EXPECT_TRUE(pixelIs(shown, 100, 0, Color::white()));
    EXPECT_TRUE(pixelIs(shown, 199, 16, Color::white()));

    // A new hue and saturation repaint the bar.
    views.bar->setHue(0.7f, 0.4f);
    shown = shownImage(*views.bar);
    EXPECT_TRUE(pixelIs(shown, 190, 16, Color::hsba(0.7f, 0.4f, 190 / 199.0f)));
}

TEST(PaletteDrawing, IndicatorsShowTheirColourInAWhiteRing)
{
    QWidget parent;
    parent.resize(100, 100);
    auto* circle = new ColorIndicatorCircleView(&parent);
    circle->setGeometry(10, 10, 30, 30);
    auto* swatch = new ColorIndicatorPanelView(&parent);
    swatch->setGeometry(50, 10, 40, 60);
    const Color teal = Color::rgba(0.1f, 0.6f, 0.55f);
    circle->setColor(teal);
    swatch->setColor(teal);

    // Circle: radius 13 of white, the colour inside radius 10, clear corners.
    // The inner disc's shadow greys the ring a little.
    const QImage ring = shownImage(*circle);
    EXPECT_TRUE(pixelIs(ring, 15, 15, teal));
    EXPECT_TRUE(pixelIs(ring, 15 + 7, 15, teal));
    EXPECT_TRUE(pixelIs(ring, 15 + 12, 15, Color::white(), 40));
    EXPECT_TRUE(pixelIs(ring, 15, 3, Color::white(), 40));
    EXPECT_LT(ring.pixelColor(0, 0).alpha(), 40) << "corners must let the palette show through";

    const QImage panel = shownImage(*swatch);
    EXPECT_TRUE(pixelIs(panel, 20, 30, teal));
    EXPECT_TRUE(pixelIs(panel, 0, 30, Color::white()));
    EXPECT_TRUE(pixelIs(panel, 20, 59, Color::white()));
}
