// The colour picker as the tablet shows it (in a popover at the colour
// button) and as a phone shows it (over the whole window), with the random
// switch on as it first opens and off with a solid colour chosen.
#include "ScreenShots.h"

#include "Classes/colorpicker/ColorPickerViewController.h"
#include "platform/system/Device.h"
#include "platform/ui/Animation.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Popover.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

namespace {

// Presses at `from` on a view and lifts at `to`, both in the view's own coordinates.
void dragOn(QWidget* view, QPointF from, QPointF to)
{
    QMouseEvent press(QEvent::MouseButtonPress, from, view->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(view, &press);
    QMouseEvent move(QEvent::MouseMove, to, view->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(view, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, view->mapToGlobal(to), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(view, &release);
}

// Switches random colours off and leaves a few solid colours in the recent
// list, the last one chosen but not yet confirmed.
void chooseSolidColors(ColorPickerViewController& picker, const std::function<void()>& reopen)
{
    picker.findChild<QAbstractButton*>("randomColorSwitch")->click();
    auto* palette = picker.findChild<QWidget*>("hueSaturationPallete");
    auto* bar = picker.findChild<QWidget*>("brightnessPallete");
    for (QPointF at : { QPointF(250, 120), QPointF(110, 60), QPointF(30, 140) }) {
        dragOn(palette, { 5, 5 }, at);
        picker.findChild<QPushButton*>("okButton")->click();
        reopen();
    }
    dragOn(palette, { 5, 5 }, { 182, 96 });
    dragOn(bar, { 5, 5 }, { 230, 16 });
}

QStringList tabletShots(const ScreenShotContext& c)
{
    QWidget window;
    window.resize(768, 1024);
    QPalette dark = window.palette();
    dark.setColor(QPalette::Window, QColor(20, 20, 24));
    window.setPalette(dark);
    window.setAutoFillBackground(true);
    auto* colorButton = new QPushButton(QStringLiteral("●"), &window);
    colorButton->setGeometry(560, 980, 60, 44);
    window.show();

    auto picker = std::make_shared<ColorPickerViewController>();
    platform::ui::Popover popover(picker.get());
    popover.setContentSize(picker->size());
    picker->setPopover(&popover);
    popover.presentFrom(colorButton, false);
    QApplication::processEvents();
    QStringList shots { saveWidget(window, c, "colorpicker-random") };

    chooseSolidColors(*picker, [&] { popover.presentFrom(colorButton, false); });
    QApplication::processEvents();
    shots << saveWidget(window, c, "colorpicker-solid");
    popover.dismiss(false);
    return shots;
}

QStringList phoneShots(const ScreenShotContext& c)
{
    auto opener = std::make_shared<platform::ui::ViewController>();
    platform::ui::MainWindow window(opener);
    window.navigationController().setNavigationBarHidden(true, false);
    const platform::Size screen = platform::Device::mainScreenBounds().size;
    window.resize(static_cast<int>(screen.width), static_cast<int>(screen.height));
    window.show();

    auto picker = std::make_shared<ColorPickerViewController>();
    opener->presentViewController(picker, false);
    QApplication::processEvents();
    QStringList shots { saveWidget(window, c, "colorpicker-random") };

    chooseSolidColors(*picker, [&] { opener->presentViewController(picker, false); });
    QApplication::processEvents();
    shots << saveWidget(window, c, "colorpicker-solid");
    opener->dismissViewController(false);
    return shots;
}

}

static ScreenShotSet set("colorpicker", [](const ScreenShotContext& c) {
    const bool animated = platform::ui::animationsEnabled();
    platform::ui::setAnimationsEnabled(false);
    QStringList shots = platform::Device::idiom() == platform::InterfaceIdiom::Pad ? tabletShots(c) : phoneShots(c);
    platform::ui::setAnimationsEnabled(animated);
    return shots;
});
