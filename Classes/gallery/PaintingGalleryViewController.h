#pragma once

#include "platform/graphics/Geometry.h"
#include "platform/ui/ViewController.h"

#include <QPalette>
#include <memory>
#include <set>

class GalleryPage;
class Painting;
class PaintingManager;
class PintaroViewController;
class ProgressSpin;
class QGraphicsOpacityEffect;
class QLabel;
class QScrollArea;

namespace platform::ui {
class BarButton;
class Toolbar;
}

// The gallery pager: the saved paintings full size, one per page, paged by a
// swipe, a drag, the wheel or the arrow keys, titled "page/count". From here
// a painting is deleted, saved to the album as a picture or a movie, replayed
// or opened in the editor; the last three first read the whole painting on a
// background queue while input waits behind the busy indicator. Only the
// pages next to the one in view exist; the others are recycled.
class PaintingGalleryViewController final : public platform::ui::ViewController {
    Q_OBJECT
public:
    explicit PaintingGalleryViewController(QWidget* parent = nullptr);
    ~PaintingGalleryViewController() override;

    void setDoodleViewController(std::shared_ptr<PintaroViewController> editor) { m_doodleViewController = std::move(editor); }
    void setPaintingManager(std::shared_ptr<PaintingManager> manager) { m_paintingManager = std::move(manager); }
    const std::shared_ptr<PaintingManager>& paintingManager() const { return m_paintingManager; }
    // The page to open; read when the pager is laid out.
    void setShowedIndex(unsigned index) { m_showedIndex = index; }
    unsigned showedIndex() const { return m_showedIndex; }

    int imageCount() const;
    bool barHidden() const { return m_barHidden; }
    bool isBusy() const { return m_busy; }
    QScrollArea* pagingScrollView() const { return m_pagingScrollView; }
    const std::set<GalleryPage*>& visiblePages() const { return m_visiblePages; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    platform::Rect frameForPageAtIndex(unsigned index) const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class LoadAction { Movie, VideoExport, Edit };

    void loadPaintingManager();
    void initPagingScrollView();
    void updatePagingScrollView();
    void tilePages();
    void configurePage(GalleryPage& page, unsigned index);
    platform::Rect frameForPagingScrollView() const;
    platform::Size contentSizeForPagingScrollView() const;
    void resizeContent();
    void scrollToPageAtIndex(unsigned index);
    unsigned indexOfShowedPage() const;
    bool isDisplayingPageForIndex(unsigned index) const;
    GalleryPage* dequeueRecycledPage();
    int pageWidth() const;
    void pageBy(int step);

    void updateTitle();
    void cellTapped();
    void setMyToolbarHidden(bool hidden);
    void clickDeleteButton();
    void clickImageExportButton();
    void clickVideoExportButton();
    void actionSheetClickedButtonAtIndex(int buttonIndex);
    void deleteCurrentShowingPainting();
    void onExportAsPicture();
    void onExportAsVideo();
    void clickMoviewButton();
    void clickEditButton();
    void loadPaintingInBackground(LoadAction action);
    void paintingLoaded(LoadAction action, std::unique_ptr<Painting> painting);
    void disableUserInput();
    void enableUserInput();
    void imageWasSavedSuccessfully(bool saved);

    QLabel* m_titleImage { nullptr };
    std::shared_ptr<PintaroViewController> m_doodleViewController;
    std::shared_ptr<PaintingManager> m_paintingManager;
    QScrollArea* m_pagingScrollView { nullptr };
    QWidget* m_pagesContent { nullptr };
    platform::ui::Toolbar* m_myToolbar { nullptr };
    QGraphicsOpacityEffect* m_toolbarOpacity { nullptr };
    bool m_barHidden { false };
    // Pages are children of the pager; the sets say which are in use.
    std::set<GalleryPage*> m_recycledPages;
    std::set<GalleryPage*> m_visiblePages;
    unsigned m_showedIndex { 0 };
    platform::ui::BarButton* m_deleteButton { nullptr };
    platform::ui::BarButton* m_pictureButton { nullptr };
    platform::ui::BarButton* m_videoButton { nullptr };
    platform::ui::BarButton* m_movieButton { nullptr };
    platform::ui::BarButton* m_editButton { nullptr };
    ProgressSpin* m_progressSpin { nullptr };
    int m_actionSheetType { 0 };
    int m_firstCachedPageIndex { 10000 };
    int m_lastCachedPageIndex { -1 };
    bool m_busy { false };
    int m_swipeStartPage { -1 };
    QPalette m_windowPalette;
    bool m_windowFilledBackground { false };
};
