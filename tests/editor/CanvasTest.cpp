#include "EditorTestSupport.h"

#include <QPaintEvent>
#include <QPointingDevice>
#include <QProgressBar>
#include <gtest/gtest.h>
#include <QScreen>
#include <QTabletEvent>
#include <cmath>

using platform::DeviceProfile;

namespace {

// Records the area of every repaint of a widget.
struct PaintRecorder final : QObject {
    explicit PaintRecorder(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            regions.push_back(static_cast<QPaintEvent*>(event)->region());
        return false;
    }
    std::vector<QRegion> take()
    {
        QCoreApplication::processEvents();
        return std::exchange(regions, {});
    }
    std::vector<QRegion> regions;
};

QRect onCanvas(const platform::Rect& r, double scale = 1)
{
    return QRectF(r.x() * scale, r.y() * scale, r.width() * scale, r.height() * scale).toAlignedRect();
}

}

TEST(Canvas, EachMoveRepaintsOnlyTheRectanglesOfItsCopiesAndUndoAllOrNothing)
{
    RunningApp app;
    click(app.find("newDoodleButton"));
    DoodleView& canvas = app.canvas();
    QWindow* window = app.window().windowHandle();
    PaintRecorder paints(canvas);
    auto press = [&](QPoint p) { QTest::mousePress(window, Qt::LeftButton, {}, onWindow(canvas, p)); };
    auto copies = [&] {
        QRegion all;
        for (const platform::Rect& r : app.painting().changedRects())
            all += onCanvas(r) & canvas.rect();
        return all;
    };
    auto area = [](const QRegion& region) {
        long long sum = 0;
        for (const QRect& r : region)
            sum += (long long)r.width() * r.height();
        return sum;
    };
    // One copy per stroke, so that a move changes a small part of the canvas.
    app.painting().setMirrixMode(0);
    QTest::qWait(50);
    drawStroke(canvas); // the first touch also puts the mirror modes away
    paints.take();
    press(QPoint(100, 100));
    EXPECT_TRUE(paints.take().empty());
    for (QPoint p : { QPoint(140, 110), QPoint(190, 160), QPoint(250, 150) }) {
        QTest::mouseMove(window, onWindow(canvas, p));
        std::vector<QRegion> repaints = paints.take();
        ASSERT_EQ(repaints.size(), 1u);
        EXPECT_EQ(repaints[0].boundingRect(), onCanvas(canvas.dirtyRect()) & canvas.rect());
        EXPECT_LT(repaints[0].boundingRect().width(), canvas.width() / 2);
    }
    QTest::mouseRelease(window, Qt::LeftButton, {}, onWindow(canvas, QPoint(250, 150)));
    std::vector<QRegion> lift = paints.take();
    ASSERT_EQ(lift.size(), 1u);
    EXPECT_EQ(lift[0].boundingRect(), onCanvas(canvas.dirtyRect()) & canvas.rect());

    // Undo with something to undo repaints everything; with nothing, nothing.
    // (Keys, not the toolbar, whose own repaints show through to the canvas.)
    for (int stroke = 0; stroke < 2; ++stroke) {
        QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);
        std::vector<QRegion> undone = paints.take();
        ASSERT_EQ(undone.size(), 1u);
        EXPECT_EQ(undone[0].boundingRect(), canvas.rect());
    }
    EXPECT_TRUE(app.painting().activeLayer()->strokeList().empty());
    QTest::keyClick(&canvas, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(paints.take().empty());

    // In a mirror mode the copies are repainted, not the area between them.
    app.painting().setMirrixMode(4);
    press(QPoint(150, 150));
    for (QPoint p : { QPoint(190, 160), QPoint(230, 190), QPoint(260, 230) }) {
        QTest::mouseMove(window, onWindow(canvas, p));
        std::vector<QRegion> repaints = paints.take();
        ASSERT_EQ(repaints.size(), 1u);
        EXPECT_EQ(app.painting().changedRects().size(), 8u);
        EXPECT_EQ(repaints[0], copies());
        EXPECT_LT(area(repaints[0]), area(onCanvas(canvas.dirtyRect()) & canvas.rect()) / 2);
    }
    QTest::mouseRelease(window, Qt::LeftButton, {}, onWindow(canvas, QPoint(260, 230)));
}

