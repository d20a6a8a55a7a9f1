#include "Classes/gallery/PaintingThumbnailViewController.h"

#include "Classes/brushes/UIColorRandom.h"
#include "Classes/editor/PintaroViewController.h"
#include "Classes/gallery/GallerySheets.h"
#include "Classes/gallery/PaintingGalleryViewController.h"
#include "Classes/gallery/ThumbnailImageView.h"
#include "Classes/gallery/ThumbnailLayout.h"
#include "Classes/gallery/Utility.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingManager.h"
#include "platform/system/Device.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/Localized.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Toolbar.h"
#include "ui_PaintingThumbnailViewController.h"
#include "ui_PaintingThumbnailViewController_iPad.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QScroller>
#include <cmath>

using platform::Rect;
using platform::ui::localized;

namespace {

constexpr int cellsPerRow = 4;

template<typename Form>
void loadForm(QWidget& screen, QLabel*& titleImage, QScrollArea*& scrollView, QLabel*& countLabel,
    platform::ui::Toolbar*& toolbar)
{
    Form form;
    form.setupUi(&screen);
    titleImage = form.titleImage;
    scrollView = form.thumbnailScrollView;
    countLabel = form.paintingCountInfoLabel;
    toolbar = form.toolbar;
    showFormWidgets(screen);
}

}

PaintingThumbnailViewController::PaintingThumbnailViewController(QWidget* parent)
    : ViewController(parent)
{
}

PaintingThumbnailViewController::~PaintingThumbnailViewController() = default;

void PaintingThumbnailViewController::setDoodleViewController(std::shared_ptr<PintaroViewController> editor)
{
    m_doodleViewController = std::move(editor);
}

int PaintingThumbnailViewController::imageCount() const
{
    return m_paintingManager ? static_cast<int>(m_paintingManager->paintingList().size()) : 0;
}

void PaintingThumbnailViewController::viewDidLoad()
{
    if (isPad())
        loadForm<Ui::PaintingThumbnailViewController_iPad>(*this, m_titleImage, m_thumbnailScrollView, m_paintingCountInfoLabel, m_toolbar);
    else
        loadForm<Ui::PaintingThumbnailViewController>(*this, m_titleImage, m_thumbnailScrollView, m_paintingCountInfoLabel, m_toolbar);

    m_toolbar->addFlexibleSpace();
    m_cancelButton = m_toolbar->addButton(new platform::ui::BarButton(localized("Cancel"), m_toolbar));
    m_cancelButton->setAction([this] { clickCancelButton(); });
    showNewPaintingButton();
    m_newButton = new platform::ui::BarButton(QIcon(QStringLiteral(":/gallery-new.svg")), localized("New Painting"), this);
    m_newButton->setAction([this] { clickNewPaintingButton(); });
    navigationItem().setRightBarButton(m_newButton);

    m_isDeleteMode = false;
    m_titleImage->hide();
    loadPaintingManager();
    initThumbnailScrollView();
    m_deleteCells.clear();
    updateTitle();
}

void PaintingThumbnailViewController::viewWillAppear(bool)
{
    m_paintingManager->createPaintingListFromStoredFiles();
    if (auto* navigation = navigationController())
        navigation->setNavigationBarHidden(false, false);
    updateThumbnailScrollView();
}

void PaintingThumbnailViewController::loadPaintingManager()
{
    m_paintingManager = std::make_shared<PaintingManager>();
    m_paintingManager->initPaintingManager();
}

