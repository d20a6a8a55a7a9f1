#include "Classes/editor/PintaroViewController.h"

#include "Classes/brushes/UIColorRandom.h"
#include "Classes/colorpicker/ColorPickerViewController.h"
#include "Classes/editor/DoodleView.h"
#include "Classes/editor/MirrorModePicture.h"
#include "Classes/editor/ProgressSpin.h"
#include "Classes/gallery/ImageUtility.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingItem.h"
#include "Classes/model/PaintingManager.h"
#include "Classes/model/PaintingRecovery.h"
#include "Classes/movie/VideoEncodeController.h"
#include "platform/media/PhotoAlbum.h"
#include "platform/system/DispatchQueue.h"
#include "platform/system/Device.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/Localized.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/PhotoPicker.h"
#include "platform/ui/Popover.h"
#include "platform/ui/Toolbar.h"
#include "ui_PintaroViewController.h"
#include "ui_PintaroViewController_iPad.h"

#include <QLabel>
#include <QProgressBar>
#include <QShortcut>

using platform::ui::localized;

namespace {

bool isPad()
{
    return platform::Device::idiom() == platform::InterfaceIdiom::Pad;
}

struct MirrorButton {
    const char* name;
    int mode;
};
constexpr MirrorButton mirrorButtons[] = {
    { "horizMirrorButton", 1 }, { "vertiMirrorButton", 2 }, { "mirrixFourButton", 4 },
    { "mirrixFiveButton", 5 }, { "mirrixSixButton", 6 }, { "mirrixSevenButton", 7 },
    { "mirrixEightButton", 8 }, { "mirrixNineButton", 9 }, { "fan5Button", 10 },
};

QString mirrorModeToolTip(int mode)
{
    switch (mode) {
    case 1:
        return localized("New painting, mirrored left and right");
    case 2:
        return localized("New painting, mirrored top and bottom");
    case 10:
        return localized("New painting, turned five times");
    default:
        return platform::ui::localizedFormat("New painting, mirrored %d times", { mode * 2 });
    }
}

}

PintaroViewController::SharedState& PintaroViewController::sharedState()
{
    // One value each for the life of the process, shared by every editor.
    static SharedState state;
    return state;
}

PintaroViewController::PintaroViewController(QWidget* parent)
    : ViewController(parent)
    , m_recovery(std::make_unique<PaintingRecovery>())
{
    setObjectName(QStringLiteral("PintaroViewController"));
    setTitle(localized("Painting"));
    // The interface file follows the device: the tablet's has room for every
    // drawing action in one row.
    if (isPad())
        loadForm<Ui::PintaroViewController_iPad>();
    else
        loadForm<Ui::PintaroViewController>();
}

PintaroViewController::~PintaroViewController() = default;

template<typename Form>
void PintaroViewController::loadForm()
{
    Form form;
    form.setupUi(this);
    m_doodleView = form.doodleView;
    m_paintingToolBar = form.paintingToolBar;
    m_movieToolbar = form.movieToolbar;
    m_mirrixModeToolbar = form.mirrixModeToolbar;
    m_movieProgressSlider = form.movieProgressSlider;
    m_speedLabel = form.speedLabel;
    m_indicatorDialog = form.indicatorDialog;
    m_spinContainer = form.spinContainer;
    m_colorButton = form.colorButton;
    m_photoBarButton = form.photoBarButton;
    m_exportButton = form.exportButton;
    m_newButton = form.newButton;
}