TEST(Canvas, MouseTouchAndPenReachTheStrokeWithThePointsAsDelivered)
{
    RunningApp app;
    click(app.find("newDoodleButton"));
    DoodleView& canvas = app.canvas();
    QWindow* window = app.window().windowHandle();
    QPointingDevice* touchScreen = QTest::createTouchDevice();
    const QPointF first(120.25, 200.5);
    const QPointF last(300.75, 260.25);
    using Drawer = std::function<void()>;
    const std::pair<const char*, Drawer> sources[] = {
        { "mouse", [&] {
             QTest::mousePress(window, Qt::LeftButton, {}, onWindow(canvas, first.toPoint()));
             QTest::mouseMove(window, onWindow(canvas, QPoint(200, 230)));
             QTest::mouseRelease(window, Qt::LeftButton, {}, onWindow(canvas, last.toPoint()));
         } },
        { "touch", [&] {
             QTest::touchEvent(window, touchScreen).press(0, onWindow(canvas, first.toPoint()));
             QTest::touchEvent(window, touchScreen).move(0, onWindow(canvas, QPoint(200, 230)));
             // A second finger is no second stroke: one touch stands for all.
             QTest::touchEvent(window, touchScreen).move(0, onWindow(canvas, QPoint(240, 240))).press(1, onWindow(canvas, QPoint(400, 400)));
             QTest::touchEvent(window, touchScreen).release(0, onWindow(canvas, last.toPoint())).release(1, onWindow(canvas, last.toPoint()));
         } },
        { "pen", [&] {
             // Pen events go to the window, which finds the widget under the pen.
             static QPointingDevice stylus("stylus", 77, QInputDevice::DeviceType::Stylus, QPointingDevice::PointerType::Pen,
                 QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1, 3);
             auto pen = [&](QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons) {
                 QPointF local = QPointF(onWindow(canvas, QPoint(0, 0))) + at;
                 QTabletEvent event(type, &stylus, local, window->mapToGlobal(local), 0.5, 0, 0, 0, 0, 0, Qt::NoModifier, button, buttons);
                 QCoreApplication::sendEvent(window, &event);
                 QCoreApplication::processEvents();
             };
             pen(QEvent::TabletPress, first, Qt::LeftButton, Qt::LeftButton);
             pen(QEvent::TabletMove, QPointF(200, 230), Qt::NoButton, Qt::LeftButton);
             pen(QEvent::TabletRelease, last, Qt::LeftButton, Qt::NoButton);
         } },
    };
    size_t strokes = 0;
    for (const auto& [name, draw] : sources) {
        SCOPED_TRACE(name);
        draw();
        QCoreApplication::processEvents();
        ++strokes;
        EXPECT_EQ(app.painting().activeLayer()->strokeList().size(), strokes);
        bool exact = std::string(name) == "pen";
        QPointF expectedFirst = exact ? first : QPointF(first.toPoint());
        QPointF expectedLast = exact ? last : QPointF(last.toPoint());
        EXPECT_EQ(QPointF(canvas.firstTouch().x, canvas.firstTouch().y), expectedFirst);
        EXPECT_EQ(QPointF(canvas.lastTouch().x, canvas.lastTouch().y), expectedLast);
    }
}

