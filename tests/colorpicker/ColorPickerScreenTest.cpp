#include "Classes/colorpicker/ColorBrightnessPalleteView.h"
#include "Classes/colorpicker/ColorHSPalleteView.h"
#include "Classes/colorpicker/ColorIndicatorCircleView.h"
#include "Classes/colorpicker/ColorIndicatorPanelView.h"
#include "Classes/colorpicker/ColorPickerDelegate.h"
#include "Classes/colorpicker/ColorPickerViewController.h"
#include "Classes/colorpicker/RecentPickedColorView.h"
#include "PickerInput.h"
#include "PickerTestSupport.h"
#include "platform/system/Device.h"
#include "platform/ui/Animation.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Popover.h"
#include "platform/ui/Switch.h"

#include <QAbstractButton>
#include <QGraphicsOpacityEffect>
#include <QElapsedTimer>
#include <QPushButton>
#include <vector>

using platform::Color;
using platform::Point;
using platform::ui::ViewController;

namespace {

struct Answers final : ColorPickerDelegate {
    struct Answer {
        Color color;
        bool isRandomColor;
        bool operator==(const Answer&) const = default;
    };
    std::vector<Answer> given;
    void colorPickerDidFinishWithColor(const Color& color, bool isRandomColor) override
    {
        given.push_back({ color, isRandomColor });
    }
};

// The picker as a phone shows it: a full-window screen over the screen that
// opened it. The same picker is opened again and again, as the editor does.
struct PhonePicker {
    platform::ScopedDeviceProfile profile { platform::DeviceProfile::phone() };
    std::shared_ptr<ViewController> opener = std::make_shared<ViewController>();
    platform::ui::MainWindow window { opener };
    std::shared_ptr<ColorPickerViewController> picker = std::make_shared<ColorPickerViewController>();
    Answers delegate;

    PhonePicker()
    {
        window.navigationController().setNavigationBarHidden(true, false);
        window.resize(320, 480);
        picker->setDelegate(&delegate);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        open();
    }

    void open()
    {
        opener->presentViewController(picker, true);
        QCoreApplication::processEvents();
    }
    bool isOpen() const { return opener->presentedViewController() == picker.get(); }

    template<typename T>
    T& view(const char* name)
    {
        T* found = picker->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    ColorHSPalleteView& palette() { return view<ColorHSPalleteView>("hueSaturationPallete"); }
    ColorBrightnessPalleteView& bar() { return view<ColorBrightnessPalleteView>("brightnessPallete"); }
    ColorIndicatorCircleView& paletteIndicator() { return view<ColorIndicatorCircleView>("hueSaturationIndicatorCircle"); }
    ColorIndicatorCircleView& barIndicator() { return view<ColorIndicatorCircleView>("brightnessIndicatorCircle"); }
    RecentPickedColorView& recentPanel() { return view<RecentPickedColorView>("historyColorPanel"); }
    QWidget& container() { return view<QWidget>("solidColorPickerContainer"); }

    // A point of a view, in the window's coordinates.
    QPoint at(QWidget& view, QPoint local) { return view.mapTo(&window, local); }
    // The centre of a view, in the container's coordinates.
    Point centerInContainer(QWidget& view)
    {
        const QPointF c = QRectF(view.mapTo(&container(), QPoint(0, 0)), view.size()).center();
        return { static_cast<float>(c.x()), static_cast<float>(c.y()) };
    }

    void click(QWidget& target)
    {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, at(target, target.rect().center()));
        QCoreApplication::processEvents();
    }
    void pressOK() { click(view<QPushButton>("okButton")); }
    void pressCancel() { click(view<QPushButton>("cancelButton")); }
    void flipRandomSwitch() { click(view<QWidget>("randomColorSwitch")); }
    void pickRecent(int index) { click(*recentPanel().buttonWithTag(RecentPickedColorView::firstTag + index)); }
    // Chooses a hue and saturation with a short drag ending on the palette.
    void dragPaletteTo(float hue, float saturation)
    {
        Finger finger(window, Input::Mouse);
        finger.drag({ at(palette(), { 5, 5 }), at(palette(), QPoint(std::lround(hue * 280), std::lround(saturation * 150))) });
    }

