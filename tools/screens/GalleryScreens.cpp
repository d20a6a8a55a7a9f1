// The gallery: the thumbnail grid empty, with a few paintings and in delete
// mode with one painting marked; the pager with its bars and without; and
// the replay screen in the middle of a replay.
#include "ScreenShots.h"

#include "Classes/gallery/GalleryPage.h"
#include "Classes/gallery/PaintingGalleryViewController.h"
#include "Classes/gallery/PaintingThumbnailViewController.h"
#include "Classes/gallery/ThumbnailImageView.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingManager.h"
#include "Classes/movie/MovieViewController.h"
#include "platform/system/Device.h"
#include "platform/system/DispatchQueue.h"
#include "platform/system/Random.h"
#include "platform/ui/Animation.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/NavigationController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QProgressBar>
#include <QThread>
#include <QToolButton>
#include <cmath>

namespace {

// Saves a handful of bright paintings through the painting list, each with
// its own brushes, mirror mode and background.
void savePaintings(int count)
{
    platform::srand(5);
    platform::srandom(5);
    PaintingManager manager;
    int second = 0;
    manager.setClock([&second] { return QDateTime(QDate(2014, 6, 1), QTime(8, 0, 0)).addSecs(second); });
    const platform::Size screen = platform::Device::current().screenSize;
    const platform::Size size { screen.width, screen.height - 44 };
    const int brushes[] = { 37, 34, 24, 11, 13, 35 };
    const int modes[] = { 9, 0, 5, 2, 7, 3 };
    const platform::Color backgrounds[] = { platform::Color::black(), platform::Color::rgba(0.08f, 0.1f, 0.25f),
        platform::Color::white(), platform::Color::rgba(0.15f, 0.05f, 0.2f) };
    for (int n = 0; n < count; ++n) {
        Painting painting(size);
        painting.addTransparentLayer();
        painting.setBackgroundColor(backgrounds[n % 4]);
        painting.setMirrixMode(modes[n % 6]);
        for (int s = 0; s < 5; ++s) {
            painting.switchBrush(brushes[(n + s) % 6]);
            const float cx = size.width * (0.35f + 0.3f * float((s * 7 + n) % 5) / 4);
            const float cy = size.height * (0.3f + 0.4f * float((s * 3 + n) % 4) / 3);
            const auto at = [&](int i) {
                const float angle = float(i) * 0.5f + float(s + n);
                const float radius = size.width * (0.1f + 0.03f * float((s + n) % 3));
                return platform::Point { cx + radius * std::cos(angle), cy + radius * std::sin(angle) * 1.3f };
            };
            painting.strokeFrom(at(0));
            for (int i = 1; i < 12; ++i)
                painting.strokeTo(at(i));
            painting.strokeEnd(at(12));
        }
        painting.setPaintingImage(painting.getPaintingImage());
        manager.savePainting(painting, nullptr, nullptr);
        platform::DispatchQueue::global().waitUntilIdle();
        platform::DispatchQueue::mainQueue().waitUntilIdle();
        ++second;
    }
}

void settle(int milliseconds = 0)
{
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    } while (timer.elapsed() < milliseconds);
}

void pressOn(QWidget& widget, int holdMilliseconds)
{
    const QPointF centre = widget.rect().center();
    const QPointF global = widget.mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
    settle(holdMilliseconds);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &release);
    settle();
}

ThumbnailImageView* cellAt(PaintingThumbnailViewController& grid, int index)
{
    for (ThumbnailImageView* cell : grid.visibleCells()) {
        if (cell->index() == index)
            return cell;
    }
    return nullptr;
}

struct Window {
    explicit Window(std::shared_ptr<platform::ui::ViewController> root)
        : window(std::move(root))
    {
        platform::ui::setAnimationsEnabled(false);
        const platform::Size size = platform::Device::current().screenSize;
        window.resize(int(size.width), int(size.height));
        window.show();
        settle();
    }
    platform::ui::MainWindow window;
};

QStringList gridScreens(const ScreenShotContext& c)
{
    QStringList paths;
    {
        auto grid = platform::ui::makeScreen<PaintingThumbnailViewController>();
        Window window(grid);
        paths << saveWidget(window.window, c, "gallery-grid-empty");
    }
    savePaintings(7);
    auto grid = platform::ui::makeScreen<PaintingThumbnailViewController>();
    Window window(grid);
    // The thumbnails arrive from the disk a moment after the cells.
    platform::DispatchQueue::global().waitUntilIdle();
    settle(50);
    paths << saveWidget(window.window, c, "gallery-grid");
    if (ThumbnailImageView* cell = cellAt(*grid, 1)) {
        pressOn(*cell, 700);
        paths << saveWidget(window.window, c, "gallery-grid-delete-mode");
        pressOn(*cell, 0);
        settle(50);
        paths << saveWidget(window.window, c, "gallery-grid-delete-asking");
    }
    return paths;
}

QStringList pagerScreens(const ScreenShotContext& c)
{
    savePaintings(3);
    auto root = std::make_shared<platform::ui::ViewController>();
    Window window(root);
    auto pager = platform::ui::makeScreen<PaintingGalleryViewController>();
    pager->setShowedIndex(1);
    window.window.navigationController().pushViewController(pager, false);
    settle();
    QStringList paths { saveWidget(window.window, c, "gallery-pager") };
    for (GalleryPage* page : pager->visiblePages()) {
        pressOn(*page, 0);
        break;
    }
    paths << saveWidget(window.window, c, "gallery-pager-bars-hidden");

    auto replay = platform::ui::makeScreen<MovieViewController>();
    replay->setMPainting(Painting::initWithContentsOfFile(pager->paintingManager()->paintingList()[1]->paintingName()));
    window.window.navigationController().pushViewController(replay, false);
    auto* progress = replay->findChild<QProgressBar*>(QStringLiteral("movieProgressSlider"));
    QElapsedTimer timer;
    timer.start();
    while (progress->value() < 450 && timer.elapsed() < 20000)
        settle(5);
    replay->findChild<QToolButton*>(QStringLiteral("fasterButton"))->click();
    replay->findChild<QToolButton*>(QStringLiteral("pauseButton"))->click();
    settle(50);
    paths << saveWidget(window.window, c, "replay-paused");
    return paths;
}

}

static ScreenShotSet gridSet("gallery-grid", gridScreens);
static ScreenShotSet pagerSet("gallery-pager", pagerScreens);