void PaintingThumbnailViewController::initThumbnailScrollView()
{
    layOutViews();
    QScrollArea& scrollView = *m_thumbnailScrollView;
    scrollView.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The indicator floats over the grid, so the cells keep the full width.
    scrollView.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_gridContent = new QWidget;
    m_gridContent->setObjectName(QStringLiteral("thumbnailGrid"));
    scrollView.setWidget(m_gridContent);
    // The paper lies behind the whole view, however short the grid is.
    m_gridContent->setAutoFillBackground(false);
    QPalette palette = scrollView.viewport()->palette();
    if (isPad())
        palette.setBrush(QPalette::Window, QBrush(QPixmap(QStringLiteral(":/eggshell.jpg"))));
    else
        palette.setColor(QPalette::Window, Qt::white);
    scrollView.viewport()->setPalette(palette);
    scrollView.viewport()->setAutoFillBackground(true);
    m_paintingCountInfoLabel->setParent(m_gridContent);
    m_paintingCountInfoLabel->show();
    m_gridContent->show();

    m_scrollIndicator = new QScrollBar(Qt::Vertical, &scrollView);
    m_scrollIndicator->setObjectName(QStringLiteral("scrollIndicator"));
    m_scrollIndicator->setStyleSheet(QStringLiteral(
        "QScrollBar { background: transparent; width: 6px; }"
        "QScrollBar::handle { background: rgba(0, 0, 0, 90); border-radius: 3px; min-height: 24px; }"
        "QScrollBar::add-line, QScrollBar::sub-line, QScrollBar::add-page, QScrollBar::sub-page { height: 0; background: none; }"));
    QScrollBar* bar = scrollView.verticalScrollBar();
    connect(bar, &QScrollBar::rangeChanged, m_scrollIndicator, [this](int minimum, int maximum) {
        m_scrollIndicator->setRange(minimum, maximum);
        m_scrollIndicator->setVisible(maximum > minimum);
    });
    connect(bar, &QScrollBar::valueChanged, m_scrollIndicator, &QScrollBar::setValue);
    connect(m_scrollIndicator, &QScrollBar::valueChanged, bar, &QScrollBar::setValue);
    connect(bar, &QScrollBar::valueChanged, this, [this] { tilePages(); });

    QScroller::grabGesture(scrollView.viewport(), QScroller::LeftMouseButtonGesture);
    QScrollerProperties properties = QScroller::scroller(scrollView.viewport())->scrollerProperties();
    properties.setScrollMetric(QScrollerProperties::HorizontalOvershootPolicy, QScrollerProperties::OvershootAlwaysOff);
    properties.setScrollMetric(QScrollerProperties::MousePressEventDelay, 0.0);
    QScroller::scroller(scrollView.viewport())->setScrollerProperties(properties);

    resizeContent();
    m_recycledCells.clear();
    m_visibleCells.clear();
}

void PaintingThumbnailViewController::layOutViews()
{
    const Rect frame = frameForScrollView();
    m_thumbnailScrollView->setGeometry(static_cast<int>(frame.x()), static_cast<int>(frame.y()),
        static_cast<int>(frame.width()), static_cast<int>(frame.height()));
    m_toolbar->setGeometry(0, height() - platform::ui::Toolbar::height, width(), platform::ui::Toolbar::height);
    if (m_scrollIndicator)
        m_scrollIndicator->setGeometry(m_thumbnailScrollView->width() - 7, 2, 6, m_thumbnailScrollView->height() - 4);
}

// The navigation bar sits above the screen, so the grid runs from the top
// of the screen down to the toolbar.
Rect PaintingThumbnailViewController::frameForScrollView() const
{
    return Rect(0, 0, static_cast<float>(width()), static_cast<float>(std::max(0, height() - platform::ui::Toolbar::height)));
}

void PaintingThumbnailViewController::resizeEvent(QResizeEvent*)
{
    if (!m_thumbnailScrollView || !m_gridContent)
        return;
    layOutViews();
    updateThumbnailScrollView();
}

void PaintingThumbnailViewController::updateThumbnailScrollView()
{
    if (!m_gridContent)
        return;
    for (ThumbnailImageView* cell : m_visibleCells) {
        cell->hide();
        cell->deleteLater();
    }
    m_visibleCells.clear();
    resizeContent();
    tilePages();
}

void PaintingThumbnailViewController::resizeContent()
{
    const platform::Size size = contentSizeForScrollView();
    m_contentHeight = static_cast<int>(size.height);
    // A grid shorter than the view still spans it, so that the count label
    // can sit in the middle of an empty one; it then does not scroll.
    const int viewHeight = m_thumbnailScrollView->height();
    m_gridContent->resize(static_cast<int>(size.width), std::max(m_contentHeight, viewHeight));
}

int PaintingThumbnailViewController::thumbnailImageSize()
{
    m_thumbnailWidth = getThumbnailWidth(Rect(0, 0, static_cast<float>(m_thumbnailScrollView->width()), 0));
    return m_thumbnailWidth;
}

