#include "ScreenShots.h"

#include "Classes/editor/DoodleView.h"
#include "Classes/editor/PintaroAppDelegate.h"
#include "Classes/editor/PintaroViewController.h"
#include "Classes/editor/PrefaceViewController.h"
#include "Classes/model/PaintingRecovery.h"
#include "platform/system/Device.h"
#include "platform/system/DispatchQueue.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/MainWindow.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <memory>

namespace {

QPoint centreOf(QWidget& widget)
{
    return widget.mapTo(widget.window(), widget.rect().center());
}

void click(QWidget& widget)
{
    QTest::mouseClick(widget.window()->windowHandle(), Qt::LeftButton, {}, centreOf(widget));
    QApplication::processEvents();
}

// Three wavy strokes dragged across the canvas.
void scribble(DoodleView& canvas)
{
    QWindow* window = canvas.window()->windowHandle();
    const double w = canvas.width();
    const double h = canvas.height() - 44;
    for (int stroke = 0; stroke < 3; ++stroke) {
        auto at = [&](int i) {
            const double t = i / 30.0;
            return canvas.mapTo(canvas.window(),
                QPoint(int(w * (0.15 + 0.7 * t)), int(h * (0.3 + 0.2 * stroke) + h * 0.1 * std::sin(t * 8 + stroke))));
        };
        QTest::mousePress(window, Qt::LeftButton, {}, at(0));
        for (int i = 1; i <= 30; ++i)
            QTest::mouseMove(window, at(i));
        QTest::mouseRelease(window, Qt::LeftButton, {}, at(30));
    }
    QApplication::processEvents();
}

std::unique_ptr<PintaroAppDelegate> launch()
{
    auto delegate = std::make_unique<PintaroAppDelegate>();
    const platform::Rect bounds = platform::Device::mainScreenBounds();
    delegate->applicationDidFinishLaunching(QSize(int(bounds.width()), int(bounds.height())));
    QApplication::processEvents();
    return delegate;
}

}

// A painting left unsaved by a program that died, offered at the next start
// and opened again.
static ScreenShotSet set("recovery", [](const ScreenShotContext& c) {
    platform::ui::setAnimationsEnabled(false);
    QStringList shots;
    auto first = launch();
    click(*first->window()->findChild<QWidget*>("newDoodleButton"));
    scribble(*first->homeScreen()->doodleViewController()->doodleView());
    PaintingRecovery::waitUntilWritten();
    first->window()->hide();

    auto second = launch();
    PaintingRecovery::waitUntilWritten();
    platform::DispatchQueue::mainQueue().waitUntilIdle();
    platform::ui::MainWindow& window = *second->window();
    shots << saveWidget(window, c, "home-restore-alert");
    if (auto* alert = platform::ui::AlertView::current(&window)) {
        click(*alert->button(1));
        shots << saveWidget(window, c, "editor-restored");
    }
    PaintingRecovery::discardRecoveredPainting();
    PaintingRecovery::waitUntilWritten();
    return shots;
});