TEST(Canvas, ACancelledTouchSendsNoLiftAndTheNextTouchStartsAFreshStroke)
{
    RunningApp app;
    click(app.find("newDoodleButton"));
    DoodleView& canvas = app.canvas();
    QWindow* window = app.window().windowHandle();
    QPointingDevice* touchScreen = QTest::createTouchDevice();
    QTest::touchEvent(window, touchScreen).press(0, onWindow(canvas, QPoint(100, 100)));
    QTest::touchEvent(window, touchScreen).move(0, onWindow(canvas, QPoint(200, 200)));
    QTouchEvent cancel(QEvent::TouchCancel, touchScreen);
    QCoreApplication::sendEvent(window, &cancel);
    QCoreApplication::processEvents();
    EXPECT_TRUE(app.painting().activeLayer()->strokeList().empty());
    drawStroke(canvas);
    EXPECT_EQ(app.painting().activeLayer()->strokeList().size(), 1u);
}

TEST(Canvas, ReplayStatesFollowStartPauseResumeAndStopIgnoringTouchesAndTheReplayToolbarStaysUpAfterTheEnd)
{
    RunningApp app;
    app.openEditorWithDrawing();
    DoodleView& canvas = app.canvas();
    // With the mirror modes up, so that a touch that got through would put them away.
    click(app.find("newButton"));
    app.answer("Discard Painting");
    ASSERT_TRUE(app.shows("mirrixModeToolbar"));
    struct Step {
        const char* button;
        int status;
    };
    const Step steps[] = {
        { "playbackButton", DoodleView::Playing },
        { "pauseButton", DoodleView::Paused },
        { "pauseButton", DoodleView::Paused },
        { "playButton", DoodleView::Playing },
        { "playButton", DoodleView::Playing },
        { "stopButton", DoodleView::Stopped },
    };
    for (const Step& step : steps) {
        click(app.find(step.button));
        EXPECT_EQ(canvas.playbackStatus(), step.status) << step.button;
    }
    EXPECT_FALSE(canvas.isPlaybackTimerRunning());

    // A paused replay does not move on; resuming goes on from where it was.
    click(app.find("playbackButton"));
    EXPECT_FALSE(app.shows("paintingToolBar"));
    EXPECT_TRUE(app.shows("movieToolbar"));
    EXPECT_TRUE(app.shows("speedLabel"));
    EXPECT_EQ(app.find<QLabel>("speedLabel").text(), "x2");
    drawStroke(canvas, 4);
    EXPECT_EQ(app.painting().activeLayer()->strokeList().size(), 2u) << "touches are ignored in a replay";
    EXPECT_TRUE(app.shows("mirrixModeToolbar")) << "and the editor is not told of them";
    QTest::qWait(200);
    click(app.find("pauseButton"));
    float paused = app.painting().getPlaybackProgress();
    QTest::qWait(200);
    EXPECT_EQ(app.painting().getPlaybackProgress(), paused);
    click(app.find("playButton"));
    QTest::qWait(120);
    EXPECT_GE(app.painting().getPlaybackProgress(), paused);

    // Starting again while playing begins from the start.
    ASSERT_TRUE(waitUntil([&] { return app.painting().getPlaybackProgress() > 0.3f || canvas.playbackStatus() == DoodleView::Stopped; }));
    if (canvas.playbackStatus() == DoodleView::Playing) {
        click(app.find("playButton"));
        EXPECT_LT(app.painting().getPlaybackProgress(), 0.3f);
    }
    click(app.find("fasterButton"));
    EXPECT_GT(app.painting().playbackSpeed(), 2);
    EXPECT_EQ(app.find<QLabel>("speedLabel").text(), QStringLiteral("x%1").arg(app.painting().playbackSpeed()));

    // A replay that ends leaves the replay toolbar up until Stop.
    ASSERT_TRUE(waitUntil([&] { return canvas.playbackStatus() == DoodleView::Stopped; }));
    EXPECT_TRUE(app.shows("movieToolbar"));
    EXPECT_TRUE(canvas.isMovieMode());
    EXPECT_EQ(app.find<QProgressBar>("movieProgressSlider").value(), 1000);
    click(app.find("stopButton"));
    EXPECT_TRUE(app.shows("paintingToolBar"));
    EXPECT_FALSE(app.shows("movieToolbar"));
    EXPECT_FALSE(app.shows("speedLabel"));
    EXPECT_FALSE(canvas.isMovieMode());
}