Rect PaintingThumbnailViewController::frameForCellAtIndex(int index) const
{
    const int p = getPadding();
    const int t = m_thumbnailWidth;
    const int column = index % cellsPerRow;
    const int row = index / cellsPerRow;
    return Rect(static_cast<float>(column * t + (column + 1) * p), static_cast<float>(row * (p + t) + p),
        static_cast<float>(t), static_cast<float>(t));
}

platform::Size PaintingThumbnailViewController::contentSizeForScrollView()
{
    const int t = thumbnailImageSize();
    const int rows = (imageCount() + cellsPerRow - 1) / cellsPerRow;
    const int height = rows * (getPadding() + t) + m_paintingCountInfoLabel->height();
    return { static_cast<float>(m_thumbnailScrollView->width()), static_cast<float>(height) };
}

bool PaintingThumbnailViewController::isDisplayingCellForIndex(int index) const
{
    for (ThumbnailImageView* cell : m_visibleCells) {
        if (cell->index() == index)
            return true;
    }
    return false;
}

ThumbnailImageView* PaintingThumbnailViewController::dequeueRecycledCell()
{
    if (m_recycledCells.empty())
        return nullptr;
    ThumbnailImageView* cell = *m_recycledCells.begin();
    m_recycledCells.erase(m_recycledCells.begin());
    return cell;
}

void PaintingThumbnailViewController::tilePages()
{
    const int count = imageCount();
    if (count > 0 && m_thumbnailWidth > 0) {
        const int minY = m_thumbnailScrollView->verticalScrollBar()->value();
        const int maxY = minY + m_thumbnailScrollView->viewport()->height();
        const int rowHeight = m_thumbnailWidth + getPadding();
        const int first = std::max(0, minY / rowHeight * cellsPerRow);
        int last = ((maxY - 1) / rowHeight + 1) * cellsPerRow;
        if (last >= count - 1)
            last = count - 1;

        for (auto it = m_visibleCells.begin(); it != m_visibleCells.end();) {
            ThumbnailImageView* cell = *it;
            if (cell->index() < first || cell->index() > last) {
                m_recycledCells.insert(cell);
                cell->hide();
                cell->recycled();
                it = m_visibleCells.erase(it);
            } else {
                ++it;
            }
        }
        for (int index = first; index <= last; ++index) {
            if (isDisplayingCellForIndex(index))
                continue;
            ThumbnailImageView* cell = dequeueRecycledCell();
            if (!cell)
                cell = new ThumbnailImageView(m_gridContent);
            configureCell(*cell, index);
            cell->show();
            m_visibleCells.insert(cell);
        }
    }

    const Rect screen = platform::Device::mainScreenBounds();
    QLabel& label = *m_paintingCountInfoLabel;
    const int x = static_cast<int>(screen.width() / 2 - label.width() / 2.0f);
    const int y = count == 0 ? static_cast<int>(screen.height() / 2 - label.height() / 2.0f - 20)
                             : m_contentHeight - label.height();
    label.move(x, y);
    updateTitle();
    updateCountLabel();
}

void PaintingThumbnailViewController::configureCell(ThumbnailImageView& cell, int index)
{
    cell.setIndex(index);
    const Rect frame = frameForCellAtIndex(index);
    cell.setGeometry(static_cast<int>(frame.x()), static_cast<int>(frame.y()), static_cast<int>(frame.width()),
        static_cast<int>(frame.height()));
    cell.setPaintingInfo(m_paintingManager->paintingList()[static_cast<size_t>(index)]);
    cell.setIsDeleteMode(m_isDeleteMode);
    cell.setAccessibleName(platform::ui::localizedFormat("Painting %d", { index + 1 }));
    cell.setTapAction([this](ThumbnailImageView& tapped) { cellTapped(tapped); });
    cell.setLongPressAction([this](ThumbnailImageView& pressed) { cellLongPress(pressed); });
    cell.displayImage();
}

void PaintingThumbnailViewController::cellLongPress(ThumbnailImageView&)
{
    if (m_isDeleteMode)
        return;
    m_isDeleteMode = true;
    showCancelDeleteButton();
    updateTitle();
    showCellsWithDeleteMode();
}

