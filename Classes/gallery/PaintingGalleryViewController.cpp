#include "Classes/gallery/PaintingGalleryViewController.h"

#include "Classes/editor/PintaroViewController.h"
#include "Classes/editor/ProgressSpin.h"
#include "Classes/gallery/GalleryPage.h"
#include "Classes/gallery/GallerySheets.h"
#include "Classes/gallery/Utility.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingManager.h"
#include "Classes/movie/MovieViewController.h"
#include "Classes/movie/VideoEncodeController.h"
#include "platform/media/PhotoAlbum.h"
#include "platform/system/Device.h"
#include "platform/system/DispatchQueue.h"
#include "platform/ui/Animation.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/Localized.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Toolbar.h"
#include "ui_PaintingGalleryViewController.h"
#include "ui_PaintingGalleryViewController_iPad.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPointer>
#include <QPropertyAnimation>
#include <QScrollArea>
#include <QScrollBar>
#include <QScroller>
#include <QShortcut>
#include <QWheelEvent>

using platform::Rect;
using platform::ui::localized;

namespace {

// Pictures sit this far inside their slot on either side, so that two
// neighbours are twice as far apart while the screen shows exactly one.
constexpr int pageGap = 10;
constexpr int emptyFirst = 10000;
constexpr int emptyLast = -1;

template<typename Form>
void loadForm(QWidget& screen, QLabel*& titleImage, platform::ui::Toolbar*& toolbar)
{
    Form form;
    form.setupUi(&screen);
    titleImage = form.titleImage;
    toolbar = form.toolbar;
    showFormWidgets(screen);
}

void fadeTo(QGraphicsOpacityEffect& effect, qreal opacity, int milliseconds)
{
    if (!platform::ui::animationsEnabled()) {
        effect.setOpacity(opacity);
        return;
    }
    auto* animation = new QPropertyAnimation(&effect, "opacity", &effect);
    animation->setDuration(milliseconds);
    animation->setEndValue(opacity);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

}

PaintingGalleryViewController::PaintingGalleryViewController(QWidget* parent)
    : ViewController(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

PaintingGalleryViewController::~PaintingGalleryViewController() = default;

int PaintingGalleryViewController::imageCount() const
{
    return m_paintingManager ? static_cast<int>(m_paintingManager->paintingList().size()) : 0;
}

void PaintingGalleryViewController::viewDidLoad()
{
    if (isPad())
        loadForm<Ui::PaintingGalleryViewController_iPad>(*this, m_titleImage, m_myToolbar);
    else
        loadForm<Ui::PaintingGalleryViewController>(*this, m_titleImage, m_myToolbar);

    using platform::ui::BarButton;
    const auto button = [this](const char* icon, const char* tip, void (PaintingGalleryViewController::*action)()) {
        auto* made = m_myToolbar->addButton(new BarButton(QIcon(QString::fromLatin1(icon)), localized(tip), m_myToolbar));
        made->setAction([this, action] { (this->*action)(); });
        return made;
    };
    m_deleteButton = button(":/gallery-delete.svg", QT_TRANSLATE_NOOP("Pintaro", "Delete Painting"), &PaintingGalleryViewController::clickDeleteButton);
    m_myToolbar->addFlexibleSpace();
    m_pictureButton = button(":/gallery-picture.svg", QT_TRANSLATE_NOOP("Pintaro", "Save Picture to Album"), &PaintingGalleryViewController::clickImageExportButton);
    m_videoButton = button(":/gallery-movie.svg", QT_TRANSLATE_NOOP("Pintaro", "Save Movie to Album"), &PaintingGalleryViewController::clickVideoExportButton);
    m_movieButton = button(":/gallery-play.svg", QT_TRANSLATE_NOOP("Pintaro", "Play"), &PaintingGalleryViewController::clickMoviewButton);
    m_myToolbar->addFlexibleSpace();
    m_editButton = new BarButton(localized("Edit"), this);
    m_editButton->setAction([this] { clickEditButton(); });
    navigationItem().setRightBarButton(m_editButton);
    // The arrow keys page wherever the focus is in the window, as long as
    // the pager is the screen shown.
    for (const auto& [key, step] : { std::pair { Qt::Key_Right, 1 }, { Qt::Key_PageDown, 1 }, { Qt::Key_Left, -1 }, { Qt::Key_PageUp, -1 } }) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step] {
            if (!m_busy)
                pageBy(step);
        });
    }
    m_toolbarOpacity = new QGraphicsOpacityEffect(m_myToolbar);
    m_toolbarOpacity->setOpacity(1);
    m_myToolbar->setGraphicsEffect(m_toolbarOpacity);

    loadPaintingManager();
    initPagingScrollView();
    m_lastCachedPageIndex = emptyLast;
    m_firstCachedPageIndex = emptyFirst;
    m_barHidden = false;
    m_progressSpin = new ProgressSpin(QSize(70, 70), std::nullopt, this);
    m_progressSpin->hide();
    m_titleImage->hide();
}

