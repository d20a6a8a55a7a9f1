#include "ScreenShots.h"

#include "Classes/editor/DoodleView.h"
#include "Classes/editor/PintaroAppDelegate.h"
#include "Classes/editor/PintaroViewController.h"
#include "Classes/editor/PrefaceViewController.h"
#include "Classes/model/Painting.h"
#include "platform/system/Device.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/NavigationController.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <cmath>

namespace {

QPoint centreOf(QWidget& widget)
{
    return widget.mapTo(widget.window(), widget.rect().center());
}

void click(QWidget& window, QWidget& widget)
{
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, centreOf(widget));
    QApplication::processEvents();
}

// A few loops and waves across the canvas, dragged with the mouse.
void scribble(QWidget& window, DoodleView& canvas, int seed)
{
    QWindow* handle = window.windowHandle();
    const double w = canvas.width();
    const double h = canvas.height() - 44;
    for (int stroke = 0; stroke < 4; ++stroke) {
        auto at = [&](int i) {
            double t = i / 40.0;
            double x = w * (0.15 + 0.7 * t);
            double y = h * (0.2 + 0.18 * stroke) + h * 0.08 * std::sin(t * 9 + seed + stroke);
            return canvas.mapTo(&window, QPoint(int(x), int(y)));
        };
        QTest::mousePress(handle, Qt::LeftButton, {}, at(0));
        for (int i = 1; i <= 40; ++i)
            QTest::mouseMove(handle, at(i));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, at(40));
    }
    QApplication::processEvents();
}

template<typename T>
T& child(QWidget& root, const char* name)
{
    return *root.findChild<T*>(QLatin1String(name));
}

}

static ScreenShotSet set("editor", [](const ScreenShotContext& c) {
    platform::ui::setAnimationsEnabled(false);
    QStringList shots;
    PintaroAppDelegate delegate;
    platform::Rect bounds = platform::Device::mainScreenBounds();
    delegate.applicationDidFinishLaunching(QSize(int(bounds.width()), int(bounds.height())));
    platform::ui::MainWindow& window = *delegate.window();
    QApplication::processEvents();
    shots << saveWidget(window, c, "home");

    platform::ui::AlertView* rate = nullptr;
    click(window, child<QWidget>(window, "rateButton"));
    rate = platform::ui::AlertView::current(&window);
    shots << saveWidget(window, c, "home-rate-alert");
    if (rate)
        rate->dismissWithButtonIndex(1);

    click(window, child<QWidget>(window, "newDoodleButton"));
    auto& editor = *delegate.homeScreen()->doodleViewController();
    shots << saveWidget(window, c, "editor-new");

    scribble(window, *editor.doodleView(), 0);
    shots << saveWidget(window, c, "editor-drawn");

    click(window, child<QWidget>(editor, "newButton"));
    shots << saveWidget(window, c, "editor-save-or-discard");
    if (auto* sheet = platform::ui::ActionSheet::current(&window))
        click(window, *sheet->button(sheet->firstOtherButtonIndex()));
    shots << saveWidget(window, c, "editor-mirror-modes");

    click(window, child<QWidget>(editor, "mirrixSixButton"));
    click(window, child<QWidget>(editor, "brushButton"));
    scribble(window, *editor.doodleView(), 2);
    shots << saveWidget(window, c, "editor-mirror-six-drawn");

    click(window, child<QWidget>(editor, "exportButton"));
    shots << saveWidget(window, c, "editor-export-menu");
    if (auto* sheet = platform::ui::ActionSheet::current(&window))
        sheet->dismissWithButtonIndex(sheet->cancelButtonIndex());

    click(window, child<QWidget>(editor, "colorButton"));
    shots << saveWidget(window, c, "editor-colour-picker");
    if (auto* picker = window.findChild<QWidget*>("ColorPickerViewController"))
        click(window, child<QWidget>(*picker, "cancelButton"));

    // The photo picker over a folder with one picture in it.
    QImage photo(300, 200, QImage::Format_RGB32);
    photo.fill(QColor(90, 160, 240));
    photo.save(c.documentsFolder + "/sky.png");
    qputenv("PINTARO_PICTURES", c.documentsFolder.toLocal8Bit());
    click(window, child<QWidget>(editor, "newButton"));
    if (auto* sheet = platform::ui::ActionSheet::current(&window))
        click(window, *sheet->button(sheet->firstOtherButtonIndex()));
    click(window, child<QWidget>(editor, "mirrixNineButton"));
    click(window, child<QWidget>(editor, "photoBarButton"));
    QTest::qWait(300);
    shots << saveWidget(window, c, "editor-photo-picker");
    if (auto* dialog = window.findChild<QDialog*>("photoPicker"))
        dialog->reject();
    if (auto* sheet = platform::ui::ActionSheet::current(&window))
        sheet->dismissWithButtonIndex(sheet->cancelButtonIndex());
    qunsetenv("PINTARO_PICTURES");

    click(window, child<QWidget>(editor, "playbackButton"));
    for (int i = 0; i < 12; ++i)
        QTest::qWait(40);
    shots << saveWidget(window, c, "editor-replay");
    click(window, child<QWidget>(editor, "stopButton"));

    // Saving: the spinner over the canvas, then the alert of a save that failed.
    scribble(window, *editor.doodleView(), 4);
    click(window, child<QWidget>(editor, "newButton"));
    if (auto* sheet = platform::ui::ActionSheet::current(&window)) {
        qputenv("PINTARO_DOCUMENTS", "/proc/pintaro-cannot-write-here");
        click(window, *sheet->button(sheet->destructiveButtonIndex()));
        shots << saveWidget(window, c, "editor-saving");
        for (int i = 0; i < 200 && editor.isBusy(); ++i)
            QTest::qWait(20);
        shots << saveWidget(window, c, "editor-save-failed");
        qputenv("PINTARO_DOCUMENTS", (c.documentsFolder + "/Documents").toLocal8Bit());
        if (auto* alert = platform::ui::AlertView::current(&window))
            alert->dismissWithButtonIndex(0);
    }

    window.close();
    QApplication::processEvents();
    shots << saveWidget(window, c, "editor-close-prompt");
    if (auto* sheet = platform::ui::ActionSheet::current(&window))
        sheet->dismissWithButtonIndex(sheet->cancelButtonIndex());
    window.hide();
    return shots;
});
