#include "Classes/movie/MovieView.h"
#include "Classes/movie/MovieViewController.h"
#include "gallery/GalleryTestSupport.h"

#include <QLabel>
#include <QProgressBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace gallerytest;

namespace {

// The replay screen pushed over another screen with a painting of its own.
struct Replay {
    explicit Replay(std::shared_ptr<Painting> shown)
        : painting(std::move(shown))
    {
        screen->setMPainting(painting);
        window.navigation().pushViewController(screen, false);
        QCoreApplication::processEvents();
    }
    std::shared_ptr<Painting> painting;
    std::shared_ptr<platform::ui::ViewController> below = std::make_shared<platform::ui::ViewController>();
    std::shared_ptr<MovieViewController> screen = platform::ui::makeScreen<MovieViewController>();
    GalleryWindow window { below };

    void press(const char* control) { clickWidget(*screen->findChild<QToolButton*>(QString::fromLatin1(control))); }
    int progress() { return screen->findChild<QProgressBar*>(QStringLiteral("movieProgressSlider"))->value(); }
    QString speed() { return screen->findChild<QLabel*>(QStringLiteral("speedLabel"))->text(); }
    QImage shown()
    {
        auto* view = screen->findChild<MovieView*>();
        return view->grab(QRect(0, 0, painting->width(), painting->height())).toImage().convertToFormat(QImage::Format_RGB32);
    }
};

}

TEST(ReplayScreen, PlayPauseResumeRestartAndTheEndFollowTheStates)
{
    platform::ScopedDeviceProfile profile(platform::DeviceProfile::phone());
    Replay replay(makeStrokePainting(10, 11));
    EXPECT_TRUE(replay.window.navigation().isNavigationBarHidden());
    EXPECT_EQ(replay.screen->playbackStatus(), MovieViewController::Playing) << "the replay starts as the screen appears";
    ASSERT_TRUE(waitFor([&] { return replay.progress() > 200; }));

    replay.press("pauseButton");
    EXPECT_EQ(replay.screen->playbackStatus(), MovieViewController::Paused);
    const int paused = replay.progress();
    QTest::qWait(100);
    EXPECT_EQ(replay.progress(), paused) << "ticks do nothing while paused";
    replay.press("playButton");
    EXPECT_EQ(replay.screen->playbackStatus(), MovieViewController::Playing);
    ASSERT_TRUE(waitFor([&] { return replay.progress() != paused; }));
    EXPECT_GT(replay.progress(), paused) << "play after pause resumes where it was";

    const int before = replay.progress();
    replay.press("playButton");
    ASSERT_TRUE(waitFor([&] { return replay.progress() != before; }));
    EXPECT_LT(replay.progress(), before) << "play while playing starts again from the first stroke";

    ASSERT_TRUE(waitFor([&] { return replay.screen->playbackStatus() == MovieViewController::Stopped; }, 15000));
    EXPECT_EQ(replay.progress(), 1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(replay.shown(), replay.painting->getPaintingImage().qimage().convertToFormat(QImage::Format_RGB32))
        << "the finished picture stays on screen";
    EXPECT_EQ(replay.window.navigation().topViewController(), replay.screen.get());
}

TEST(ReplayScreen, SpeedChangesShowAtOnceAndStopLeavesTheScreen)
{
    platform::ScopedDeviceProfile profile(platform::DeviceProfile::tablet());
    Replay replay(makeStrokePainting(3, 4));
    EXPECT_EQ(replay.speed(), "") << "the label is written only after a change";
    const struct {
        const char* control;
        const char* label;
    } steps[] = { { "fasterButton", "x3" }, { "fasterButton", "x4" }, { "slowerButton", "x3" }, { "slowerButton", "x2" },
        { "slowerButton", "x2" } };
    for (const auto& step : steps) {
        replay.press(step.control);
        EXPECT_EQ(replay.speed(), step.label) << step.control;
    }
    replay.press("stopButton");
    EXPECT_EQ(replay.screen->playbackStatus(), MovieViewController::Stopped);
    EXPECT_EQ(replay.window.navigation().topViewController(), replay.below.get());
    EXPECT_FALSE(replay.painting->isMovieMode());
}

TEST(ReplayScreen, APaintingWithoutStrokesStopsAtTheFirstTick)
{
    platform::ScopedDeviceProfile profile(platform::DeviceProfile::phone());
    Replay replay(makeStrokePainting(0));
    ASSERT_TRUE(waitFor([&] { return replay.screen->playbackStatus() == MovieViewController::Stopped; }));
    EXPECT_EQ(replay.progress(), 1000);
    EXPECT_EQ(replay.shown(), replay.painting->getPaintingImage().qimage().convertToFormat(QImage::Format_RGB32));
}
