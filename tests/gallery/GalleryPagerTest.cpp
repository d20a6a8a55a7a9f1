#include "Classes/editor/PintaroViewController.h"
#include "Classes/gallery/GalleryPage.h"
#include "Classes/gallery/PaintingGalleryViewController.h"
#include "Classes/model/PaintingItem.h"
#include "Classes/movie/MovieViewController.h"
#include "Classes/movie/VideoEncodeController.h"
#include "GalleryTestSupport.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Toolbar.h"

#include <QGraphicsOpacityEffect>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace gallerytest;
using platform::DeviceProfile;

namespace {

// The pager opened from a screen below it, at the given painting.
struct Pager {
    explicit Pager(unsigned index)
    {
        screen->setShowedIndex(index);
        window.navigation().pushViewController(screen, false);
        QCoreApplication::processEvents();
    }
    std::shared_ptr<platform::ui::ViewController> below = std::make_shared<platform::ui::ViewController>();
    std::shared_ptr<PaintingGalleryViewController> screen = platform::ui::makeScreen<PaintingGalleryViewController>();
    GalleryWindow window { below };

    QWidget& topWindow() { return window.window; }
    GalleryPage* shownPage()
    {
        const int left = screen->pagingScrollView()->horizontalScrollBar()->value();
        for (GalleryPage* page : screen->visiblePages()) {
            if (page->isVisible() && page->x() > left && page->x() < left + screen->pagingScrollView()->width())
                return page;
        }
        return nullptr;
    }
    QString shownName() { return shownPage() ? shownPage()->paintingItem()->paintingName() : QString(); }
    void press(const char* control, bool settle = true) { clickWidget(*barButtonNamed(window.window, QString::fromLatin1(control)), settle); }
    qreal opacity(QWidget& bar)
    {
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(bar.graphicsEffect());
        return effect ? effect->opacity() : 1;
    }
};

}

TEST(GalleryPager, PagesOneAtATimeWithKeysAndWheelTitledPageOfCount)
{
    for (const DeviceProfile& device : { DeviceProfile::phone(), DeviceProfile::tablet() }) {
        SCOPED_TRACE(device.name);
        platform::ScopedDeviceProfile profile(device);
        ScopedDocuments documents;
        const QStringList names = savePaintings(3, 1);
        Pager pager(0);
        EXPECT_EQ(pager.screen->title(), "1/3");
        EXPECT_EQ(pager.window.navigation().navigationBar().title(), "1/3");
        // Each slot is the screen's width plus a gap on either side; the
        // picture shows at its own size, 10 points into its slot.
        const int slot = static_cast<int>(device.screenSize.width) + 20;
        ASSERT_TRUE(pager.shownPage());
        EXPECT_EQ(pager.shownPage()->pos(), QPoint(10, 0));
        EXPECT_EQ(pager.shownPage()->size(), QSize(static_cast<int>(device.screenSize.width), static_cast<int>(device.screenSize.height) - 44));
        EXPECT_EQ(pager.screen->visiblePages().size(), 1u) << "one page in view, and none around it";

        const struct {
            Qt::Key key;
            const char* title;
        } steps[] = { { Qt::Key_Right, "2/3" }, { Qt::Key_Right, "3/3" }, { Qt::Key_Right, "3/3" }, { Qt::Key_Left, "2/3" } };
        for (const auto& step : steps) {
            keyInto(pager.topWindow(), step.key);
            EXPECT_EQ(pager.screen->title(), step.title);
        }
        EXPECT_EQ(pager.screen->pagingScrollView()->horizontalScrollBar()->value(), slot);
        EXPECT_EQ(pager.shownName(), names[1]);
        wheelOver(*pager.screen->pagingScrollView()->viewport(), 1);
        EXPECT_EQ(pager.screen->title(), "3/3");
        EXPECT_EQ(pager.shownName(), names[2]);
        // Only the page in view keeps its full-size picture.
        int loaded = 0;
        for (const auto& item : pager.screen->paintingManager()->paintingList())
            loaded += item->fullSizeImage() ? 1 : 0;
        EXPECT_EQ(loaded, 1);
    }
}