void PintaroViewController::connectActions()
{
    struct Action {
        const char* name;
        const char* toolTip;
        void (PintaroViewController::*action)();
    };
    const Action actions[] = {
        { "newButton", QT_TRANSLATE_NOOP("Pintaro", "New painting"), &PintaroViewController::onNewDoodle },
        { "photoBarButton", QT_TRANSLATE_NOOP("Pintaro", "New painting on a photo"), &PintaroViewController::newDoodleWithPhoto },
        { "galleryButton", QT_TRANSLATE_NOOP("Pintaro", "Go to the gallery"), &PintaroViewController::onGotoGallery },
        { "exportButton", QT_TRANSLATE_NOOP("Pintaro", "More"), &PintaroViewController::exportPainting },
        { "undoButton", QT_TRANSLATE_NOOP("Pintaro", "Undo"), &PintaroViewController::undoPreviousStroke },
        { "eraserButton", QT_TRANSLATE_NOOP("Pintaro", "Eraser"), &PintaroViewController::erasePainting },
        { "brushButton", QT_TRANSLATE_NOOP("Pintaro", "Next brush"), &PintaroViewController::changeBrush },
        { "colorButton", QT_TRANSLATE_NOOP("Pintaro", "Brush colour"), &PintaroViewController::changeBrushColor },
        { "playbackButton", QT_TRANSLATE_NOOP("Pintaro", "Replay the painting"), &PintaroViewController::playbackDoodle },
        { "playButton", QT_TRANSLATE_NOOP("Pintaro", "Play"), &PintaroViewController::playbackDoodle },
        { "pauseButton", QT_TRANSLATE_NOOP("Pintaro", "Pause"), &PintaroViewController::pausePlaybackDoodle },
        { "stopButton", QT_TRANSLATE_NOOP("Pintaro", "Stop the replay"), &PintaroViewController::stopPlaybackDoodle },
        { "slowerButton", QT_TRANSLATE_NOOP("Pintaro", "Slower"), &PintaroViewController::slowerPlaybackDoodle },
        { "fasterButton", QT_TRANSLATE_NOOP("Pintaro", "Faster"), &PintaroViewController::fasterPlaybackDoodle },
    };
    for (const Action& action : actions) {
        auto* button = findChild<platform::ui::BarButton*>(QLatin1String(action.name));
        if (!button)
            continue;
        button->describe(localized(action.toolTip));
        button->setAction([this, method = action.action] { (this->*method)(); });
    }
    for (const MirrorButton& mirror : mirrorButtons) {
        auto* button = findChild<platform::ui::BarButton*>(QLatin1String(mirror.name));
        if (!button)
            continue;
        button->describe(mirrorModeToolTip(mirror.mode));
        button->setIcon(QIcon(QPixmap::fromImage(drawMirrorModePicture(mirror.mode, 80))));
        button->setAction([this, mode = mirror.mode] { setMirrixMode(mode); });
    }
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    undo->setContext(Qt::WidgetWithChildrenShortcut);
    connect(undo, &QShortcut::activated, this, [this] {
        if (!m_busy && !m_doodleView->isMovieMode())
            undoPreviousStroke();
    });
}

void PintaroViewController::viewDidLoad()
{
    if (!m_painting)
        newPaintingWithSolidColor();
    m_doodleView->setPlaybackProgressSlider(m_movieProgressSlider);
    m_doodleView->setDelegate(this);
    m_movieProgressSlider->setAccessibleName(localized("Replay progress"));
    m_speedLabel->setAccessibleName(localized("Replay speed"));
    m_speedLabel->setStyleSheet(QStringLiteral(
        "color: white; font-size: 20px; font-weight: bold; background: rgba(0,0,0,150); border-radius: 10px;"));
    m_movieProgressSlider->setStyleSheet(QStringLiteral(
        "QProgressBar { background: rgba(255,255,255,50); border: none; border-radius: 5px; }"
        "QProgressBar::chunk { background: rgb(74,222,128); border-radius: 5px; }"));
    connectActions();

    m_movieToolbar->hide();
    m_speedLabel->hide();
    m_indicatorDialog->hide();
    m_movieToolbar->raise();
    m_paintingToolBar->raise();
    m_speedLabel->raise();
    m_indicatorDialog->raise();
    m_mirrixModeToolbar->raise();

    m_doodleView->setPainting(m_painting);

    m_progressSpin = new ProgressSpin(QSize(70, 70), std::nullopt, m_spinContainer);
    m_progressSpin->hide();
    m_spinContainer->hide();
    layOutViews();
}

void PintaroViewController::viewWillAppear(bool)
{
    m_doodleView->setPainting(m_painting);
    m_doodleView->setNeedsDisplay();
    if (auto* navigation = navigationController())
        navigation->setNavigationBarHidden(true, false);
}

void PintaroViewController::viewWillDisappear(bool)
{
    m_indicatorDialog->hide();
}

void PintaroViewController::resizeEvent(QResizeEvent*)
{
    layOutViews();
}

