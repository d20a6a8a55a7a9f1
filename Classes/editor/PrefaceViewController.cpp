#include "Classes/editor/PrefaceViewController.h"

#include "Classes/brushes/UIColorRandom.h"
#include "Classes/editor/PintaroViewController.h"
#include "Classes/editor/RecoveryAlert.h"
#include "Classes/editor/StoreAddresses.h"
#include "Classes/gallery/PaintingThumbnailViewController.h"
#include "Classes/model/Painting.h"
#include "Classes/model/PaintingManager.h"
#include "platform/system/Device.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Localized.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Toolbar.h"
#include "ui_PrefaceViewController.h"
#include "ui_PrefaceViewController_iPad.h"

#include <QDesktopServices>
#include <QPainter>
#include <QUrl>

using platform::ui::localized;

PrefaceViewController::PrefaceViewController(QWidget* parent)
    : ViewController(parent)
{
    setObjectName(QStringLiteral("PrefaceViewController"));
    if (platform::Device::idiom() == platform::InterfaceIdiom::Pad)
        loadForm<Ui::PrefaceViewController_iPad>();
    else
        loadForm<Ui::PrefaceViewController>();
    setTitle(QStringLiteral("Preface1"));
}

PrefaceViewController::~PrefaceViewController() = default;

template<typename Form>
void PrefaceViewController::loadForm()
{
    Form form;
    form.setupUi(this);
    // The program's name is shown as it is.
    form.titleLabel->setText(QStringLiteral("Pintaro"));
    form.titleLabel->setAccessibleName(QStringLiteral("Pintaro"));
    form.artView->load(QStringLiteral(":/home.svg"));
    m_newDoodleButton = form.newDoodleButton;
    m_galleryButton = form.galleryButton;
    m_rateButton = form.rateButton;
    m_moreAppsButton = form.moreAppsButton;
}

void PrefaceViewController::viewDidLoad()
{
    loadPaintingManager();
    makeEditorIfNeeded();

    bool pad = platform::Device::idiom() == platform::InterfaceIdiom::Pad;
    QString big = QStringLiteral(
        "QToolButton { color: white; font-size: %1px; font-weight: bold; border-radius: %2px; padding: 6px 18px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %3, stop:1 %4); border: 3px solid rgba(255,255,255,160); }"
        "QToolButton:pressed { background: %4; }"
        "QToolButton:focus { border: 3px solid rgb(120,200,255); }");
    int font = pad ? 34 : 22;
    int radius = pad ? 30 : 20;
    m_newDoodleButton->setStyleSheet(big.arg(font).arg(radius).arg("#ff4fd8", "#b5179e"));
    m_galleryButton->setStyleSheet(big.arg(font).arg(radius).arg("#38bdf8", "#1d4ed8"));
    QString small = QStringLiteral(
        "QToolButton { color: white; font-size: %1px; border-radius: 12px; padding: 4px 10px;"
        " background: rgba(255,255,255,40); border: 2px solid rgba(255,255,255,90); }"
        "QToolButton:focus { border: 2px solid rgb(120,200,255); }")
                        .arg(pad ? 20 : 15);
    m_rateButton->setStyleSheet(small);
    m_moreAppsButton->setStyleSheet(small);

    struct Button {
        QToolButton* button;
        const char* text;
        void (PrefaceViewController::*action)();
    };
    const Button buttons[] = {
        { m_newDoodleButton, QT_TRANSLATE_NOOP("Pintaro", "New painting"), &PrefaceViewController::onNewDoodle },
        { m_galleryButton, QT_TRANSLATE_NOOP("Pintaro", "Gallery"), &PrefaceViewController::onGallery },
        { m_rateButton, QT_TRANSLATE_NOOP("Pintaro", "Rate"), &PrefaceViewController::onRate },
        { m_moreAppsButton, QT_TRANSLATE_NOOP("Pintaro", "More apps"), &PrefaceViewController::onMoreApps },
    };
    for (const Button& b : buttons) {
        b.button->setText(localized(b.text));
        b.button->setToolTip(localized(b.text));
        b.button->setAccessibleName(localized(b.text));
        b.button->setCursor(Qt::PointingHandCursor);
        connect(b.button, &QToolButton::clicked, this, [this, action = b.action] { (this->*action)(); });
    }
    offerRecoveredPainting(this, [this](std::shared_ptr<Painting> painting) {
        m_doodleViewController->setPaintingInfo(nullptr);
        m_doodleViewController->setMPainting(std::move(painting));
        if (auto* navigation = navigationController())
            navigation->pushViewController(m_doodleViewController, true);
    });
}

void PrefaceViewController::viewWillAppear(bool)
{
    setTitle(localized("Home"));
    if (auto* navigation = navigationController())
        navigation->setNavigationBarHidden(true, false);
}

void PrefaceViewController::loadPaintingManager()
{
    auto manager = std::make_shared<PaintingManager>();
    manager->initPaintingManager();
    m_paintingManager = std::move(manager);
}

void PrefaceViewController::makeEditorIfNeeded()
{
    if (m_doodleViewController)
        return;
    m_doodleViewController = std::make_shared<PintaroViewController>();
    m_doodleViewController->setPaintingManager(m_paintingManager);
}

void PrefaceViewController::onNewDoodle()
{
    newPaintingWithSolidColor();
}

void PrefaceViewController::newPaintingWithSolidColor()
{
    makeEditorIfNeeded();
    platform::Rect bounds = platform::Device::mainScreenBounds();
    float width = bounds.width();
    float height = bounds.height() - platform::ui::Toolbar::height;
    m_doodleViewController->setPaintingInfo(nullptr);
    auto painting = std::make_shared<Painting>(platform::Size { width, height });
    painting->setBackgroundColor(getBlackColor());
    painting->addTransparentLayer();
    painting->setCropRegion(platform::Rect(0, 0, width, height));
    m_doodleViewController->setMPainting(std::move(painting));
    if (auto* navigation = navigationController())
        navigation->pushViewController(m_doodleViewController, true);
}

void PrefaceViewController::onGallery()
{
    if (!m_thumbnailViewController) {
        makeEditorIfNeeded();
        m_thumbnailViewController = std::make_shared<PaintingThumbnailViewController>();
        m_thumbnailViewController->setPaintingManager(m_paintingManager);
        m_thumbnailViewController->setDoodleViewController(m_doodleViewController);
    }
    if (auto* navigation = navigationController())
        navigation->pushViewController(m_thumbnailViewController, true);
}

void PrefaceViewController::onRate()
{
    // "Rate" sits in the first place; Escape means "Cancel".
    platform::ui::AlertView::show(this, QString(), localized("If you enjoy this game, please help rate. Thanks :)"),
        { localized("Rate"), localized("Cancel") }, rateAlertTag,
        [this](int index) { alertViewClickedButtonAtIndex(rateAlertTag, index); }, 1);
}

void PrefaceViewController::alertViewClickedButtonAtIndex(int tag, int index)
{
    if (tag == rateAlertTag && index == 0)
        QDesktopServices::openUrl(QUrl(QString::fromLatin1(store::rateAddress)));
}

void PrefaceViewController::onMoreApps()
{
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(store::moreAppsAddress)));
}

void PrefaceViewController::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(28, 16, 74));
    sky.setColorAt(0.6, QColor(12, 30, 84));
    sky.setColorAt(1, QColor(6, 8, 24));
    painter.fillRect(rect(), sky);
}
