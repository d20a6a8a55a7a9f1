#include "Classes/editor/PintaroViewController.h"
#include "Classes/gallery/PaintingGalleryViewController.h"
#include "Classes/gallery/PaintingThumbnailViewController.h"
#include "Classes/gallery/ThumbnailImageView.h"
#include "GalleryTestSupport.h"
#include "platform/ui/NavigationBar.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <gtest/gtest.h>

using namespace gallerytest;
using platform::DeviceProfile;

namespace {

struct Grid {
    std::shared_ptr<PaintingThumbnailViewController> screen = platform::ui::makeScreen<PaintingThumbnailViewController>();
    GalleryWindow window { screen };

    QLabel& countLabel() { return *screen->findChild<QLabel*>(QStringLiteral("paintingCountInfoLabel")); }
    ThumbnailImageView* cell(int index)
    {
        for (ThumbnailImageView* cell : screen->visibleCells()) {
            if (cell->index() == index)
                return cell;
        }
        return nullptr;
    }
    std::vector<int> shownIndices()
    {
        std::vector<int> indices;
        for (ThumbnailImageView* cell : screen->visibleCells()) {
            EXPECT_TRUE(cell->isVisible());
            indices.push_back(cell->index());
        }
        std::sort(indices.begin(), indices.end());
        return indices;
    }
    int scrollTop() { return screen->thumbnailScrollView()->verticalScrollBar()->value(); }
    bool overlayShown(ThumbnailImageView& cell, const char* name)
    {
        auto* overlay = cell.findChild<QWidget*>(QString::fromLatin1(name));
        return overlay && overlay->isVisible();
    }
};

std::vector<int> range(int first, int last)
{
    std::vector<int> values;
    for (int i = first; i <= last; ++i)
        values.push_back(i);
    return values;
}

}

TEST(ThumbnailGrid, CellsRowsContentAndCountLabelFollowTheDeviceGeometry)
{
    struct Case {
        DeviceProfile profile;
        int paintings;
        int padding;
        int side;
    };
    for (const Case& c : { Case { DeviceProfile::phone(), 5, 4, 75 }, Case { DeviceProfile::tablet(), 6, 8, 182 } }) {
        SCOPED_TRACE(c.profile.name);
        platform::ScopedDeviceProfile profile(c.profile);
        ScopedDocuments documents;
        savePaintings(c.paintings, 1);
        Grid grid;
        const int p = c.padding;
        const int t = c.side;
        EXPECT_EQ(grid.cell(0)->geometry(), QRect(p, p, t, t));
        EXPECT_EQ(grid.cell(3)->geometry(), QRect(3 * t + 4 * p, p, t, t));
        EXPECT_EQ(grid.cell(4)->geometry(), QRect(p, t + 2 * p, t, t));
        // Two rows, each with the padding above it, then the label just under them.
        const int label = grid.countLabel().height();
        const platform::Size content = grid.screen->contentSizeForScrollView();
        EXPECT_EQ(QSizeF(content.width, content.height), QSizeF(c.profile.screenSize.width, 2 * (p + t) + label));
        EXPECT_EQ(grid.countLabel().geometry().bottom() + 1, 2 * (p + t) + label);
        EXPECT_EQ(grid.countLabel().text(), QStringLiteral("%1 paintings").arg(c.paintings));
        EXPECT_EQ(grid.screen->title(), "Gallery");
        EXPECT_TRUE(waitFor([&] { return grid.cell(0)->hasThumbnail(); })) << "the thumbnail arrives from the disk";
    }
}

TEST(ThumbnailGrid, EmptyGalleryCentresTheCountAboveTheMiddle)
{
    for (const DeviceProfile& device : { DeviceProfile::phone(), DeviceProfile::tablet() }) {
        SCOPED_TRACE(device.name);
        platform::ScopedDeviceProfile profile(device);
        ScopedDocuments documents;
        Grid grid;
        QLabel& label = grid.countLabel();
        EXPECT_EQ(label.text(), "0 paintings");
        EXPECT_FALSE(label.visibleRegion().isEmpty()) << "the label is not cut off by the empty grid";
        EXPECT_TRUE(grid.screen->visibleCells().empty());
        EXPECT_EQ(label.x(), static_cast<int>(device.screenSize.width / 2 - label.width() / 2.0f));
        EXPECT_EQ(label.y(), static_cast<int>(device.screenSize.height / 2 - label.height() / 2.0f - 20));
    }
}

