#include "Classes/model/Painting.h"
#include "Classes/movie/VideoEncodeController.h"
#include "gallery/GalleryTestSupport.h"
#include "platform/graphics/Image.h"
#include "platform/ui/NavigationBar.h"
#include "tests/movie/DecodedMovie.h"
#include "tests/movie/MovieTestPaintings.h"
#include "tests/support/MovieProbe.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <gtest/gtest.h>

using namespace gallerytest;
using platform::ui::AlertView;

namespace {

const char* const savedMessage = "Movie has been saved to Photo Album.";
const char* const failedMessage = "Fail to create movie. Ensure not to close the app when encoding is in progress.";

// The export screen pushed over a plain screen, the way the gallery opens it.
struct ExportScreen {
    std::shared_ptr<platform::ui::ViewController> root = std::make_shared<platform::ui::ViewController>();
    GalleryWindow window { root };
    std::shared_ptr<VideoEncodeController> screen = std::make_shared<VideoEncodeController>();
    // Every progress text shown while waiting, in percent.
    std::vector<double> progress;

    explicit ExportScreen(std::unique_ptr<Painting> painting)
    {
        screen->setPainting(std::move(painting));
        navigation().pushViewController(screen, false);
        QCoreApplication::processEvents();
    }

    platform::ui::NavigationController& navigation() { return window.navigation(); }

    // Until `done` holds or an alert shows, noting the progress on the way.
    template<typename Condition>
    AlertView* waitUntil(Condition done)
    {
        waitFor([&] {
            const double percent = screen->progressLabel()->text().remove('%').toDouble();
            if (progress.empty() || progress.back() != percent)
                progress.push_back(percent);
            return done() || AlertView::current(screen.get());
        }, 120000);
        return AlertView::current(screen.get());
    }
    AlertView* waitForAlert() { return waitUntil([] { return false; }); }
};

}

TEST(VideoEncodeController, CreatesTheMovieOfOpeningReplayAndEndingInTheAlbum)
{
    const struct {
        const char* name;
        const char* device;
        int strokes;
        int leftTurns;
    } cases[] = {
        { "replay that ends at once", "tablet", 0, 0 },
        { "strokes on a tablet", "tablet", 8, 0 },
        { "strokes turned left on a retina phone", "retina-phone", 8, 1 },
        { "strokes turned upside down on a phone", "phone", 3, 2 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ScopedDeviceProfile profile(*platform::DeviceProfile::named(c.device));
        const float scale = c.device == std::string("retina-phone") ? 2 : 1;
        ScopedDocuments folders;
        auto painting = saveAndReload(makeStrokedPainting(192, 128, c.strokes));
        ASSERT_TRUE(painting);
        const platform::Image picture = *painting->paintingImage();
        const int replay = replayFrames(*saveAndReload(makeStrokedPainting(192, 128, c.strokes)));
        ExportScreen e(std::move(painting));
        for (int i = 0; i < c.leftTurns; ++i)
            clickWidget(*e.screen->rotateLeftButton());

        clickWidget(*e.screen->startButton());
        EXPECT_TRUE(e.screen->progressBarContainer()->isVisible());
        EXPECT_TRUE(e.navigation().isNavigationBarHidden());
        AlertView* alert = e.waitForAlert();
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->message(), savedMessage);
        EXPECT_EQ(alert->tag(), VideoEncodeController::alertTag);
        ASSERT_EQ(alert->buttonCount(), 1);
        EXPECT_EQ(e.screen->progressLabel()->text(), "100.0%");
        EXPECT_LE(*std::max_element(e.progress.begin(), e.progress.end()), 100.0);
        clickWidget(*alert->button(0));
        EXPECT_FALSE(e.screen->progressBarContainer()->isVisible());
        EXPECT_FALSE(e.navigation().isNavigationBarHidden());
        EXPECT_EQ(e.screen->navigationItem().rightBarButton(), e.screen->doneButton());
        EXPECT_EQ(folders.albumMovies().size(), 1);

        const auto movie = probeMovie(folders.albumMovie());
        ASSERT_TRUE(movie);
        const int frames = 30 + replay + 81;
        EXPECT_EQ(movie->presentationTimes.size(), size_t(frames));
        EXPECT_TRUE(movie->isAtSeconds(movie->duration, frames, 24));
        const bool odd = c.leftTurns % 2 == 1;
        EXPECT_EQ(movie->width, int((odd ? 128 : 192) * scale));
        EXPECT_EQ(movie->height, int((odd ? 192 : 128) * scale));
        EXPECT_GE(lumaPsnr(firstFrameLuma(folders.albumMovie()), pictureLuma(picture, c.leftTurns)), 35.0);
    }
}

