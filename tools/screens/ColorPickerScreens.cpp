// The colour picker opened from the editor's colour button: in a popover on
// the tablet and over the whole window on a phone, with the random switch on
// as it first opens and off with a solid colour chosen; then a stroke in
// that colour.
#include "ScreenShots.h"

#include "Classes/colorpicker/ColorPickerViewController.h"
#include "Classes/editor/DoodleView.h"
#include "Classes/editor/PintaroAppDelegate.h"
#include "Classes/editor/PintaroViewController.h"
#include "Classes/editor/PrefaceViewController.h"
#include "platform/system/Device.h"
#include "platform/ui/Animation.h"
#include "platform/ui/MainWindow.h"

#include <QApplication>
#include <QTest>

namespace {

QPoint inWindow(QWidget& widget, QPoint point)
{
    return widget.mapTo(widget.window(), point);
}

void click(QWidget& widget)
{
    QTest::mouseClick(widget.window()->windowHandle(), Qt::LeftButton, {}, inWindow(widget, widget.rect().center()));
    QApplication::processEvents();
}

void drag(QWidget& widget, std::initializer_list<QPoint> points)
{
    QWindow* window = widget.window()->windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, inWindow(widget, *points.begin()));
    for (QPoint p : points)
        QTest::mouseMove(window, inWindow(widget, p));
    QTest::mouseRelease(window, Qt::LeftButton, {}, inWindow(widget, *(points.end() - 1)));
    QApplication::processEvents();
}

QWidget& part(QWidget& root, const char* name)
{
    return *root.findChild<QWidget*>(QLatin1String(name));
}

}

static ScreenShotSet set("colorpicker", [](const ScreenShotContext& c) {
    const bool animated = platform::ui::animationsEnabled();
    platform::ui::setAnimationsEnabled(false);
    QStringList shots;
    PintaroAppDelegate delegate;
    const platform::Rect bounds = platform::Device::mainScreenBounds();
    delegate.applicationDidFinishLaunching(QSize(int(bounds.width()), int(bounds.height())));
    platform::ui::MainWindow& window = *delegate.window();
    QApplication::processEvents();
    click(part(window, "newDoodleButton"));
    PintaroViewController& editor = *delegate.homeScreen()->doodleViewController();
    click(part(editor, "brushButton"));
    click(part(editor, "brushButton"));

    click(part(editor, "colorButton"));
    auto& picker = *window.findChild<ColorPickerViewController*>("ColorPickerViewController");
    shots << saveWidget(window, c, "colorpicker-random");

    // A few solid colours confirmed, so the recent colours change, and one
    // more chosen.
    click(part(picker, "randomColorSwitch"));
    QWidget& palette = part(picker, "hueSaturationPallete");
    QWidget& bar = part(picker, "brightnessPallete");
    for (QPoint at : { QPoint(250, 120), QPoint(110, 60), QPoint(30, 140) }) {
        drag(palette, { { 5, 5 }, at });
        click(part(picker, "okButton"));
        click(part(editor, "colorButton"));
    }
    drag(palette, { { 5, 5 }, { 182, 96 } });
    drag(bar, { { 5, 5 }, { 230, 16 } });
    shots << saveWidget(window, c, "colorpicker-solid");

    click(part(picker, "okButton"));
    DoodleView& canvas = *editor.doodleView();
    std::vector<QPoint> wave;
    for (int i = 0; i <= 30; ++i)
        wave.push_back(QPoint(canvas.width() * (0.15 + 0.7 * i / 30.0), canvas.height() * 0.4 + 40 * ((i / 5) % 2)));
    QWindow* handle = window.windowHandle();
    QTest::mousePress(handle, Qt::LeftButton, {}, inWindow(canvas, wave.front()));
    for (QPoint p : wave)
        QTest::mouseMove(handle, inWindow(canvas, p));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, inWindow(canvas, wave.back()));
    QApplication::processEvents();
    shots << saveWidget(window, c, "colorpicker-stroke");

    platform::ui::setAnimationsEnabled(animated);
    return shots;
});