void PaintingGalleryViewController::viewWillAppear(bool)
{
    m_paintingManager->createPaintingListFromStoredFiles();
    if (auto* navigation = navigationController()) {
        navigation->setNavigationBarHidden(false, false);
        // Behind a faded-out bar the window shows through; let it be the
        // pager's black.
        m_windowPalette = navigation->palette();
        m_windowFilledBackground = navigation->autoFillBackground();
        QPalette black = m_windowPalette;
        black.setColor(QPalette::Window, Qt::black);
        navigation->setPalette(black);
        navigation->setAutoFillBackground(true);
    }
    m_barHidden = false;
    setMyToolbarHidden(false);
    updatePagingScrollView();
    setFocus();
}

void PaintingGalleryViewController::viewWillDisappear(bool)
{
    // The bars belong to the whole window; the next screen expects them shown.
    if (m_barHidden) {
        m_barHidden = false;
        setMyToolbarHidden(false);
    }
    if (auto* navigation = navigationController()) {
        navigation->setPalette(m_windowPalette);
        navigation->setAutoFillBackground(m_windowFilledBackground);
    }
}

void PaintingGalleryViewController::loadPaintingManager()
{
    m_paintingManager = std::make_shared<PaintingManager>();
    m_paintingManager->initPaintingManager();
}

void PaintingGalleryViewController::initPagingScrollView()
{
    m_pagingScrollView = new QScrollArea(this);
    m_pagingScrollView->setObjectName(QStringLiteral("pagingScrollView"));
    m_pagingScrollView->setFrameShape(QFrame::NoFrame);
    m_pagingScrollView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pagingScrollView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pagingScrollView->setWidgetResizable(false);
    m_pagesContent = new QWidget;
    m_pagesContent->setAutoFillBackground(true);
    QPalette palette = m_pagesContent->palette();
    palette.setColor(QPalette::Window, Qt::black);
    m_pagesContent->setPalette(palette);
    m_pagingScrollView->setPalette(palette);
    m_pagingScrollView->setWidget(m_pagesContent);
    m_pagesContent->show();
    m_pagingScrollView->show();
    m_pagingScrollView->viewport()->installEventFilter(this);
    m_pagingScrollView->lower();
    connect(m_pagingScrollView->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] { tilePages(); });

    QScroller::grabGesture(m_pagingScrollView->viewport(), QScroller::LeftMouseButtonGesture);
    QScroller* scroller = QScroller::scroller(m_pagingScrollView->viewport());
    QScrollerProperties properties = scroller->scrollerProperties();
    properties.setScrollMetric(QScrollerProperties::VerticalOvershootPolicy, QScrollerProperties::OvershootAlwaysOff);
    properties.setScrollMetric(QScrollerProperties::MousePressEventDelay, 0.0);
    scroller->setScrollerProperties(properties);
    // A swipe turns one page, however fast: once released, the pager glides
    // to the neighbour on the side it was pulled to instead of flying on.
    connect(scroller, &QScroller::stateChanged, this, [this, scroller](QScroller::State state) {
        const int w = pageWidth();
        if (w <= 0 || imageCount() == 0)
            return;
        const int position = m_pagingScrollView->horizontalScrollBar()->value();
        if (state == QScroller::Pressed) {
            m_swipeStartPage = position / w;
        } else if (state == QScroller::Scrolling && m_swipeStartPage >= 0) {
            const int pulled = position - m_swipeStartPage * w;
            const int step = std::abs(pulled) < w / 8 ? 0 : (pulled > 0 ? 1 : -1);
            const int target = std::clamp(m_swipeStartPage + step, 0, imageCount() - 1);
            m_swipeStartPage = -1;
            scroller->scrollTo(QPointF(target * w, 0), platform::ui::slideDurationMs);
        }
    });

    m_recycledPages.clear();
    m_visiblePages.clear();
    const Rect frame = frameForPagingScrollView();
    m_pagingScrollView->setGeometry(static_cast<int>(frame.x()), static_cast<int>(frame.y()),
        static_cast<int>(frame.width()), static_cast<int>(frame.height()));
    resizeContent();
    scrollToPageAtIndex(m_showedIndex);
    tilePages();
}