void PintaroViewController::layOutViews()
{
    if (!m_doodleView)
        return;
    const int w = width();
    const int h = height();
    const int bar = platform::ui::Toolbar::height;
    m_doodleView->setGeometry(0, 0, w, h);
    m_paintingToolBar->setGeometry(0, h - bar, w, bar);
    m_movieToolbar->setGeometry(0, h - bar, w, bar);
    int mirrorHeight = m_mirrixModeToolbar->maximumHeight();
    m_mirrixModeToolbar->setGeometry(0, h - bar - mirrorHeight, w, mirrorHeight);
    m_speedLabel->setGeometry(w - 84, h - bar - 44, 76, 36);
    m_indicatorDialog->setGeometry(0, 0, w, h);
    m_spinContainer->setGeometry(0, 0, w, h);
    if (m_progressSpin) {
        QPoint centre = m_painting
            ? QPoint(int(m_painting->width() * m_doodleView->displayScale() / 2), int(m_painting->height() * m_doodleView->displayScale() / 2))
            : QPoint(w / 2, (h - bar) / 2);
        m_progressSpin->move(centre - QPoint(m_progressSpin->width() / 2, m_progressSpin->height() / 2));
    }
}

void PintaroViewController::setMPainting(std::shared_ptr<Painting> painting)
{
    m_painting = std::move(painting);
    if (m_doodleView && isViewLoaded())
        m_doodleView->setPainting(m_painting);
}

void PintaroViewController::newPaintingWithSolidColor()
{
    platform::Rect bounds = platform::Device::mainScreenBounds();
    float width = bounds.width();
    float height = bounds.height() - platform::ui::Toolbar::height;
    m_paintingInfo = nullptr;
    auto painting = std::make_shared<Painting>(platform::Size { width, height });
    painting->setBackgroundColor(getBlackColor());
    painting->addTransparentLayer();
    painting->setCropRegion(platform::Rect(0, 0, width, height));
    m_painting = std::move(painting);
}

void PintaroViewController::doodleViewOnTouchBegan()
{
    if (!m_doodleView->isMovieMode())
        m_mirrixModeToolbar->hide();
}

void PintaroViewController::doodleViewStrokesChanged()
{
    if (m_painting)
        m_recovery->paintingChanged(m_painting);
}

void PintaroViewController::colorPickerDidFinishWithColor(const platform::Color& color, bool isRandomColor)
{
    if (!m_painting)
        return;
    if (isRandomColor)
        m_painting->setBrushColorWithRandomColor();
    else
        m_painting->setBrushColorWithSolidColor(color);
}

void PintaroViewController::closePanels()
{
    if (m_colorPanelPopover && m_colorPanelPopover->isPopoverVisible())
        m_colorPanelPopover->dismiss(true);
    if (m_photoPanelPopover && m_photoPanelPopover->isPopoverVisible()) {
        m_photoPanelPopover->dismiss(true);
        m_photoPickerShown = false;
    }
}

void PintaroViewController::leaveScreen()
{
    if (auto* navigation = navigationController())
        navigation->popViewController(true);
}

void PintaroViewController::onNewDoodle()
{
    closePanels();
    if (!m_painting->notSaved())
        m_mirrixModeToolbar->show();
    else
        promptToSavePainting(SaveBeforeNewPainting, m_newButton);
}

void PintaroViewController::newDoodleWithPhoto()
{
    m_isNewPaintingWithPhoto = true;
    if (m_colorPanelPopover && m_colorPanelPopover->isPopoverVisible())
        m_colorPanelPopover->dismiss(true);
    if (!m_painting->notSaved())
        newPainting();
    else
        promptToSavePainting(SaveBeforeNewPainting, m_photoBarButton);
}

void PintaroViewController::setMirrixMode(int mode)
{
    sharedState().mirrixMode = mode;
    newDoodle();
}

void PintaroViewController::newDoodle()
{
    m_isNewPaintingWithPhoto = false;
    newPainting();
}

void PintaroViewController::newPainting()
{
    if (m_isNewPaintingWithPhoto)
        choosePhotoToDrawOn();
    else
        newPaintingWithBackground(std::nullopt);
    m_painting->setMirrixMode(sharedState().mirrixMode);
    if (m_painting->brushType() == Painting::rubberBrushType)
        switchBrush(sharedState().prevSelectedBrushType);
}

void PintaroViewController::newPaintingWithBackground(std::optional<platform::Image> image)
{
    int width = m_painting->width();
    int height = m_painting->height();
    platform::Rect cropRect = m_painting->cropRect();
    int brushType = m_painting->brushType();
    m_painting.reset();
    m_recovery->discard();

    auto painting = std::make_shared<Painting>(platform::Size { float(width), float(height) });
    if (image)
        painting->setBackgroundImage(std::move(image));
    else
        painting->setBackgroundColor(randomBackgroundColor());
    painting->addTransparentLayer();
    painting->switchBrush(brushType);
    painting->setCropRect(cropRect);

    m_painting = std::move(painting);
    m_doodleView->setPainting(m_painting);
    m_paintingInfo = nullptr;
    m_doodleView->setNeedsDisplay();
    updateSpeedLabel();
}