TEST(VideoEncodeController, TurnsThePreviewAndTheFrameInQuarterTurns)
{
    ScopedDocuments folders;
    ExportScreen e(makeStrokedPainting(320, 208, 2));
    EXPECT_EQ(e.screen->title(), "Movie Export");
    EXPECT_EQ(e.screen->navigationItem().rightBarButton(), e.screen->cancelButton());
    const QRect upright = e.screen->sampleView()->geometry();
    QWidget* left = e.screen->rotateLeftButton();
    QWidget* right = e.screen->rotateRightButton();
    const struct {
        QWidget* button;
        int rotation;
    } steps[] = { { nullptr, 0 }, { left, 90 }, { right, 0 }, { left, 90 }, { left, 180 }, { left, 270 }, { left, 0 }, { right, 270 } };
    for (const auto& step : steps) {
        if (step.button) {
            clickWidget(*step.button);
        }
        SCOPED_TRACE(step.rotation);
        const bool turned = step.rotation % 180 != 0;
        EXPECT_EQ(e.screen->rotation(), step.rotation);
        EXPECT_EQ(e.screen->frameSize(), (turned ? platform::Size { 208, 320 } : platform::Size { 320, 208 }));
        EXPECT_EQ(e.screen->transform().isIdentity(), step.rotation == 0);
        const QRect preview = e.screen->sampleView()->geometry();
        EXPECT_NEAR(turned ? double(preview.height()) / preview.width() : double(preview.width()) / preview.height(), 320.0 / 208, 0.02);
        // The preview fits inside the screen however it is turned.
        EXPECT_TRUE(e.screen->rect().contains(preview.translated(e.screen->sampleView()->parentWidget()->pos())));
        if (step.rotation == 0) {
            EXPECT_EQ(preview, upright);
        }
    }
    EXPECT_EQ(e.screen->transform().map({ 0, 0 }), (platform::Point { 0, 320 }));

    clickWidget(*e.screen->cancelButton());
    EXPECT_EQ(e.navigation().topViewController(), e.root.get());
}

TEST(VideoEncodeController, EndsInTheFailureAlertWhenNoMovieReachesTheAlbum)
{
    const struct {
        const char* name;
        const char* blocked;
    } cases[] = {
        // The encoder cannot even start: Documents is not a folder.
        { "writer cannot start", "PINTARO_DOCUMENTS" },
        // The movie is written but the album cannot take it: the writer says
        // it finished, yet nothing was saved.
        { "album refuses the movie", "PINTARO_ALBUM" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedDocuments folders;
        auto painting = saveAndReload(makeStrokedPainting(128, 96, 2));
        ASSERT_TRUE(painting);
        ExportScreen e(std::move(painting));
        QFile blocker(folders.folder.filePath("blocker"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv(c.blocked, folders.folder.filePath("blocker/inside").toUtf8());

        clickWidget(*e.screen->startButton());
        AlertView* alert = e.waitForAlert();
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->message(), failedMessage);
        clickWidget(*alert->button(0));
        EXPECT_FALSE(e.screen->progressBarContainer()->isVisible());
        EXPECT_FALSE(e.screen->isEncodingInProgress());
        EXPECT_FALSE(e.screen->painting()->isMovieMode());
        qputenv("PINTARO_ALBUM", folders.folder.filePath("Album").toUtf8());
        EXPECT_EQ(folders.albumMovies().size(), 0);
        clickWidget(*e.screen->doneButton());
        EXPECT_EQ(e.navigation().topViewController(), e.root.get());
    }
}

TEST(VideoEncodeController, CreateMovieAgainDuringTheExportNeitherRestartsNorAddsAMovie)
{
    ScopedDocuments folders;
    ExportScreen e(saveAndReload(makeStrokedPainting(320, 240, 30)));
    const int replay = replayFrames(*saveAndReload(makeStrokedPainting(320, 240, 30)));
    e.screen->startButton()->setFocus();
    QTest::keyClick(e.screen->startButton(), Qt::Key_Space);
    ASSERT_TRUE(e.screen->isEncodingInProgress());
    // A click where the button was lands on the progress panel; a key that
    // still reaches the button must not start over.
    clickWidget(*e.screen->startButton());
    e.waitUntil([&] { return e.screen->progressLabel()->text() != "0.0%"; });
    QTest::keyClick(e.screen->startButton(), Qt::Key_Space);
    AlertView* alert = e.waitForAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), savedMessage);
    EXPECT_TRUE(std::is_sorted(e.progress.begin(), e.progress.end())) << "the progress only ever went up";
    clickWidget(*alert->button(0));
    EXPECT_EQ(AlertView::current(e.screen.get()), nullptr);
    EXPECT_EQ(folders.albumMovies().size(), 1);
    const auto movie = probeMovie(folders.albumMovie());
    ASSERT_TRUE(movie);
    EXPECT_EQ(movie->presentationTimes.size(), size_t(111 + replay));
}

TEST(VideoEncodeController, ClosingTheWindowMidExportAsksAndStoppingLeavesNoMovie)
{
    ScopedDocuments folders;
    // Large enough that the export is still running when the window is closed.
    ExportScreen e(saveAndReload(makeStrokedPainting(768, 976, 40)));
    clickWidget(*e.screen->startButton());
    ASSERT_TRUE(e.screen->isEncodingInProgress());

    e.window.window.close();
    AlertView* question = AlertView::current(e.screen.get());
    ASSERT_TRUE(question);
    clickWidget(*question->button(0)); // keep going
    EXPECT_TRUE(e.window.window.isVisible());
    EXPECT_TRUE(e.screen->isEncodingInProgress());

    e.window.window.close();
    question = AlertView::current(e.screen.get());
    ASSERT_TRUE(question);
    clickWidget(*question->button(1)); // stop and close
    EXPECT_FALSE(e.window.window.isVisible());
    EXPECT_FALSE(e.screen->isEncodingInProgress());
    EXPECT_FALSE(e.screen->painting()->isMovieMode());
    // No alert follows, no movie is left half-written in Documents or the album.
    QTest::qWait(100);
    EXPECT_EQ(AlertView::current(e.screen.get()), nullptr);
    EXPECT_FALSE(QFile::exists(folders.folder.filePath("video.mp4")));
    EXPECT_EQ(folders.albumMovies().size(), 0);
}