TEST(Canvas, OnASmallScreenThePaintingIsScaledAndTouchesMapBackToPaintingPoints)
{
    platform::ScopedDeviceProfile tablet(DeviceProfile::tablet());
    EXPECT_EQ(PintaroAppDelegate::fittedWindowSize(QSize(768, 1024), QSize(1920, 1080)), QSize(768, 1024));
    EXPECT_EQ(PintaroAppDelegate::fittedWindowSize(QSize(768, 1024), QSize(1920, 512)), QSize(384, 512));
    EXPECT_EQ(PintaroAppDelegate::fittedWindowSize(QSize(320, 480), QSize(320, 480)), QSize(320, 480));

    RunningApp app;
    app.window().resize(PintaroAppDelegate::fittedWindowSize(QSize(768, 1024), QSize(1000, 512)));
    QCoreApplication::processEvents();
    click(app.find("newDoodleButton"));
    EXPECT_EQ(app.painting().width(), 768) << "the painting keeps the device's size";
    DoodleView& canvas = app.canvas();
    // The whole painting shows above the 44-point toolbar.
    const double scale = canvas.displayScale();
    ASSERT_DOUBLE_EQ(scale, (512.0 - 44) / (1024 - 44));
    PaintRecorder paints(canvas);
    paints.take();
    drag(canvas, { QPoint(50, 60), QPoint(100, 80), QPoint(150, 90) });
    EXPECT_EQ(canvas.firstTouch(), (platform::Point { float(50 / scale), float(60 / scale) }));
    EXPECT_EQ(canvas.lastTouch(), (platform::Point { float(150 / scale), float(90 / scale) }));
    std::vector<QRegion> repaints = paints.take();
    ASSERT_FALSE(repaints.empty());
    EXPECT_TRUE(QRegion(onCanvas(canvas.dirtyRect(), scale).adjusted(-1, -1, 1, 1)).contains(repaints.back().boundingRect()));
}

// What the window shows after a stroke's many partial repaints must be what a
// whole repaint shows: for the shape brush, which reports just the tiles it drew
// again, and for a glow, whose copies' rectangles overlap.
TEST(Canvas, PartialRepaintsLeaveTheWindowAsAWholeRepaintWould)
{
    RunningApp app;
    click(app.find("newDoodleButton"));
    DoodleView& canvas = app.canvas();
    QWindow* window = app.window().windowHandle();
    for (int type : { 16, 37 }) {
        SCOPED_TRACE(type);
        app.painting().setMirrixMode(9);
        app.painting().switchBrush(type);
        QTest::mousePress(window, Qt::LeftButton, {}, onWindow(canvas, QPoint(300, 300)));
        for (int i = 1; i <= 24; ++i) {
            const double angle = i * 0.4;
            QTest::mouseMove(window, onWindow(canvas, QPoint(300 + int(i * 8 * std::cos(angle)), 300 + int(i * 8 * std::sin(angle)))));
        }
        QTest::mouseRelease(window, Qt::LeftButton, {}, onWindow(canvas, QPoint(420, 260)));
        QCoreApplication::processEvents();
        // The offscreen screen grabs what the window's repaints left behind.
        const QImage shown = window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage whole = canvas.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint at = canvas.mapTo(canvas.window(), QPoint(0, 0));
        ASSERT_GE(shown.width(), at.x() + whole.width());
        // The painting, without the toolbar over the canvas's lower edge.
        const QSize painting(app.painting().width(), app.painting().height());
        EXPECT_EQ(shown.copy(QRect(at, painting)), whole.copy(QRect(QPoint(0, 0), painting)));
    }
}
