#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/ui/ViewController.h"

#include <QPointer>
#include <memory>
#include <set>
#include <vector>

class PaintingGalleryViewController;
class PaintingItem;
class PaintingManager;
class PintaroViewController;
class QLabel;
class QScrollArea;
class QScrollBar;
class ThumbnailImageView;

namespace platform::ui {
class BarButton;
class Toolbar;
}

// The gallery's first screen: a grid of the saved paintings' thumbnails, four
// to a row, with their count under the last row. A tap opens the pager at the
// painting; a long press switches to delete mode, where each tap asks whether
// to delete that painting. Only the rows in view have cells; cells that scroll
// out are recycled for the rows that scroll in.
class PaintingThumbnailViewController final : public platform::ui::ViewController {
    Q_OBJECT
public:
    explicit PaintingThumbnailViewController(QWidget* parent = nullptr);
    ~PaintingThumbnailViewController() override;

    // The editor that new and opened paintings go to; the home screen's own.
    void setDoodleViewController(std::shared_ptr<PintaroViewController> editor);
    // Replaced by the screen's own list when its view loads.
    void setPaintingManager(std::shared_ptr<PaintingManager> manager) { m_paintingManager = std::move(manager); }
    const std::shared_ptr<PaintingManager>& paintingManager() const { return m_paintingManager; }

    int imageCount() const;
    bool isDeleteMode() const { return m_isDeleteMode; }
    QScrollArea* thumbnailScrollView() const { return m_thumbnailScrollView; }
    const std::set<ThumbnailImageView*>& visibleCells() const { return m_visibleCells; }
    const std::set<ThumbnailImageView*>& recycledCells() const { return m_recycledCells; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

    platform::Rect frameForCellAtIndex(int index) const;
    platform::Size contentSizeForScrollView();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void loadPaintingManager();
    void initThumbnailScrollView();
    void updateThumbnailScrollView();
    void tilePages();
    void resizeContent();
    void configureCell(ThumbnailImageView& cell, int index);
    int thumbnailImageSize();
    platform::Rect frameForScrollView() const;
    bool isDisplayingCellForIndex(int index) const;
    ThumbnailImageView* dequeueRecycledCell();
    void layOutViews();

    void cellTapped(ThumbnailImageView& cell);
    void cellLongPress(ThumbnailImageView& cell);
    void clickDeleteButton();
    void actionSheetClickedButtonAtIndex(int buttonIndex);
    void deletePaintings(const std::vector<std::shared_ptr<PaintingItem>>& items);
    void clickCancelButton();
    void showPaintingFullSizeImage(int index);
    void clickNewPaintingButton();
    void newPaintingWithSolidColor();
    void updateTitle();
    void updateCountLabel();
    void showNewPaintingButton();
    void showCancelDeleteButton();
    void showCellsWithDeleteMode();

    QLabel* m_titleImage { nullptr };
    QScrollArea* m_thumbnailScrollView { nullptr };
    QWidget* m_gridContent { nullptr };
    QScrollBar* m_scrollIndicator { nullptr };
    QLabel* m_paintingCountInfoLabel { nullptr };
    platform::ui::BarButton* m_newButton { nullptr };
    std::shared_ptr<PintaroViewController> m_doodleViewController;
    std::shared_ptr<PaintingGalleryViewController> m_galleryViewController;
    std::shared_ptr<PaintingManager> m_paintingManager;
    platform::ui::Toolbar* m_toolbar { nullptr };
    platform::ui::BarButton* m_cancelButton { nullptr };
    int m_actionSheetType { 0 };
    int m_thumbnailWidth { 0 };
    int m_contentHeight { 0 };
    // Cells are children of the grid; the sets say which are in use.
    std::set<ThumbnailImageView*> m_recycledCells;
    std::set<ThumbnailImageView*> m_visibleCells;
    std::vector<std::shared_ptr<PaintingItem>> m_deleteCells;
    bool m_isDeleteMode { false };
    QPointer<ThumbnailImageView> m_thumbnailToDelete;
};