TEST(ThumbnailGrid, OnlyTheRowsInViewHaveCellsWhileScrollingAndCellsAreReused)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    const int count = 300;
    savePaintingCopies(count);
    Grid grid;
    const int pitch = 79;
    QScrollArea& scrollView = *grid.screen->thumbnailScrollView();
    const int viewHeight = scrollView.viewport()->height();
    // The rows in view and the first cell of the row below them.
    const auto expected = [&](int top) {
        const int first = top / pitch * 4;
        const int last = std::min(count - 1, ((top + viewHeight - 1) / pitch + 1) * 4);
        return range(first, last);
    };
    EXPECT_EQ(grid.shownIndices(), expected(0));
    size_t mostCells = 0;
    for (int step = 0; step < 40 && grid.scrollTop() < scrollView.verticalScrollBar()->maximum(); ++step) {
        wheelOver(*scrollView.viewport(), 3);
        ASSERT_EQ(grid.shownIndices(), expected(grid.scrollTop())) << "at " << grid.scrollTop();
        mostCells = std::max(mostCells, grid.screen->visibleCells().size() + grid.screen->recycledCells().size());
    }
    EXPECT_EQ(grid.scrollTop(), scrollView.verticalScrollBar()->maximum()) << "the wheel reaches the last row";
    EXPECT_EQ(grid.shownIndices().back(), count - 1);
    // Every cell ever made is in use or ready for reuse, and there are only
    // about a screenful of them; recycled cells hold no picture.
    EXPECT_LE(mostCells, expected(0).size() + 8);
    for (ThumbnailImageView* cell : grid.screen->recycledCells())
        EXPECT_FALSE(cell->hasThumbnail());
    // Thumbnails read for cells that have since scrolled away are not kept.
    ASSERT_TRUE(waitFor([&] {
        return std::all_of(grid.screen->visibleCells().begin(), grid.screen->visibleCells().end(),
            [](ThumbnailImageView* cell) { return cell->hasThumbnail(); });
    }));
    platform::DispatchQueue::global().waitUntilIdle();
    QCoreApplication::processEvents();
    int loadedThumbnails = 0;
    for (const auto& item : grid.screen->paintingManager()->paintingList())
        loadedThumbnails += item->thumbnailImage() ? 1 : 0;
    EXPECT_LE(loadedThumbnails, static_cast<int>(mostCells)) << "thumbnails are dropped with their cells";
}

TEST(ThumbnailGrid, DeleteModeMarksCellsAsksForEachAndDeletesOneAtATime)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    const QStringList names = savePaintingCopies(40);
    Grid grid;
    QWidget& window = grid.window.window;

    longPressWidget(*grid.cell(1));
    ASSERT_TRUE(grid.screen->isDeleteMode());
    EXPECT_EQ(grid.screen->title(), "Delete Painting");
    EXPECT_FALSE(platform::ui::ActionSheet::current(&window)) << "the long press marks nothing";
    for (ThumbnailImageView* cell : grid.screen->visibleCells())
        EXPECT_TRUE(grid.overlayShown(*cell, "checkedSign")) << cell->index();
    ASSERT_TRUE(barButtonNamed(*grid.screen, "Cancel"));

    // Cells that scroll into view, new or reused, show the overlay too.
    wheelOver(*grid.screen->thumbnailScrollView()->viewport(), 6);
    ASSERT_GT(grid.scrollTop(), 0);
    for (ThumbnailImageView* cell : grid.screen->visibleCells())
        EXPECT_TRUE(grid.overlayShown(*cell, "checkedSign")) << cell->index();
    wheelOver(*grid.screen->thumbnailScrollView()->viewport(), -20);
    ASSERT_EQ(grid.scrollTop(), 0);

    // Cancelling the question unmarks the cell and deletes nothing.
    ThumbnailImageView* second = grid.cell(1);
    clickWidget(*second);
    EXPECT_TRUE(grid.overlayShown(*second, "toDeleteSign"));
    ASSERT_TRUE(answerSheet(window, "Cancel"));
    EXPECT_TRUE(grid.overlayShown(*second, "checkedSign"));
    EXPECT_FALSE(grid.overlayShown(*second, "toDeleteSign"));
    EXPECT_EQ(grid.countLabel().text(), "40 paintings");

    // A cell that was recycled and reused still asks once per tap.
    clickWidget(*grid.cell(1));
    ASSERT_TRUE(answerSheet(window, "Delete Painting"));
    EXPECT_FALSE(platform::ui::ActionSheet::current(&window)) << "one question per tap";
    EXPECT_FALSE(QFile::exists(documents.file(names[1] + ".stk")));
    EXPECT_TRUE(QFile::exists(documents.file(names[2] + ".stk")));
    EXPECT_EQ(grid.countLabel().text(), "39 paintings");
    EXPECT_TRUE(grid.screen->isDeleteMode()) << "delete mode stays on while paintings remain";
    ASSERT_TRUE(grid.cell(1));
    EXPECT_EQ(grid.cell(1)->paintingInfo()->paintingName(), names[2]);
    EXPECT_TRUE(grid.overlayShown(*grid.cell(1), "checkedSign"));

    clickWidget(*barButtonNamed(*grid.screen, "Cancel"));
    EXPECT_FALSE(grid.screen->isDeleteMode());
    EXPECT_EQ(grid.screen->title(), "Gallery");
    for (ThumbnailImageView* cell : grid.screen->visibleCells())
        EXPECT_FALSE(grid.overlayShown(*cell, "checkedSign"));
}