TEST(GalleryPager, ADragSnapsToTheNextPage)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    const QStringList names = savePaintings(3, 1);
    Pager pager(0);
    // However fast the swipe, it turns one page.
    dragWidget(*pager.shownPage(), QPoint(-120, 0));
    ASSERT_TRUE(waitFor([&] { return pager.screen->pagingScrollView()->horizontalScrollBar()->value() == 340; }));
    EXPECT_EQ(pager.screen->title(), "2/3");
    EXPECT_EQ(pager.shownName(), names[1]);
    EXPECT_FALSE(pager.screen->barHidden()) << "a drag is no tap";
}

TEST(GalleryPager, OpensAtTheNewLastPaintingWhenTheListShrankMeanwhile)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    const QStringList names = savePaintings(3, 1);
    ASSERT_TRUE(removePainting(names[0]));
    Pager pager(2);
    EXPECT_EQ(pager.screen->title(), "2/2");
    EXPECT_EQ(pager.shownName(), names[2]);
}

TEST(GalleryPager, DeletingTheMiddleOfThreeShowsTheFormerThirdAndTheLastDeletionLeaves)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::tablet());
    ScopedDocuments documents;
    const QStringList names = savePaintings(3, 1);
    Pager pager(1);
    EXPECT_EQ(pager.screen->title(), "2/3");

    pager.press("Delete Painting");
    ASSERT_TRUE(answerSheet(pager.topWindow(), "Cancel"));
    EXPECT_EQ(pager.screen->title(), "2/3") << "cancel deletes nothing";
    pager.press("Delete Painting");
    ASSERT_TRUE(answerSheet(pager.topWindow(), "Delete Painting"));
    EXPECT_EQ(pager.screen->title(), "2/2");
    EXPECT_EQ(pager.shownName(), names[2]);
    EXPECT_FALSE(QFile::exists(documents.file(names[1] + ".stk")));

    for (int left = 2; left > 0; --left) {
        pager.press("Delete Painting");
        ASSERT_TRUE(answerSheet(pager.topWindow(), "Delete Painting"));
    }
    EXPECT_EQ(pager.window.navigation().topViewController(), pager.below.get()) << "no painting left to show";
}

TEST(GalleryPager, TapsOnThePictureFadeBothBarsOutAndIn)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    savePaintings(2, 1);
    Pager pager(0);
    QWidget& navigationBar = pager.window.navigation().navigationBar();
    QWidget& toolbar = *pager.screen->findChild<platform::ui::Toolbar*>();
    clickWidget(*pager.shownPage());
    EXPECT_TRUE(pager.screen->barHidden());
    EXPECT_EQ(pager.opacity(navigationBar), 0);
    EXPECT_EQ(pager.opacity(toolbar), 0);
    clickWidget(*pager.shownPage());
    EXPECT_FALSE(pager.screen->barHidden());
    EXPECT_EQ(pager.opacity(navigationBar), 1);
    EXPECT_EQ(pager.opacity(toolbar), 1);
}

TEST(GalleryPager, SavesTheShownPictureToTheAlbum)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    savePaintings(2, 1);
    Pager pager(1);
    pager.press("Save Picture to Album");
    ASSERT_TRUE(answerSheet(pager.topWindow(), "Save Picture to Album", false));
    EXPECT_TRUE(pager.screen->isBusy());
    ASSERT_TRUE(waitFor([&] { return !pager.screen->isBusy(); }));
    ASSERT_EQ(documents.albumPictures().size(), 1);
    const QImage saved(documents.folder.path() + "/Album/Pictures/Pintaro/" + documents.albumPictures().front());
    EXPECT_EQ(saved.size(), QSize(320, 436));
}

