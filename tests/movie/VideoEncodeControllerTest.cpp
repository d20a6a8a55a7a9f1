#include "Classes/model/Painting.h"
#include "Classes/movie/VideoEncodeController.h"
#include "platform/graphics/Image.h"
#include "platform/media/PhotoAlbum.h"
#include "platform/system/Device.h"
#include "platform/system/FileLocations.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "tests/movie/DecodedMovie.h"
#include "tests/movie/MovieTestPaintings.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using platform::ui::AlertView;

namespace {

const char* const savedMessage = "Movie has been saved to Photo Album.";
const char* const failedMessage = "Fail to create movie. Ensure not to close the app when encoding is in progress.";

void clickWidget(QWidget& widget)
{
    QTest::mouseClick(widget.window()->windowHandle(), Qt::LeftButton, {},
        widget.mapTo(widget.window(), widget.rect().center()));
    QCoreApplication::processEvents();
}

// The export screen pushed over a plain screen in a window of the profile's
// size, the way the gallery opens it.
struct ExportScreen {
    std::shared_ptr<platform::ui::ViewController> root = std::make_shared<platform::ui::ViewController>();
    platform::ui::MainWindow window { root };
    std::shared_ptr<VideoEncodeController> screen = std::make_shared<VideoEncodeController>();
    // Every progress text shown while waiting.
    QStringList progressTexts;

    explicit ExportScreen(std::unique_ptr<Painting> painting)
    {
        const platform::Size size = platform::Device::current().screenSize;
        window.resize(int(size.width), int(size.height));
        window.show();
        screen->setPainting(std::move(painting));
        window.navigationController().pushViewController(screen, false);
        QCoreApplication::processEvents();
    }

    platform::ui::NavigationController& navigation() { return window.navigationController(); }

    // Until the label shows some progress or the export has ended.
    void waitForProgress()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (std::chrono::steady_clock::now() < deadline && screen->progressLabel()->text() == "0.0%"
            && !AlertView::current(screen.get())) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        progressTexts << screen->progressLabel()->text();
    }

    AlertView* waitForAlert()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (std::chrono::steady_clock::now() < deadline) {
            QCoreApplication::processEvents();
            const QString text = screen->progressLabel()->text();
            if (progressTexts.isEmpty() || progressTexts.back() != text)
                progressTexts << text;
            if (AlertView* alert = AlertView::current(screen.get()))
                return alert;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return nullptr;
    }

    // The most the progress label ever said, in percent.
    double highestProgress() const
    {
        double highest = 0;
        for (QString text : progressTexts)
            highest = std::max(highest, text.remove('%').toDouble());
        return highest;
    }
};

// The picture's luma as the movie should show it after `turns` left turns.
std::vector<unsigned char> expectedLuma(const platform::Image& picture, int turns)
{
    const QImage turned = picture.qimage().transformed(QTransform().rotate(-90 * turns)).convertToFormat(QImage::Format_RGB32);
    std::vector<unsigned char> luma;
    for (int y = 0; y < turned.height(); ++y) {
        for (int x = 0; x < turned.width(); ++x) {
            const QRgb p = turned.pixel(x, y);
            const double value = 0.2126 * qRed(p) + 0.7152 * qGreen(p) + 0.0722 * qBlue(p);
            luma.push_back(static_cast<unsigned char>(std::lround(16 + value * 219 / 255)));
        }
    }
    return luma;
}

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
        MovieFolders folders;
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
        EXPECT_LE(e.highestProgress(), 100.0);
        clickWidget(*alert->button(0));
        EXPECT_FALSE(e.screen->progressBarContainer()->isVisible());
        EXPECT_FALSE(e.navigation().isNavigationBarHidden());
        EXPECT_EQ(e.screen->navigationItem().rightBarButton(), e.screen->doneButton());
        EXPECT_EQ(folders.albumMovies(), 1);

        const QStringList movies = QDir(platform::PhotoAlbum::videosDirectory()).entryList(QDir::Files);
        ASSERT_EQ(movies.size(), 1);
        const auto movie = decodeMovie(QDir(platform::PhotoAlbum::videosDirectory()).filePath(movies[0]), { 0 });
        ASSERT_TRUE(movie);
        EXPECT_EQ(movie->frames, 30 + replay + 81);
        EXPECT_DOUBLE_EQ(movie->framesPerSecond, 24.0);
        const bool odd = c.leftTurns % 2 == 1;
        EXPECT_EQ(movie->width, int((odd ? 128 : 192) * scale));
        EXPECT_EQ(movie->height, int((odd ? 192 : 128) * scale));
        EXPECT_GE(lumaPsnr(movie->luma[0], expectedLuma(picture, c.leftTurns)), 35.0);
    }
}

