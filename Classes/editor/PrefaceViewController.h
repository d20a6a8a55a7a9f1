#pragma once

#include "platform/ui/ViewController.h"

#include <memory>

class PaintingManager;
class PaintingThumbnailViewController;
class PintaroViewController;
class QToolButton;

// The home screen: start a new painting or open the gallery; it also asks
// for a rating and points at the publisher's other programs.
class PrefaceViewController final : public platform::ui::ViewController {
    Q_OBJECT
public:
    static constexpr int rateAlertTag = 200;

    explicit PrefaceViewController(QWidget* parent = nullptr);
    ~PrefaceViewController() override;

    const std::shared_ptr<PaintingManager>& paintingManager() const { return m_paintingManager; }
    const std::shared_ptr<PintaroViewController>& doodleViewController() const { return m_doodleViewController; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    template<typename Form>
    void loadForm();
    void loadPaintingManager();
    void makeEditorIfNeeded();

    void onNewDoodle();
    void onGallery();
    void onRate();
    void onMoreApps();
    void newPaintingWithSolidColor();
    void alertViewClickedButtonAtIndex(int tag, int index);

    std::shared_ptr<PaintingManager> m_paintingManager;
    std::shared_ptr<PintaroViewController> m_doodleViewController;
    std::shared_ptr<PaintingThumbnailViewController> m_thumbnailViewController;
    QToolButton* m_newDoodleButton { nullptr };
    QToolButton* m_galleryButton { nullptr };
    QToolButton* m_rateButton { nullptr };
    QToolButton* m_moreAppsButton { nullptr };
};