// The pager's slots are wider than the screen by the gap on each side.
Rect PaintingGalleryViewController::frameForPagingScrollView() const
{
    return Rect(-pageGap, 0, static_cast<float>(width() + 2 * pageGap), static_cast<float>(height()));
}

platform::Size PaintingGalleryViewController::contentSizeForPagingScrollView() const
{
    const float w = static_cast<float>(pageWidth());
    return { w * static_cast<float>(imageCount()), static_cast<float>(m_pagingScrollView->height()) };
}

int PaintingGalleryViewController::pageWidth() const
{
    return m_pagingScrollView ? m_pagingScrollView->width() : 0;
}

Rect PaintingGalleryViewController::frameForPageAtIndex(unsigned index) const
{
    const float w = static_cast<float>(pageWidth());
    return Rect(static_cast<float>(index) * w + pageGap, 0, w - 2 * pageGap, static_cast<float>(m_pagingScrollView->height()));
}

void PaintingGalleryViewController::resizeEvent(QResizeEvent*)
{
    if (!m_pagingScrollView)
        return;
    const Rect frame = frameForPagingScrollView();
    m_pagingScrollView->setGeometry(static_cast<int>(frame.x()), static_cast<int>(frame.y()),
        static_cast<int>(frame.width()), static_cast<int>(frame.height()));
    m_myToolbar->setGeometry(0, height() - platform::ui::Toolbar::height, width(), platform::ui::Toolbar::height);
    m_progressSpin->move((width() - m_progressSpin->width()) / 2, (height() - m_progressSpin->height()) / 2);
    updatePagingScrollView();
}

void PaintingGalleryViewController::updatePagingScrollView()
{
    if (!m_pagesContent)
        return;
    QScroller::scroller(m_pagingScrollView->viewport())->stop();
    resizeContent();
    for (GalleryPage* page : m_visiblePages) {
        page->hide();
        page->deleteLater();
    }
    m_visiblePages.clear();
    m_firstCachedPageIndex = emptyFirst;
    m_lastCachedPageIndex = emptyLast;
    scrollToPageAtIndex(m_showedIndex);
    tilePages();
}

void PaintingGalleryViewController::resizeContent()
{
    const platform::Size size = contentSizeForPagingScrollView();
    m_pagesContent->resize(static_cast<int>(size.width), static_cast<int>(size.height));
    // A hidden scroll area learns its new range only when it is shown; the
    // pager must open at its page before that.
    QScrollBar& bar = *m_pagingScrollView->horizontalScrollBar();
    bar.setRange(0, std::max(0, static_cast<int>(size.width) - pageWidth()));
    bar.setPageStep(pageWidth());
    // A swipe or a drag comes to rest on a whole page.
    QScroller::scroller(m_pagingScrollView->viewport())->setSnapPositionsX(0, pageWidth());
}