void PintaroViewController::switchBrush(int type)
{
    m_painting->switchBrush(type);
}

void PintaroViewController::changeBrush()
{
    closePanels();
    SharedState& state = sharedState();
    if (m_painting->brushType() == Painting::rubberBrushType) {
        switchBrush(state.prevSelectedBrushType);
        return;
    }
    state.indexOfSelectedBrush = (state.indexOfSelectedBrush + 1) % brushInfo.size();
    int type = brushInfo[state.indexOfSelectedBrush].type;
    switchBrush(type);
    state.prevSelectedBrushType = type;
}

void PintaroViewController::erasePainting()
{
    m_painting->switchToRubberBrush();
}

void PintaroViewController::undoPreviousStroke()
{
    closePanels();
    m_doodleView->undoStroke();
}

void PintaroViewController::changeBrushColor()
{
    if (m_photoPanelPopover && m_photoPanelPopover->isPopoverVisible()) {
        m_photoPanelPopover->dismiss(true);
        m_photoPickerShown = false;
    }
    if (!m_colorPickerViewController) {
        m_colorPickerViewController = std::make_shared<ColorPickerViewController>();
        m_colorPickerViewController->setDelegate(this);
    }
    if (isPad()) {
        if (!m_colorPanelPopover) {
            m_colorPanelPopover = std::make_unique<platform::ui::Popover>(m_colorPickerViewController.get());
            m_colorPanelPopover->setContentSize(m_colorPickerViewController->size());
            m_colorPickerViewController->setPopover(m_colorPanelPopover.get());
        }
        m_colorPickerViewController->viewWillAppear(true);
        m_colorPanelPopover->presentFrom(m_colorButton, true);
    } else {
        presentViewController(m_colorPickerViewController, true);
    }
}

void PintaroViewController::playbackDoodle()
{
    closePanels();
    m_doodleView->startPlaybackPainting();
    m_doodleView->setIsMovieMode(true);
    m_paintingToolBar->hide();
    m_movieToolbar->show();
    updateSpeedLabel();
    m_speedLabel->show();
}

void PintaroViewController::stopPlaybackDoodle()
{
    m_doodleView->stopPlaybackPainting();
    m_doodleView->setIsMovieMode(false);
    m_doodleView->setNeedsDisplay();
    m_paintingToolBar->show();
    m_movieToolbar->hide();
    m_speedLabel->hide();
}

void PintaroViewController::pausePlaybackDoodle()
{
    m_doodleView->pausePlaybackPainting();
}

void PintaroViewController::slowerPlaybackDoodle()
{
    m_doodleView->slowerPlaybackPainting();
    updateSpeedLabel();
}

void PintaroViewController::fasterPlaybackDoodle()
{
    m_doodleView->fasterPlaybackPainting();
    updateSpeedLabel();
}

void PintaroViewController::updateSpeedLabel()
{
    // A number with no words: shown as it is in every language.
    if (m_speedLabel && m_painting)
        m_speedLabel->setText(QStringLiteral("x%1").arg(m_painting->playbackSpeed()));
}

void PintaroViewController::onGotoGallery()
{
    closePanels();
    if (!m_painting->notSaved())
        leaveScreen();
    else
        promptToSavePainting(SaveBeforeGallery, m_exportButton);
}

void PintaroViewController::exportPainting()
{
    closePanels();
    m_exportPainintActionSheet = platform::ui::ActionSheet::show(this, m_exportButton, QString(),
        { localized("Cancel"), QString(),
            // Shown as they stand.
            { QStringLiteral("Go To Gallery"), QStringLiteral("Save image to photo album"), QStringLiteral("Export movie to photo album") } },
        [this](int index) {
            if (m_exportPainintActionSheet)
                actionSheetDidDismissWithButtonIndex(*m_exportPainintActionSheet, index);
        });
    m_newPainintActionSheet = nullptr;
    m_actionSheetType = ExportMenu;
}

void PintaroViewController::promptToSavePainting(ActionSheetType type, QWidget* anchor)
{
    m_newPainintActionSheet = platform::ui::ActionSheet::show(this, anchor,
        localized("Painting has not been saved. Do you want to save or discard it?"),
        { localized("Cancel"), localized("Save Painting"), { localized("Discard Painting") } },
        [this](int index) {
            if (m_newPainintActionSheet)
                actionSheetDidDismissWithButtonIndex(*m_newPainintActionSheet, index);
        });
    m_exportPainintActionSheet = nullptr;
    m_actionSheetType = type;
}