TEST(ThumbnailGrid, DeletingTheOnlyPaintingLeavesDeleteModeWithTheEmptyGrid)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::tablet());
    ScopedDocuments documents;
    savePaintings(1);
    Grid grid;
    longPressWidget(*grid.cell(0));
    clickWidget(*grid.cell(0));
    ASSERT_TRUE(answerSheet(grid.window.window, "Delete Painting"));
    EXPECT_FALSE(grid.screen->isDeleteMode());
    EXPECT_EQ(grid.screen->title(), "Gallery");
    EXPECT_TRUE(grid.screen->visibleCells().empty());
    EXPECT_EQ(grid.countLabel().text(), "0 paintings");
    EXPECT_FALSE(barButtonNamed(*grid.screen, "Cancel"));
}

TEST(ThumbnailGrid, TapOpensThePagerAtThatPainting)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    savePaintings(6, 1);
    Grid grid;
    clickWidget(*grid.cell(5));
    auto* pager = dynamic_cast<PaintingGalleryViewController*>(grid.window.navigation().topViewController());
    ASSERT_TRUE(pager);
    EXPECT_EQ(pager->title(), "6/6");
    EXPECT_EQ(grid.window.navigation().navigationBar().title(), "6/6");
    // Back in the grid, another painting opens the same pager there.
    clickWidget(*grid.window.navigation().navigationBar().backButton());
    clickWidget(*grid.cell(2));
    EXPECT_EQ(grid.window.navigation().topViewController(), pager);
    EXPECT_EQ(pager->title(), "3/6");
}

TEST(ThumbnailGrid, NewPaintingOpensTheEditorWithAnEmptyUnsavedPainting)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    savePaintings(1, 1);
    Grid grid;
    clickWidget(*barButtonNamed(grid.window.window, "New Painting"));
    auto* editor = dynamic_cast<PintaroViewController*>(grid.window.navigation().topViewController());
    ASSERT_TRUE(editor && editor->mPainting());
    EXPECT_EQ(editor->paintingInfo(), nullptr);
    EXPECT_EQ(editor->paintingManager(), grid.screen->paintingManager());
    EXPECT_EQ(QSize(editor->mPainting()->width(), editor->mPainting()->height()), QSize(320, 436));
    EXPECT_EQ(editor->mPainting()->backgroundColor(), platform::Color::black());
    EXPECT_EQ(editor->mPainting()->layerArray().size(), 1u);
    EXPECT_TRUE(editor->mPainting()->layerArray().front()->strokeList().empty());
}

TEST(ThumbnailGrid, DraggingScrollsTheGridWithoutOpeningAPainting)
{
    platform::ScopedDeviceProfile profile(DeviceProfile::phone());
    ScopedDocuments documents;
    savePaintingCopies(60);
    Grid grid;
    dragWidget(*grid.cell(9), QPoint(0, -200));
    ASSERT_TRUE(waitFor([&] { return grid.scrollTop() > 100; }));
    EXPECT_EQ(grid.window.navigation().topViewController(), grid.screen.get());
    EXPECT_FALSE(grid.screen->isDeleteMode());
    EXPECT_EQ(grid.shownIndices().front(), grid.scrollTop() / 79 * 4);
}