void PaintingGalleryViewController::scrollToPageAtIndex(unsigned index)
{
    const int count = imageCount();
    if (count > 0 && index > static_cast<unsigned>(count - 1))
        index = static_cast<unsigned>(count - 1);
    const Rect frame = frameForPageAtIndex(index);
    m_pagingScrollView->horizontalScrollBar()->setValue(static_cast<int>(frame.x()) - pageGap);
}

unsigned PaintingGalleryViewController::indexOfShowedPage() const
{
    const int w = pageWidth();
    return w > 0 ? static_cast<unsigned>(m_pagingScrollView->horizontalScrollBar()->value() / w) : 0;
}

bool PaintingGalleryViewController::isDisplayingPageForIndex(unsigned index) const
{
    for (GalleryPage* page : m_visiblePages) {
        if (page->index() == index)
            return true;
    }
    return false;
}

GalleryPage* PaintingGalleryViewController::dequeueRecycledPage()
{
    if (m_recycledPages.empty())
        return nullptr;
    GalleryPage* page = *m_recycledPages.begin();
    m_recycledPages.erase(m_recycledPages.begin());
    return page;
}

void PaintingGalleryViewController::tilePages()
{
    const int count = imageCount();
    const int w = pageWidth();
    if (count == 0 || w <= 0)
        return;
    const int minX = m_pagingScrollView->horizontalScrollBar()->value();
    const int maxX = minX + m_pagingScrollView->viewport()->width();
    const int first = std::max(0, minX / w);
    const int last = std::min(count - 1, (maxX - 1) / w);
    if (first >= m_firstCachedPageIndex && last <= m_lastCachedPageIndex) {
        updateTitle();
        return;
    }
    m_firstCachedPageIndex = std::clamp(first, 0, count - 1);
    m_lastCachedPageIndex = std::clamp(last, 0, count - 1);

    for (auto it = m_visiblePages.begin(); it != m_visiblePages.end();) {
        GalleryPage* page = *it;
        const int index = static_cast<int>(page->index());
        if (index < m_firstCachedPageIndex || index > m_lastCachedPageIndex) {
            page->recycled();
            page->hide();
            m_recycledPages.insert(page);
            it = m_visiblePages.erase(it);
        } else {
            ++it;
        }
    }
    for (int index = m_firstCachedPageIndex; index <= m_lastCachedPageIndex; ++index) {
        if (isDisplayingPageForIndex(static_cast<unsigned>(index)))
            continue;
        GalleryPage* page = dequeueRecycledPage();
        if (!page)
            page = new GalleryPage(m_pagesContent);
        configurePage(*page, static_cast<unsigned>(index));
        page->show();
        m_visiblePages.insert(page);
    }
    updateTitle();
}

void PaintingGalleryViewController::configurePage(GalleryPage& page, unsigned index)
{
    page.setIndex(index);
    page.setPaintingItem(m_paintingManager->paintingList()[index]);
    page.displayPaintingImage();
    const Rect frame = frameForPageAtIndex(index);
    const QSize picture = page.pictureSize();
    page.setGeometry(static_cast<int>(frame.x()), static_cast<int>(frame.y()), picture.width(), picture.height());
    page.setTapAction([this] { cellTapped(); });
}

void PaintingGalleryViewController::updateTitle()
{
    m_showedIndex = indexOfShowedPage();
    // Numbers only, shown as they are.
    setTitle(QStringLiteral("%1/%2").arg(m_showedIndex + 1).arg(imageCount()));
}

void PaintingGalleryViewController::pageBy(int step)
{
    const int count = imageCount();
    if (count == 0)
        return;
    const int target = std::clamp(static_cast<int>(indexOfShowedPage()) + step, 0, count - 1);
    const int x = target * pageWidth();
    if (platform::ui::animationsEnabled())
        QScroller::scroller(m_pagingScrollView->viewport())->scrollTo(QPointF(x, 0), platform::ui::slideDurationMs);
    else
        m_pagingScrollView->horizontalScrollBar()->setValue(x);
}