TEST(GalleryPager, ReplayAndMovieExportOpenTheirScreensWithThePaintingReadFromItsFiles)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    savePaintings(2, 3);
    const auto strokes = [](Painting* painting) { return painting ? painting->layerArray().front()->strokeList().size() : 0u; };
    struct Case {
        const char* control;
        const char* confirm; // the sheet's button, when the control asks first
        std::function<Painting*(platform::ui::ViewController*)> opened;
    };
    const Case cases[] = {
        { "Play", nullptr,
            [](platform::ui::ViewController* top) {
                auto* replay = dynamic_cast<MovieViewController*>(top);
                return replay ? replay->mPainting().get() : nullptr;
            } },
        { "Save Movie to Album", "Save Movie to Album",
            [](platform::ui::ViewController* top) {
                auto* exporter = dynamic_cast<VideoEncodeController*>(top);
                return exporter ? exporter->painting() : nullptr;
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        Pager pager(1);
        pager.press(c.control, c.confirm != nullptr);
        if (c.confirm) {
            ASSERT_TRUE(answerSheet(pager.topWindow(), c.confirm, false));
        }
        EXPECT_TRUE(pager.screen->isBusy()) << "input waits while the painting loads";
        ASSERT_TRUE(waitFor([&] { return c.opened(pager.window.navigation().topViewController()) != nullptr; }));
        EXPECT_EQ(strokes(c.opened(pager.window.navigation().topViewController())), 4u);
        EXPECT_FALSE(pager.screen->isBusy());
    }
}

TEST(GalleryPager, AnUnreadablePaintingEndsTheLoadWithAnAlertAndLeavesThePagerUsable)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    const QStringList names = savePaintings(2, 1);
    // The newest painting is damaged, so that it stays last in the list, or
    // its stroke file goes while the pager shows it.
    for (const char* bytes : std::initializer_list<const char*> { "", "damaged", nullptr }) {
        SCOPED_TRACE(bytes ? bytes : "missing");
        const QString strokeFile = documents.file(names[1] + ".stk");
        QFile stroke(strokeFile);
        if (bytes) {
            ASSERT_TRUE(stroke.open(QIODevice::WriteOnly | QIODevice::Truncate));
            stroke.write(bytes);
            stroke.close();
        }
        Pager pager(1);
        if (!bytes) {
            ASSERT_TRUE(QFile::remove(strokeFile));
        }
        pager.press("Play");
        ASSERT_TRUE(waitFor([&] { return platform::ui::AlertView::current(&pager.topWindow()) != nullptr; }));
        EXPECT_FALSE(pager.screen->isBusy());
        EXPECT_EQ(pager.window.navigation().topViewController(), pager.screen.get());
        clickWidget(*platform::ui::AlertView::current(&pager.topWindow())->button(0));
        keyInto(pager.topWindow(), Qt::Key_Left);
        EXPECT_EQ(pager.screen->title(), "1/2") << "the pager pages again";
        pager.press("Play");
        ASSERT_TRUE(waitFor([&] { return dynamic_cast<MovieViewController*>(pager.window.navigation().topViewController()) != nullptr; }));
    }
}

TEST(GalleryPager, EditOpensTheEditorWithThePaintingItsListEntryAndTheList)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::tablet());
    ScopedDocuments documents;
    const QStringList names = savePaintings(2, 2);
    Pager pager(1);
    pager.press("Edit", false);
    EXPECT_TRUE(pager.screen->isBusy());
    ASSERT_TRUE(waitFor([&] { return dynamic_cast<PintaroViewController*>(pager.window.navigation().topViewController()) != nullptr; }));
    auto* editor = static_cast<PintaroViewController*>(pager.window.navigation().topViewController());
    ASSERT_TRUE(editor->mPainting() && editor->paintingInfo());
    EXPECT_EQ(editor->mPainting()->layerArray().front()->strokeList().size(), 3u);
    EXPECT_EQ(editor->paintingInfo()->paintingName(), names[1]);
    EXPECT_EQ(editor->paintingManager(), pager.screen->paintingManager());
}