void PaintingThumbnailViewController::cellTapped(ThumbnailImageView& cell)
{
    if (m_isDeleteMode) {
        m_thumbnailToDelete = &cell;
        cell.tapped();
        m_deleteCells.push_back(cell.paintingInfo());
        clickDeleteButton();
    } else {
        showPaintingFullSizeImage(cell.index());
    }
    updateTitle();
}

void PaintingThumbnailViewController::clickDeleteButton()
{
    if (m_deleteCells.empty())
        return;
    m_actionSheetType = 1;
    showConfirmationSheet(*this, nullptr, localized("Delete Painting"), [this](int buttonIndex) { actionSheetClickedButtonAtIndex(buttonIndex); });
}

void PaintingThumbnailViewController::actionSheetClickedButtonAtIndex(int buttonIndex)
{
    if (m_actionSheetType != 1)
        return;
    m_actionSheetType = 0;
    if (buttonIndex == confirmationDestructiveIndex) {
        deletePaintings(m_deleteCells);
    } else {
        m_deleteCells.clear();
        if (m_thumbnailToDelete)
            m_thumbnailToDelete->deselected();
    }
}

void PaintingThumbnailViewController::deletePaintings(const std::vector<std::shared_ptr<PaintingItem>>& items)
{
    m_paintingManager->deletePaintings(items);
    m_deleteCells.clear();
    if (imageCount() > 0)
        updateThumbnailScrollView();
    else
        clickCancelButton();
}

void PaintingThumbnailViewController::clickCancelButton()
{
    showNewPaintingButton();
    m_isDeleteMode = false;
    m_deleteCells.clear();
    updateThumbnailScrollView();
    updateTitle();
}

void PaintingThumbnailViewController::showPaintingFullSizeImage(int index)
{
    if (!m_galleryViewController)
        m_galleryViewController = platform::ui::makeScreen<PaintingGalleryViewController>();
    m_galleryViewController->setDoodleViewController(m_doodleViewController);
    m_galleryViewController->setShowedIndex(static_cast<unsigned>(index));
    if (auto* navigation = navigationController())
        navigation->pushViewController(m_galleryViewController, true);
}

void PaintingThumbnailViewController::clickNewPaintingButton()
{
    newPaintingWithSolidColor();
}

void PaintingThumbnailViewController::newPaintingWithSolidColor()
{
    if (!m_doodleViewController) {
        m_doodleViewController = platform::ui::makeScreen<PintaroViewController>();
        m_doodleViewController->setPaintingManager(m_paintingManager);
    }
    const Rect screen = platform::Device::mainScreenBounds();
    const platform::Size size { screen.width(), screen.height() - platform::ui::NavigationBar::height };
    m_doodleViewController->setPaintingInfo(nullptr);
    auto painting = std::make_shared<Painting>(size);
    painting->setBackgroundColor(getBlackColor());
    painting->addTransparentLayer();
    painting->setCropRegion(Rect(0, 0, size.width, size.height));
    m_doodleViewController->setMPainting(std::move(painting));
    if (auto* navigation = navigationController())
        navigation->pushViewController(m_doodleViewController, true);
}

void PaintingThumbnailViewController::updateTitle()
{
    setTitle(m_isDeleteMode ? localized("Delete Painting") : localized("Gallery"));
}

void PaintingThumbnailViewController::updateCountLabel()
{
    m_paintingCountInfoLabel->setText(platform::ui::localizedFormat("%d paintings", { imageCount() }));
}

void PaintingThumbnailViewController::showNewPaintingButton()
{
    m_cancelButton->hide();
    if (m_newButton)
        navigationItem().setRightBarButton(m_newButton);
}

// Delete mode offers no new painting, which leaves its title the whole bar.
void PaintingThumbnailViewController::showCancelDeleteButton()
{
    m_cancelButton->show();
    navigationItem().setRightBarButton(nullptr);
}

void PaintingThumbnailViewController::showCellsWithDeleteMode()
{
    for (ThumbnailImageView* cell : m_visibleCells) {
        cell->setIsDeleteMode(true);
        cell->showWithDeleteSign();
    }
}