TEST(VideoEncodeController, TurnsThePreviewAndTheFrameInQuarterTurns)
{
    MovieFolders folders;
    ExportScreen e(makeStrokedPainting(320, 208, 2));
    EXPECT_EQ(e.screen->title(), "Movie Export");
    EXPECT_EQ(e.screen->navigationItem().rightBarButton(), e.screen->cancelButton());
    const QRect firstPreview = e.screen->sampleView()->geometry();
    EXPECT_NEAR(double(firstPreview.width()) / firstPreview.height(), 320.0 / 208, 0.02);

    clickWidget(*e.screen->rotateLeftButton());
    EXPECT_EQ(e.screen->rotation(), 90);
    EXPECT_EQ(e.screen->frameSize(), (platform::Size { 208, 320 }));
    const QRect turned = e.screen->sampleView()->geometry();
    EXPECT_NEAR(double(turned.height()) / turned.width(), 320.0 / 208, 0.02);
    // The preview fits inside the screen however it is turned.
    EXPECT_TRUE(e.screen->rect().contains(turned.translated(e.screen->sampleView()->parentWidget()->pos())));
    clickWidget(*e.screen->rotateRightButton());
    EXPECT_EQ(e.screen->sampleView()->geometry(), firstPreview);
    EXPECT_EQ(e.screen->rotation(), 0);

    for (int i = 0; i < 4; ++i)
        clickWidget(*e.screen->rotateLeftButton());
    EXPECT_EQ(e.screen->rotation(), 0);
    EXPECT_EQ(e.screen->frameSize(), (platform::Size { 320, 208 }));
    EXPECT_TRUE(e.screen->transform().isIdentity());
    EXPECT_EQ(e.screen->sampleView()->geometry(), firstPreview);

    clickWidget(*e.screen->rotateRightButton());
    EXPECT_EQ(e.screen->rotation(), 270);
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
        MovieFolders folders;
        auto painting = saveAndReload(makeStrokedPainting(128, 96, 2));
        ASSERT_TRUE(painting);
        ExportScreen e(std::move(painting));
        QFile blocker(folders.root.filePath("blocker"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv(c.blocked, folders.root.filePath("blocker/inside").toUtf8());

        clickWidget(*e.screen->startButton());
        AlertView* alert = e.waitForAlert();
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->message(), failedMessage);
        clickWidget(*alert->button(0));
        EXPECT_FALSE(e.screen->progressBarContainer()->isVisible());
        EXPECT_FALSE(e.screen->isEncodingInProgress());
        EXPECT_FALSE(e.screen->painting()->isMovieMode());
        qputenv("PINTARO_ALBUM", folders.root.filePath("Album").toUtf8());
        EXPECT_EQ(folders.albumMovies(), 0);
        clickWidget(*e.screen->doneButton());
        EXPECT_EQ(e.navigation().topViewController(), e.root.get());
    }
}

TEST(VideoEncodeController, CreateMovieAgainDuringTheExportNeitherRestartsNorAddsAMovie)
{
    MovieFolders folders;
    ExportScreen e(saveAndReload(makeStrokedPainting(320, 240, 30)));
    const int replay = replayFrames(*saveAndReload(makeStrokedPainting(320, 240, 30)));
    e.screen->startButton()->setFocus();
    QTest::keyClick(e.screen->startButton(), Qt::Key_Space);
    ASSERT_TRUE(e.screen->isEncodingInProgress());
    // A click where the button was lands on the progress panel; a key that
    // still reaches the button must not start over.
    clickWidget(*e.screen->startButton());
    e.waitForProgress();
    QTest::keyClick(e.screen->startButton(), Qt::Key_Space);
    AlertView* alert = e.waitForAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->message(), savedMessage);
    // The progress only ever went up.
    double previous = 0;
    for (QString text : e.progressTexts) {
        const double percent = text.remove('%').toDouble();
        EXPECT_GE(percent, previous);
        previous = percent;
    }
    clickWidget(*alert->button(0));
    EXPECT_EQ(AlertView::current(e.screen.get()), nullptr);
    EXPECT_EQ(folders.albumMovies(), 1);
    const QStringList movies = QDir(platform::PhotoAlbum::videosDirectory()).entryList(QDir::Files);
    ASSERT_EQ(movies.size(), 1);
    EXPECT_EQ(decodeMovie(QDir(platform::PhotoAlbum::videosDirectory()).filePath(movies[0]), {})->frames, 111 + replay);
}

TEST(VideoEncodeController, ClosingTheWindowMidExportAsksAndStoppingLeavesNoMovie)
{
    MovieFolders folders;
    // Large enough that the export is still running when the window is closed.
    ExportScreen e(saveAndReload(makeStrokedPainting(768, 976, 40)));
    clickWidget(*e.screen->startButton());
    ASSERT_TRUE(e.screen->isEncodingInProgress());

    e.window.close();
    AlertView* question = AlertView::current(e.screen.get());
    ASSERT_TRUE(question);
    clickWidget(*question->button(0)); // keep going
    EXPECT_TRUE(e.window.isVisible());
    EXPECT_TRUE(e.screen->isEncodingInProgress());

    e.window.close();
    question = AlertView::current(e.screen.get());
    ASSERT_TRUE(question);
    clickWidget(*question->button(1)); // stop and close
    EXPECT_FALSE(e.window.isVisible());
    EXPECT_FALSE(e.screen->isEncodingInProgress());
    EXPECT_FALSE(e.screen->painting()->isMovieMode());
    // No alert follows, no movie is left half-written in Documents or the album.
    for (int i = 0; i < 20; ++i) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_EQ(AlertView::current(e.screen.get()), nullptr);
    EXPECT_FALSE(QFile::exists(platform::FileLocations::documentPath("video.mp4")));
    EXPECT_EQ(folders.albumMovies(), 0);
}