void PintaroViewController::actionSheetDidDismissWithButtonIndex(platform::ui::ActionSheet& sheet, int index)
{
    if (index == sheet.cancelButtonIndex()) {
        if (m_actionSheetType == SaveBeforeClosing && m_pendingCloseAnswer)
            std::exchange(m_pendingCloseAnswer, nullptr)(false);
        return;
    }
    const bool save = index == sheet.destructiveButtonIndex();
    const int other = index - sheet.firstOtherButtonIndex();
    if (!save && m_actionSheetType != ExportMenu)
        m_recovery->discard();
    switch (m_actionSheetType) {
    case SaveBeforeNewPainting:
        if (save)
            savePaintingWithDidFinish([this] { m_mirrixModeToolbar->show(); });
        else
            m_mirrixModeToolbar->show();
        break;
    case ExportMenu:
        if (other == 0) {
            if (m_painting->notSaved())
                promptToSavePainting(SaveBeforeGallery, m_exportButton);
            else
                leaveScreen();
        } else if (other == 1) {
            savePictureToAlbum();
        } else if (other == 2) {
            exportMovie();
        }
        break;
    case SaveBeforeGallery:
        if (save)
            savePaintingWithDidFinish([this] { leaveScreen(); });
        else
            leaveScreen();
        break;
    case SaveBeforeClosing:
        if (save) {
            savePaintingWithDidFinish([this] {
                if (m_pendingCloseAnswer)
                    std::exchange(m_pendingCloseAnswer, nullptr)(true);
            });
        } else if (m_pendingCloseAnswer) {
            std::exchange(m_pendingCloseAnswer, nullptr)(true);
        }
        break;
    default:
        break;
    }
}

void PintaroViewController::savePictureToAlbum()
{
    // The picture as the gallery would show it; a movie is made from the
    // gallery, which reads the painting back from its files.
    QPointer<PintaroViewController> self = this;
    disableUserInput();
    platform::PhotoAlbum::writeImage(m_painting->getPaintingImage().qimage(), [self](bool saved) {
        if (!self)
            return;
        self->enableUserInput();
        if (saved)
            platform::ui::AlertView::show(self, QString(), localized("The picture is in the photo album."), { localized("OK") }, 0, [](int) { });
        else
            platform::ui::AlertView::show(self, localized("Picture could not be saved"), QString(), { localized("OK") }, 0, [](int) { });
    });
}

void PintaroViewController::exportMovie()
{
    // The export screen replays a painting of its own, read back from the
    // files, so the painting is saved first when it has changed.
    if (m_painting->notSaved() || !m_paintingInfo) {
        savePaintingWithDidFinish([this] { exportMovie(); });
        return;
    }
    disableUserInput();
    QPointer<PintaroViewController> self = this;
    const QString name = m_paintingInfo->paintingName();
    platform::DispatchQueue::global().async([self, name] {
        auto painting = std::make_shared<std::unique_ptr<Painting>>(Painting::initWithContentsOfFile(name));
        platform::DispatchQueue::mainQueue().async([self, painting] {
            if (!self)
                return;
            self->enableUserInput();
            auto* navigation = self->navigationController();
            if (!*painting || !navigation) {
                platform::ui::AlertView::show(self, localized("Painting Unavailable"),
                    localized("This painting could not be opened. Its file may be damaged."), { localized("OK") }, 0, [](int) { });
                return;
            }
            auto exporter = platform::ui::makeScreen<VideoEncodeController>();
            exporter->setPainting(std::move(*painting));
            navigation->pushViewController(exporter, true);
        });
    });
}

void PintaroViewController::windowCloseRequested(std::function<void(bool mayClose)> answer)
{
    // Nothing is ever lost silently: an unsaved painting is saved or given up
    // on purpose first, and a save under way finishes before the window goes.
    // A sheet left open is put away first: its question no longer matters.
    for (auto* sheet : { m_newPainintActionSheet.data(), m_exportPainintActionSheet.data() }) {
        if (sheet)
            sheet->dismissWithButtonIndex(sheet->cancelButtonIndex());
    }
    m_pendingCloseAnswer = std::move(answer);
    if (m_busy)
        return;
    if (m_doodleView->isMovieMode())
        stopPlaybackDoodle();
    closePanels();
    if (presentedViewController())
        dismissViewController(false);
    if (!m_painting || !m_painting->notSaved()) {
        std::exchange(m_pendingCloseAnswer, nullptr)(true);
        return;
    }
    promptToSavePainting(SaveBeforeClosing, nullptr);
}