    std::vector<float> recentHues() const
    {
        std::vector<float> hues;
        for (const HSVColor& c : picker->recentColors())
            hues.push_back(c.hsv().h);
        return hues;
    }
};

// Whether the swatch shows the colour, in the window's own pixels.
testing::AssertionResult swatchShows(PhonePicker& p, const Color& color)
{
    auto& swatch = p.view<QWidget>("colorIndicatorPanel");
    const QImage shown = shownImage(p.window);
    const QPoint center = p.at(swatch, swatch.rect().center());
    return pixelIs(shown, center.x(), center.y(), color);
}

std::vector<float> defaultHues()
{
    return { 0, 0.125f, 0.25f, 0.375f, 0.5f, 0.625f, 0.75f, 0.875f };
}

}

TEST(ColorPicker, FirstOpeningIsRandomOverADimmedSolidAreaAndARecentPickKeepsItRandom)
{
    PhonePicker p;
    ASSERT_TRUE(p.isOpen());
    EXPECT_TRUE(p.picker->isRandomColorSelected());
    const Color start = Color::hsba(0.6f, 0.6f, 0.8f);
    EXPECT_TRUE(swatchShows(p, start));

    // The palette shows through at 0.3 over the screen's background.
    const QImage shown = shownImage(p.window);
    const QPoint onPalette = p.at(p.palette(), { 100, 50 });
    const Color paletteColor = Color::hsba(100 / 280.0f, 50 / 150.0f, 1);
    const QColor background = p.picker->palette().color(QPalette::Window);
    const auto mix = [](float fore, int back) { return 0.3f * fore + 0.7f * back / 255.0f; };
    EXPECT_TRUE(pixelIs(shown, onPalette.x(), onPalette.y(),
        Color::rgba(mix(paletteColor.red, background.red()), mix(paletteColor.green, background.green()),
            mix(paletteColor.blue, background.blue())),
        3));

    // The dimmed palette and bar ignore the finger, whichever way it comes.
    for (Input input : { Input::Mouse, Input::Touch, Input::Pen }) {
        SCOPED_TRACE(nameOf(input));
        Finger(p.window, input).drag({ p.at(p.palette(), { 10, 10 }), p.at(p.palette(), { 200, 100 }) });
        Finger(p.window, input).drag({ p.at(p.bar(), { 10, 10 }), p.at(p.bar(), { 30, 10 }) });
        EXPECT_EQ(p.picker->selectedColor(), start);
    }

    p.pressOK();
    EXPECT_EQ(p.delegate.given, (std::vector<Answers::Answer> { { start, true } }));
    EXPECT_FALSE(p.isOpen());

    // A recent colour picked while random is on moves the indicators and still reports random.
    p.open();
    p.pickRecent(3);
    const Color green = Color::hsba(0.375f, 1, 1);
    EXPECT_TRUE(swatchShows(p, green));
    EXPECT_EQ(p.centerInContainer(p.paletteIndicator()), (Point { 20 + 0.375f * 280, 166 }));
    EXPECT_EQ(p.centerInContainer(p.barIndicator()), (Point { 300, 204 }));
    EXPECT_EQ(p.paletteIndicator().indicatorColor(), green);
    EXPECT_TRUE(p.picker->isRandomColorSelected());
    p.pressOK();
    EXPECT_EQ(p.delegate.given.back(), (Answers::Answer { green, true }));
    EXPECT_EQ(p.recentHues(), defaultHues());
}

TEST(ColorPicker, RandomSwitchFadesTheSolidAreaOverAThirdOfASecond)
{
    PhonePicker p;
    platform::ui::setAnimationsEnabled(true);
    auto* fade = dynamic_cast<QGraphicsOpacityEffect*>(p.container().graphicsEffect());
    ASSERT_NE(fade, nullptr);
    EXPECT_DOUBLE_EQ(fade->opacity(), 0.3);

    QElapsedTimer clock;
    clock.start();
    p.flipRandomSwitch();
    EXPECT_FALSE(p.picker->isRandomColorSelected());
    EXPECT_LT(fade->opacity(), 0.9) << "the area brightens gradually";
    EXPECT_TRUE(QTest::qWaitFor([fade] { return fade->opacity() == 1.0; }, 3000));
    EXPECT_GE(clock.elapsed(), 250);

    p.flipRandomSwitch();
    EXPECT_TRUE(QTest::qWaitFor([fade] { return std::abs(fade->opacity() - 0.3) < 1e-6; }, 3000));
    platform::ui::setAnimationsEnabled(false);
}