bool PaintingGalleryViewController::eventFilter(QObject* watched, QEvent* event)
{
    // The wheel turns whole pages, as a swipe does.
    if (watched == m_pagingScrollView->viewport() && event->type() == QEvent::Wheel) {
        const QPoint delta = static_cast<QWheelEvent*>(event)->angleDelta();
        const int amount = std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
        if (amount != 0 && !m_busy)
            pageBy(amount < 0 ? 1 : -1);
        return true;
    }
    return ViewController::eventFilter(watched, event);
}

void PaintingGalleryViewController::cellTapped()
{
    m_barHidden = !m_barHidden;
    setMyToolbarHidden(m_barHidden);
}

void PaintingGalleryViewController::setMyToolbarHidden(bool hidden)
{
    const qreal opacity = hidden ? 0 : 1;
    const int duration = hidden ? 400 : 250;
    // A bar faded out takes no clicks, as a hidden one would not.
    if (m_toolbarOpacity) {
        fadeTo(*m_toolbarOpacity, opacity, duration);
        m_myToolbar->setAttribute(Qt::WA_TransparentForMouseEvents, hidden);
    }
    if (auto* navigation = navigationController()) {
        QWidget& bar = navigation->navigationBar();
        auto* effect = qobject_cast<QGraphicsOpacityEffect*>(bar.graphicsEffect());
        if (!effect) {
            effect = new QGraphicsOpacityEffect(&bar);
            effect->setOpacity(1);
            bar.setGraphicsEffect(effect);
        }
        fadeTo(*effect, opacity, duration);
        bar.setAttribute(Qt::WA_TransparentForMouseEvents, hidden);
    }
}

void PaintingGalleryViewController::clickDeleteButton()
{
    m_actionSheetType = 1;
    showConfirmationSheet(*this, m_deleteButton, localized("Delete Painting"), [this](int index) { actionSheetClickedButtonAtIndex(index); });
}

void PaintingGalleryViewController::clickVideoExportButton()
{
    m_actionSheetType = 2;
    showConfirmationSheet(*this, m_videoButton, localized("Save Movie to Album"), [this](int index) { actionSheetClickedButtonAtIndex(index); });
}

void PaintingGalleryViewController::clickImageExportButton()
{
    m_actionSheetType = 3;
    showConfirmationSheet(*this, m_pictureButton, localized("Save Picture to Album"), [this](int index) { actionSheetClickedButtonAtIndex(index); });
}

void PaintingGalleryViewController::actionSheetClickedButtonAtIndex(int buttonIndex)
{
    const int type = m_actionSheetType;
    m_actionSheetType = 0;
    if (buttonIndex != confirmationDestructiveIndex)
        return;
    switch (type) {
    case 1:
        deleteCurrentShowingPainting();
        break;
    case 2:
        onExportAsVideo();
        break;
    case 3:
        onExportAsPicture();
        break;
    default:
        break;
    }
}

void PaintingGalleryViewController::deleteCurrentShowingPainting()
{
    if (imageCount() == 0)
        return;
    m_showedIndex = indexOfShowedPage();
    const auto item = m_paintingManager->paintingList()[m_showedIndex];
    const bool deleted = m_paintingManager->deletePainting(*item);
    updatePagingScrollView();
    if (!deleted) {
        // The files stayed (a read-only folder, say), so the painting stays too.
        showOneButtonAlert(*this, localized("Delete Painting"), localized("The painting could not be deleted."));
        return;
    }
    if (imageCount() == 0) {
        if (auto* navigation = navigationController())
            navigation->popViewController(true);
    }
}

