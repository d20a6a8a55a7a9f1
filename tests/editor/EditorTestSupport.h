#pragma once

#include "Classes/editor/DoodleView.h"
#include "Classes/editor/PintaroAppDelegate.h"
#include "Classes/editor/PintaroViewController.h"
#include "Classes/editor/PrefaceViewController.h"
#include "Classes/model/Layer.h"
#include "Classes/model/Painting.h"
#include "platform/system/Device.h"
#include "platform/system/DispatchQueue.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/NavigationController.h"

#include <QApplication>
#include <QLabel>
#include <QDir>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

// Paintings are saved into a folder of the test's own.
struct ScopedDocuments final {
    ScopedDocuments()
    {
        qputenv("PINTARO_DOCUMENTS", folder.filePath("Documents").toUtf8());
        qputenv("PINTARO_LOG_DIR", folder.filePath("Logs").toUtf8());
        qputenv("PINTARO_ALBUM", folder.filePath("Album").toUtf8());
    }
    ~ScopedDocuments()
    {
        qunsetenv("PINTARO_DOCUMENTS");
        qunsetenv("PINTARO_LOG_DIR");
        qunsetenv("PINTARO_ALBUM");
    }
    QTemporaryDir folder;
};

inline bool waitUntil(const std::function<bool()>& done, int milliseconds = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

inline QPoint onWindow(QWidget& widget, QPoint point)
{
    return widget.mapTo(widget.window(), point);
}

// A click where the user would click: into the window, so that whatever lies
// on top at that point takes it.
inline void clickAt(QWidget& window, QPoint point)
{
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, point);
    QCoreApplication::processEvents();
}

inline void click(QWidget& widget)
{
    ASSERT_TRUE(widget.isVisible()) << widget.objectName().toStdString();
    clickAt(*widget.window(), onWindow(widget, widget.rect().center()));
}

// A mouse drag over the canvas through the given canvas points.
inline void drag(DoodleView& canvas, const std::vector<QPoint>& points)
{
    QWindow* window = canvas.window()->windowHandle();
    QTest::mousePress(window, Qt::LeftButton, {}, onWindow(canvas, points.front()));
    for (size_t i = 1; i < points.size(); ++i)
        QTest::mouseMove(window, onWindow(canvas, points[i]));
    QTest::mouseRelease(window, Qt::LeftButton, {}, onWindow(canvas, points.back()));
    QCoreApplication::processEvents();
}

// A stroke across the canvas, long enough to be recorded with several points.
inline void drawStroke(DoodleView& canvas, int row = 0)
{
    std::vector<QPoint> points;
    for (int i = 0; i <= 8; ++i)
        points.push_back(QPoint(60 + 25 * i, 80 + 30 * row + (i % 2) * 20));
    drag(canvas, points);
}

// The program as it starts: the window with the home screen, on the given
// device, with animations off.
struct RunningApp {
    explicit RunningApp(const platform::DeviceProfile& profile = platform::DeviceProfile::tablet())
        : device(profile)
    {
        PintaroViewController::sharedState() = {};
        QSize screen(int(profile.screenSize.width), int(profile.screenSize.height));
        delegate.applicationDidFinishLaunching(screen);
        QCoreApplication::processEvents();
    }
    ~RunningApp()
    {
        // Let any save still under way finish inside this test's folder.
        platform::DispatchQueue::global().waitUntilIdle();
        platform::DispatchQueue::mainQueue().waitUntilIdle();
    }

    platform::ui::MainWindow& window() { return *delegate.window(); }
    PrefaceViewController& home() { return *delegate.homeScreen(); }
    PintaroViewController& editor() { return *home().doodleViewController(); }
    DoodleView& canvas() { return *editor().doodleView(); }
    Painting& painting() { return *editor().mPainting(); }
    platform::ui::NavigationController& navigation() { return window().navigationController(); }

    template<typename T = QWidget>
    T& find(const char* name)
    {
        // The screen on top first: the home screen and the editor both have
        // a gallery button.
        T* found = navigation().topViewController()->findChild<T*>(QLatin1String(name));
        if (!found)
            found = window().findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    bool shows(const char* name) { return find(name).isVisible(); }

    // Opens the editor from the home screen and draws two strokes, which
    // makes the painting worth asking about.
    void openEditorWithDrawing()
    {
        click(find("newDoodleButton"));
        drawStroke(canvas(), 0);
        drawStroke(canvas(), 1);
    }
    platform::ui::ActionSheet* sheet() { return platform::ui::ActionSheet::current(&window()); }
    platform::ui::AlertView* alert() { return platform::ui::AlertView::current(&window()); }
    void answerSheet(const QString& title)
    {
        ASSERT_NE(sheet(), nullptr);
        QPushButton* button = sheet()->findChild<QPushButton*>(title);
        ASSERT_NE(button, nullptr) << title.toStdString();
        click(*button);
    }
    bool waitForSave() { return waitUntil([this] { return !editor().isBusy(); }); }

    ScopedDocuments documents;
    platform::ScopedDeviceProfile device;
    PintaroAppDelegate delegate;
};