TEST(ColorPicker, DragsFollowTheViewTheyStartedOn)
{
    for (Input input : { Input::Mouse, Input::Touch, Input::Pen }) {
        SCOPED_TRACE(nameOf(input));
        PhonePicker p;
        p.flipRandomSwitch();
        Finger finger(p.window, input);

        // On the palette, and on past its bottom-right corner: the indicator
        // stays on the corner while hue and saturation go beyond 1.
        finger.press(p.at(p.palette(), { 56, 30 }));
        EXPECT_FLOAT_EQ(p.picker->hue(), 0.2f);
        EXPECT_FLOAT_EQ(p.picker->saturation(), 0.2f);
        EXPECT_EQ(p.centerInContainer(p.paletteIndicator()), (Point { 20 + 56, 16 + 30 }));
        finger.moveTo(p.at(p.palette(), { 294, 165 }));
        finger.release(p.at(p.palette(), { 294, 165 }));
        EXPECT_FLOAT_EQ(p.picker->hue(), 1.05f);
        EXPECT_FLOAT_EQ(p.picker->saturation(), 1.1f);
        EXPECT_EQ(p.centerInContainer(p.paletteIndicator()), (Point { 300, 166 }));
        EXPECT_TRUE(swatchShows(p, Color::hsba(1.05f, 1.1f, 0.8f)));
        EXPECT_FLOAT_EQ(p.bar().hue(), 1.05f);

        // On the bar: brightness follows, and stops at either end.
        finger.press(p.at(p.bar(), { 70, 16 }));
        EXPECT_FLOAT_EQ(p.picker->brightness(), 0.25f);
        EXPECT_EQ(p.centerInContainer(p.barIndicator()), (Point { 90, 204 }));
        finger.moveTo(p.at(p.bar(), { -15, 50 }));
        EXPECT_EQ(p.picker->brightness(), 0);
        EXPECT_EQ(p.centerInContainer(p.barIndicator()), (Point { 20, 204 }));
        finger.moveTo(p.at(p.bar(), { 295, -30 }));
        finger.release(p.at(p.bar(), { 295, -30 }));
        EXPECT_EQ(p.picker->brightness(), 1);
        EXPECT_EQ(p.centerInContainer(p.barIndicator()), (Point { 300, 204 }));
        EXPECT_FLOAT_EQ(p.picker->hue(), 1.05f) << "the bar leaves hue alone";

        // The indicator on the palette is part of the palette.
        finger.drag({ p.at(p.paletteIndicator(), { 15, 15 }), p.at(p.palette(), { 140, 75 }) });
        EXPECT_FLOAT_EQ(p.picker->hue(), 0.5f);
        EXPECT_FLOAT_EQ(p.picker->saturation(), 0.5f);
        EXPECT_TRUE(swatchShows(p, Color::hsba(0.5f, 0.5f, 1)));

        // A drag that starts beside the palette does nothing, even on it.
        finger.drag({ p.at(p.container(), { 8, 180 }), p.at(p.palette(), { 10, 10 }), p.at(p.bar(), { 10, 10 }) });
        EXPECT_FLOAT_EQ(p.picker->hue(), 0.5f);
        EXPECT_EQ(p.picker->brightness(), 1);
    }
}

TEST(ColorPicker, OKRemembersNewSolidColoursUpToTen)
{
    PhonePicker p;
    p.flipRandomSwitch();
    const auto chooseAndConfirm = [&p](float hue, float saturation) {
        p.open();
        p.dragPaletteTo(hue, saturation);
        p.pressOK();
        return Color::hsba(hue, saturation, 0.8f);
    };

    const Color a = chooseAndConfirm(0.1f, 0.2f);
    EXPECT_EQ(p.delegate.given.back(), (Answers::Answer { a, false }));
    std::vector<float> hues = defaultHues();
    hues.insert(hues.begin(), 0.1f);
    EXPECT_EQ(p.recentHues(), hues);

    // The same colour as the newest entry adds nothing.
    p.open();
    QAbstractButton& first = *p.recentPanel().buttonWithTag(100);
    const QPoint firstCenter = p.at(first, first.rect().center());
    EXPECT_TRUE(pixelIs(shownImage(p.window), firstCenter.x(), firstCenter.y(), a));
    p.pressOK();
    EXPECT_EQ(p.delegate.given.size(), 2u);
    EXPECT_EQ(p.recentHues(), hues);

    // Ten at most: the eleventh, chosen past the palette's corner, drops the oldest.
    chooseAndConfirm(0.3f, 0.4f);
    chooseAndConfirm(1.05f, 1.1f);
    EXPECT_EQ(p.recentHues(), (std::vector<float> { 1.05f, 0.3f, 0.1f, 0, 0.125f, 0.25f, 0.375f, 0.5f, 0.625f, 0.75f }));

    // Recalled, it keeps its indicator on the palette's corner, not half off the screen.
    p.open();
    p.dragPaletteTo(0.2f, 0.2f);
    p.pickRecent(0);
    EXPECT_EQ(p.centerInContainer(p.paletteIndicator()), (Point { 300, 166 }));
    EXPECT_FLOAT_EQ(p.picker->hue(), 1.05f);

    // An older entry chosen again goes to the front once more.
    p.pickRecent(2);
    EXPECT_TRUE(swatchShows(p, a));
    p.pressOK();
    EXPECT_EQ(p.delegate.given.back(), (Answers::Answer { a, false }));
    EXPECT_EQ(p.recentHues(), (std::vector<float> { 0.1f, 1.05f, 0.3f, 0.1f, 0, 0.125f, 0.25f, 0.375f, 0.5f, 0.625f }));
}