void PintaroViewController::disableUserInput()
{
    m_busy = true;
    m_spinContainer->show();
    m_spinContainer->raise();
    m_doodleView->setUserInputEnabled(false);
}

void PintaroViewController::enableUserInput()
{
    m_busy = false;
    m_spinContainer->hide();
    m_doodleView->setUserInputEnabled(true);
}

void PintaroViewController::savePaintingWithDidFinish(std::function<void()> then)
{
    disableUserInput();
    m_progressSpin->show();
    m_progressSpin->startAnimating();

    m_painting->setPaintingImage(m_painting->getPaintingImage());
    if (!m_paintingManager) {
        saveDidFinish(nullptr, std::move(then));
        return;
    }
    // The painting stays alive, and untouched, until the manager calls back.
    QPointer<PintaroViewController> self = this;
    std::shared_ptr<Painting> saving = m_painting;
    m_paintingManager->savePainting(*saving, m_paintingInfo.get(), [self, saving, then = std::move(then)](std::shared_ptr<PaintingItem> item) {
        if (self)
            self->saveDidFinish(std::move(item), then);
    });
}

void PintaroViewController::saveDidFinish(std::shared_ptr<PaintingItem> item, std::function<void()> then)
{
    m_progressSpin->hide();
    m_progressSpin->stopAnimating();
    enableUserInput();
    if (!item) {
        // Nothing was written: the painting stays here, unsaved, and the step
        // that was to follow the save does not happen.
        if (m_pendingCloseAnswer)
            std::exchange(m_pendingCloseAnswer, nullptr)(false);
        platform::ui::AlertView::show(this, localized("Painting could not be saved"),
            localized("There may be no room left. Your painting is still here."), { localized("OK") }, 0, [](int) { });
        return;
    }
    m_paintingInfo = std::move(item);
    m_painting->setIsSaved(true);
    m_recovery->discard();
    if (then)
        then();
    // The window was closed while the save ran: now it may go.
    if (m_pendingCloseAnswer)
        windowCloseRequested(std::exchange(m_pendingCloseAnswer, nullptr));
}

void PintaroViewController::choosePhotoToDrawOn()
{
    pickPhoto();
}

void PintaroViewController::pickPhoto()
{
    if (!platform::ui::PhotoPicker::isSourceAvailable()) {
        platform::ui::AlertView::show(this, localized("Error accessing media"),
            localized("Device doesn\u2019t support that media source."), { localized("Drat!") }, 0, [](int) { });
        return;
    }
    if (!m_photoPicker)
        m_photoPicker = std::make_unique<platform::ui::PhotoPicker>();
    m_photoPicker->begin([this](const platform::ui::PhotoPicker::Result& result) {
        dismissPhotoPicker();
        if (result.cancelled)
            return;
        if (!result.image) {
            platform::ui::AlertView::show(this, localized("This picture could not be opened"),
                localized("Please choose another one."), { localized("OK") }, 0, [](int) { });
            return;
        }
        std::optional<platform::Image> fitted = cropImage(platform::Image(*result.image), float(m_painting->width()),
            float(m_painting->height()), 0, platform::Color::black(), true);
        if (fitted)
            newPaintingWithBackground(std::move(fitted));
    });
    m_photoPickerShown = true;
    if (isPad()) {
        if (!m_photoPanelPopover) {
            m_photoPanelPopover = std::make_unique<platform::ui::Popover>(&m_photoPicker->dialog());
            m_photoPanelPopover->setContentSize(QSize(520, 440));
            m_photoPanelPopover->setOnUserDismiss([this] { m_photoPickerShown = false; });
        }
        m_photoPanelPopover->presentFrom(m_photoBarButton && m_photoBarButton->isVisible() ? m_photoBarButton : m_newButton, true);
        m_photoPicker->dialog().show();
    } else {
        presentViewController(m_photoPicker->screen(), true);
    }
}

void PintaroViewController::dismissPhotoPicker()
{
    if (!m_photoPickerShown)
        return;
    m_photoPickerShown = false;
    if (m_photoPanelPopover && m_photoPanelPopover->isPopoverVisible())
        m_photoPanelPopover->dismiss(true);
    else if (presentedViewController())
        dismissViewController(true);
}
