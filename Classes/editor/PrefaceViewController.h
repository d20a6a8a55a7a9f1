#pragma once

#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>

class PaintingManager;
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

    // The gallery screen is made by this seam on the first visit, given the
    // painting list and the editor it opens paintings in.
    using GalleryFactory = std::function<std::shared_ptr<platform::ui::ViewController>(
        std::shared_ptr<PaintingManager>, std::shared_ptr<PintaroViewController>)>;
    void setGalleryFactory(GalleryFactory factory) { m_galleryFactory = std::move(factory); }

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
    std::shared_ptr<platform::ui::ViewController> m_thumbnailViewController;
    GalleryFactory m_galleryFactory;
    QToolButton* m_newDoodleButton { nullptr };
    QToolButton* m_galleryButton { nullptr };
    QToolButton* m_rateButton { nullptr };
    QToolButton* m_moreAppsButton { nullptr };
};