TEST(ColorPicker, CancelReportsNothingAndKeepsTheIndicators)
{
    PhonePicker p;
    p.flipRandomSwitch();
    p.dragPaletteTo(0.7f, 0.3f);
    Finger(p.window, Input::Touch).drag({ p.at(p.bar(), { 20, 10 }), p.at(p.bar(), { 140, 10 }) });
    const QRect paletteIndicator = p.paletteIndicator().geometry();
    const QRect barIndicator = p.barIndicator().geometry();
    p.pressCancel();
    EXPECT_FALSE(p.isOpen());
    EXPECT_TRUE(p.delegate.given.empty());

    p.open();
    EXPECT_EQ(p.paletteIndicator().geometry(), paletteIndicator);
    EXPECT_EQ(p.barIndicator().geometry(), barIndicator);
    EXPECT_TRUE(swatchShows(p, Color::hsba(0.7f, 0.3f, 0.5f)));
    EXPECT_EQ(p.recentHues(), defaultHues());

    // Return confirms from the keyboard.
    QTest::keyClick(p.window.windowHandle(), Qt::Key_Return);
    EXPECT_FALSE(p.isOpen());
    EXPECT_EQ(p.delegate.given, (std::vector<Answers::Answer> { { Color::hsba(0.7f, 0.3f, 0.5f), false } }));
}

TEST(ColorPicker, TabletPopoverClosesOnOKAndCancel)
{
    platform::ScopedDeviceProfile tablet(platform::DeviceProfile::tablet());
    QWidget window;
    window.resize(768, 1024);
    auto* colorButton = new QPushButton("colour", &window);
    colorButton->setGeometry(600, 980, 60, 44);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    auto picker = std::make_shared<ColorPickerViewController>();
    Answers delegate;
    picker->setDelegate(&delegate);
    platform::ui::Popover popover(picker.get());
    popover.setContentSize(picker->size());
    picker->setPopover(&popover);
    EXPECT_EQ(picker->size(), QSize(320, 450));

    popover.presentFrom(colorButton, true);
    ASSERT_TRUE(popover.isPopoverVisible());
    auto* palette = picker->findChild<QWidget*>("hueSaturationPallete");
    auto* randomSwitch = picker->findChild<QWidget*>("randomColorSwitch");
    const auto click = [&window](QWidget* target) {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, target->mapTo(&window, target->rect().center()));
        QCoreApplication::processEvents();
    };
    click(randomSwitch);
    Finger(window, Input::Touch).drag({ palette->mapTo(&window, QPoint(10, 10)), palette->mapTo(&window, QPoint(84, 120)) });
    click(picker->findChild<QWidget*>("okButton"));
    EXPECT_FALSE(popover.isPopoverVisible());
    EXPECT_EQ(delegate.given, (std::vector<Answers::Answer> { { Color::hsba(0.3f, 0.8f, 0.8f), false } }));

    popover.presentFrom(colorButton, true);
    ASSERT_TRUE(popover.isPopoverVisible());
    click(picker->findChild<QWidget*>("cancelButton"));
    EXPECT_FALSE(popover.isPopoverVisible());
    EXPECT_EQ(delegate.given.size(), 1u);
}