void PaintingGalleryViewController::onExportAsPicture()
{
    if (imageCount() == 0)
        return;
    auto item = m_paintingManager->paintingList()[m_showedIndex];
    item->loadFullSizeImage();
    const auto& picture = item->fullSizeImage();
    if (!picture) {
        // Nothing to save; like a failed save, this is not reported.
        return;
    }
    disableUserInput();
    QPointer<PaintingGalleryViewController> self(this);
    platform::PhotoAlbum::writeImage(picture->qimage(), [self](bool saved) {
        if (self)
            self->imageWasSavedSuccessfully(saved);
    });
}

void PaintingGalleryViewController::imageWasSavedSuccessfully(bool)
{
    enableUserInput();
}

void PaintingGalleryViewController::onExportAsVideo()
{
    if (getiOSVersion() < 4.1f) {
        alertVideoEncodingUnSupported(*this);
        return;
    }
    loadPaintingInBackground(LoadAction::VideoExport);
}

void PaintingGalleryViewController::clickMoviewButton()
{
    loadPaintingInBackground(LoadAction::Movie);
}

void PaintingGalleryViewController::clickEditButton()
{
    loadPaintingInBackground(LoadAction::Edit);
}

void PaintingGalleryViewController::loadPaintingInBackground(LoadAction action)
{
    if (m_busy || imageCount() == 0)
        return;
    disableUserInput();
    const QString name = m_paintingManager->paintingList()[m_showedIndex]->paintingName();
    QPointer<PaintingGalleryViewController> self(this);
    platform::DispatchQueue::global().async([self, name, action] {
        // Blocks are copied, so the painting travels in a shared holder.
        auto painting = std::make_shared<std::unique_ptr<Painting>>(Painting::initWithContentsOfFile(name));
        platform::DispatchQueue::mainQueue().async([self, action, painting] {
            if (self)
                self->paintingLoaded(action, std::move(*painting));
        });
    });
}

void PaintingGalleryViewController::paintingLoaded(LoadAction action, std::unique_ptr<Painting> painting)
{
    enableUserInput();
    if (!painting) {
        // The list still names the painting, but its stroke file is gone or
        // damaged: say so and stay on the pager.
        showOneButtonAlert(*this, localized("Painting Unavailable"),
            localized("This painting could not be opened. Its file may be damaged."));
        return;
    }
    auto* navigation = navigationController();
    if (!navigation)
        return;
    switch (action) {
    case LoadAction::Movie: {
        auto replay = platform::ui::makeScreen<MovieViewController>();
        replay->setMPainting(std::move(painting));
        navigation->pushViewController(replay, true);
        break;
    }
    case LoadAction::VideoExport: {
        auto exporter = platform::ui::makeScreen<VideoEncodeController>();
        exporter->setPainting(std::move(painting));
        navigation->pushViewController(exporter, true);
        break;
    }
    case LoadAction::Edit:
        if (!m_doodleViewController)
            m_doodleViewController = platform::ui::makeScreen<PintaroViewController>();
        m_doodleViewController->setPaintingInfo(m_paintingManager->paintingList()[m_showedIndex]);
        m_doodleViewController->setPaintingManager(m_paintingManager);
        m_doodleViewController->setMPainting(std::move(painting));
        navigation->pushViewController(m_doodleViewController, true);
        break;
    }
}

void PaintingGalleryViewController::disableUserInput()
{
    m_busy = true;
    m_progressSpin->raise();
    m_progressSpin->show();
    m_progressSpin->startAnimating();
    m_pagingScrollView->setEnabled(false);
    m_myToolbar->setEnabled(false);
    if (auto* navigation = navigationController())
        navigation->navigationBar().setEnabled(false);
    m_editButton->setEnabled(false);
}

void PaintingGalleryViewController::enableUserInput()
{
    m_busy = false;
    m_progressSpin->stopAnimating();
    m_progressSpin->hide();
    m_pagingScrollView->setEnabled(true);
    m_myToolbar->setEnabled(true);
    if (auto* navigation = navigationController())
        navigation->navigationBar().setEnabled(true);
    m_editButton->setEnabled(true);
}
