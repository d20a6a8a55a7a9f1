#pragma once

#include "Classes/colorpicker/ColorPickerDelegate.h"
#include "Classes/editor/DoodleViewDelegate.h"
#include "platform/graphics/Color.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ViewController.h"

#include <QPointer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class ColorPickerViewController;
class DoodleView;
class Painting;
class PaintingItem;
class PaintingManager;
class PaintingRecovery;
class ProgressSpin;
class QLabel;
class QProgressBar;

namespace platform::ui {
class ActionSheet;
class BarButton;
class PhotoPicker;
class Popover;
class Toolbar;
}

// The drawing screen: the canvas under three toolbars (drawing, replay and the
// mirror modes that start a new painting), and the flows around the painting:
// new paintings, the save-or-discard prompt, saving, leaving, undo, eraser,
// brushes, colours and replay.
class PintaroViewController final : public platform::ui::ViewController, public DoodleViewDelegate, public ColorPickerDelegate {
    Q_OBJECT
public:
    enum ActionSheetType { SaveBeforeNewPainting = 10, ExportMenu = 20, SaveBeforeGallery = 30, SaveBeforeClosing = 40 };

    struct BrushInfo {
        int type;
        const char* label;
    };
    static constexpr std::array<BrushInfo, 8> brushInfo { {
        { 37, "Neon" }, { 16, "Shape" }, { 13, "Pen" }, { 11, "Rainbow" },
        { 34, "Neon necklace" }, { 64, "color dots" }, { 24, "Neon" }, { 51, "thin chalk" },
    } };

    // The choices every editor of the process shares.
    struct SharedState {
        int mirrixMode { 9 };
        unsigned indexOfSelectedBrush { 0 };
        int prevSelectedBrushType { 37 };
    };
    static SharedState& sharedState();

    explicit PintaroViewController(QWidget* parent = nullptr);
    ~PintaroViewController() override;

    const std::shared_ptr<Painting>& mPainting() const { return m_painting; }
    void setMPainting(std::shared_ptr<Painting> painting);
    const std::shared_ptr<PaintingItem>& paintingInfo() const { return m_paintingInfo; }
    void setPaintingInfo(std::shared_ptr<PaintingItem> info) { m_paintingInfo = std::move(info); }
    void setPaintingManager(std::shared_ptr<PaintingManager> manager) { m_paintingManager = std::move(manager); }
    const std::shared_ptr<PaintingManager>& paintingManager() const { return m_paintingManager; }

    DoodleView* doodleView() const { return m_doodleView; }
    ProgressSpin* progressSpin() const { return m_progressSpin; }
    int actionSheetType() const { return m_actionSheetType; }
    bool isNewPaintingWithPhoto() const { return m_isNewPaintingWithPhoto; }
    bool isBusy() const { return m_busy; }

    void doodleViewOnTouchBegan() override;
    void doodleViewStrokesChanged() override;
    void colorPickerDidFinishWithColor(const platform::Color& color, bool isRandomColor) override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void windowCloseRequested(std::function<void(bool mayClose)> answer) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    template<typename Form>
    void loadForm();
    void connectActions();
    void layOutViews();

    // Toolbar actions.
    void onNewDoodle();
    void newDoodleWithPhoto();
    void pickPhoto();
    void onGotoGallery();
    void exportPainting();
    void undoPreviousStroke();
    void erasePainting();
    void changeBrush();
    void changeBrushColor();
    void playbackDoodle();
    void pausePlaybackDoodle();
    void stopPlaybackDoodle();
    void slowerPlaybackDoodle();
    void fasterPlaybackDoodle();
    void setMirrixMode(int mode);

    void newDoodle();
    void newPainting();
    void newPaintingWithSolidColor();
    void newPaintingWithBackground(std::optional<platform::Image> image);
    void switchBrush(int type);
    void closePanels();
    void leaveScreen();
    void updateSpeedLabel();

    void choosePhotoToDrawOn();
    void dismissPhotoPicker();

    void promptToSavePainting(ActionSheetType type, QWidget* anchor);
    void actionSheetDidDismissWithButtonIndex(platform::ui::ActionSheet& sheet, int index);
    void savePaintingWithDidFinish(std::function<void()> then);
    void saveDidFinish(std::shared_ptr<PaintingItem> item, std::function<void()> then);
    void savePictureToAlbum();
    void exportMovie();
    void disableUserInput();
    void enableUserInput();

    std::shared_ptr<Painting> m_painting;
    std::shared_ptr<PaintingItem> m_paintingInfo;
    std::shared_ptr<PaintingManager> m_paintingManager;
    // Keeps the unsaved painting safe from a crash.
    std::unique_ptr<PaintingRecovery> m_recovery;

    DoodleView* m_doodleView { nullptr };
    platform::ui::Toolbar* m_paintingToolBar { nullptr };
    platform::ui::Toolbar* m_movieToolbar { nullptr };
    platform::ui::Toolbar* m_mirrixModeToolbar { nullptr };
    QProgressBar* m_movieProgressSlider { nullptr };
    QLabel* m_speedLabel { nullptr };
    QWidget* m_indicatorDialog { nullptr };
    QWidget* m_spinContainer { nullptr };
    ProgressSpin* m_progressSpin { nullptr };
    platform::ui::BarButton* m_colorButton { nullptr };
    platform::ui::BarButton* m_photoBarButton { nullptr };
    platform::ui::BarButton* m_exportButton { nullptr };
    platform::ui::BarButton* m_newButton { nullptr };

    std::shared_ptr<ColorPickerViewController> m_colorPickerViewController;
    std::unique_ptr<platform::ui::Popover> m_colorPanelPopover;
    std::unique_ptr<platform::ui::PhotoPicker> m_photoPicker;
    std::unique_ptr<platform::ui::Popover> m_photoPanelPopover;
    bool m_photoPickerShown { false };

    QPointer<platform::ui::ActionSheet> m_newPainintActionSheet;
    QPointer<platform::ui::ActionSheet> m_exportPainintActionSheet;
    int m_actionSheetType { 0 };
    bool m_isNewPaintingWithPhoto { false };
    bool m_busy { false };
    std::function<void(bool)> m_pendingCloseAnswer;
};
