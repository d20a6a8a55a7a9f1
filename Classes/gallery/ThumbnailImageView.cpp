#include "Classes/gallery/ThumbnailImageView.h"

#include "Classes/gallery/PressGestureRecognizer.h"
#include "Classes/gallery/Utility.h"
#include "Classes/model/PaintingFile.h"
#include "Classes/model/PaintingItem.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/Device.h"
#include "platform/system/DispatchQueue.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <map>
#include <tuple>

namespace {

struct SignStyle {
    float veilAlpha;
    float padInset; // the centre's distance from the far edges on a tablet
    float outerRadius;
    float innerRadius;
    float crossWidth;
    float outerBlur;
    float innerBlur;
    float crossBlur;
};

constexpr SignStyle checkedPhone { 0.4f, 0, 12.5f, 10, 3, 15, 3, 3 };
constexpr SignStyle checkedPad { 0.4f, 16 + 10, 16, 12, 3, 15, 3, 3 };
constexpr SignStyle toDeletePhone { 0.8f, 0, 17, 12, 4, 10, 3, 15 };
constexpr SignStyle toDeletePad { 0.8f, 20 + 10, 20, 14, 4, 10, 3, 15 };

QPixmap drawSign(int width, const SignStyle& style)
{
    using namespace platform;
    const float w = static_cast<float>(width);
    const float scale = Device::mainScreenScale();
    ImageContext context({ w, w }, false, scale);
    context.setFillColor(Color::white().withAlpha(style.veilAlpha));
    context.fillRect(Rect(0, 0, w, w));
    const float centre = isPad() ? w - style.padInset : 3 * w * 0.25f;
    context.translateCTM(centre, centre);
    context.saveGState();
    context.setShadow({ 0, 0 }, style.outerBlur);
    context.setFillColor(Color::white());
    const float R = style.outerRadius;
    context.fillEllipseInRect(Rect(-R, -R, 2 * R, 2 * R));
    context.restoreGState();
    context.saveGState();
    context.setShadow({ 0, 0 }, style.innerBlur);
    context.setFillColor(Color::rgba(0.8f, 0, 0, 1));
    const float r = style.innerRadius;
    context.fillEllipseInRect(Rect(-r, -r, 2 * r, 2 * r));
    context.restoreGState();
    context.setShadow({ 0, 0 }, style.crossBlur);
    context.setStrokeColor(Color::white());
    context.setLineWidth(style.crossWidth);
    context.beginPath();
    context.moveToPoint({ -r / 2, -r / 2 });
    context.addLineToPoint({ r / 2, r / 2 });
    context.moveToPoint({ -r / 2, r / 2 });
    context.addLineToPoint({ r / 2, -r / 2 });
    context.strokePath();
    QPixmap pixmap = QPixmap::fromImage(context.image().qimage());
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

// Drawn once per cell size, device and screen scale, for the life of the program.
const QPixmap& sharedSign(int width, bool toDelete)
{
    using Key = std::tuple<int, bool, bool, float>;
    static std::map<Key, QPixmap> signs;
    const Key key { width, toDelete, isPad(), platform::Device::mainScreenScale() };
    auto found = signs.find(key);
    if (found == signs.end()) {
        const SignStyle& style = toDelete ? (isPad() ? toDeletePad : toDeletePhone) : (isPad() ? checkedPad : checkedPhone);
        found = signs.emplace(key, drawSign(width, style)).first;
    }
    return found->second;
}

QLabel* makeOverlay(QWidget& cell, const char* name, const QPixmap& image)
{
    auto* overlay = new QLabel(&cell);
    overlay->setObjectName(QString::fromLatin1(name));
    overlay->setScaledContents(true);
    overlay->setAttribute(Qt::WA_TransparentForMouseEvents);
    overlay->setGeometry(0, 0, cell.width(), cell.height());
    overlay->setPixmap(image);
    return overlay;
}

}

ThumbnailImageView::ThumbnailImageView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    m_tapRecognizer = new PressGestureRecognizer(PressGestureRecognizer::Kind::Tap, *this, {});
    m_longPressRecognizer = new PressGestureRecognizer(PressGestureRecognizer::Kind::LongPress, *this, {});
}

ThumbnailImageView::~ThumbnailImageView() = default;

void ThumbnailImageView::setTapAction(std::function<void(ThumbnailImageView&)> action)
{
    m_tapRecognizer->setAction([this, action = std::move(action)] { action(*this); });
}

void ThumbnailImageView::setLongPressAction(std::function<void(ThumbnailImageView&)> action)
{
    m_longPressRecognizer->setAction([this, action = std::move(action)] { action(*this); });
}

// A thumbnail already loaded shows at once; otherwise it is read on the global
// queue, so that scrolling never waits on the disk, and shown when it arrives
// if the cell still shows that painting.
void ThumbnailImageView::displayImage()
{
    m_thumbnailWithBorder = QImage();
    const unsigned generation = ++*m_generation;
    if (m_paintingInfo) {
        const auto& loaded = m_paintingInfo->thumbnailImage();
        if (loaded && !m_paintingInfo->isModified()) {
            showThumbnail(*loaded);
        } else {
            QPointer<ThumbnailImageView> self(this);
            const QString name = m_paintingInfo->paintingName();
            platform::DispatchQueue::global().async([self, current = m_generation, name, generation] {
                // A cell scrolled on past meanwhile needs this picture no more;
                // a fast scroll then costs no reading and no memory.
                if (*current != generation)
                    return;
                auto thumbnail = loadPaintingThumbnailImage(name);
                if (thumbnail) {
                    // Converted here for drawing, so that the main thread only shows it.
                    thumbnail = platform::Image(
                        thumbnail->qimage().convertToFormat(QImage::Format_ARGB32_Premultiplied), thumbnail->scale());
                }
                platform::DispatchQueue::mainQueue().async([self, generation, thumbnail = std::move(thumbnail)] {
                    if (!self || *self->m_generation != generation || !self->m_paintingInfo)
                        return;
                    self->m_paintingInfo->setThumbnailImage(thumbnail);
                    self->m_paintingInfo->setIsModified(false);
                    if (thumbnail)
                        self->showThumbnail(*thumbnail);
                });
            });
        }
    }
    update();
    if (m_isDeleteMode)
        showWithDeleteSign();
    else
        showWithoutDeleteSign();
}

void ThumbnailImageView::showThumbnail(const platform::Image& thumbnail)
{
    m_thumbnailWithBorder = thumbnail.qimage();
    m_thumbnailWithBorder.setDevicePixelRatio(thumbnail.scale());
    update();
}

void ThumbnailImageView::showWithDeleteSign()
{
    if (!m_checkedSign) {
        m_checkedSign = makeOverlay(*this, "checkedSign", loadCheckedSignImage(width()));
        m_toDeleteSign = makeOverlay(*this, "toDeleteSign", loadToDeleteSignImage(width()));
    }
    m_checkedSign->show();
    m_toDeleteSign->hide();
}

void ThumbnailImageView::showWithoutDeleteSign()
{
    if (m_checkedSign) {
        m_checkedSign->hide();
        m_toDeleteSign->hide();
    }
}

void ThumbnailImageView::tapped()
{
    m_isSelected = true;
    if (m_checkedSign) {
        m_checkedSign->hide();
        m_toDeleteSign->show();
    }
}

void ThumbnailImageView::deselected()
{
    m_isSelected = false;
    if (m_checkedSign) {
        m_checkedSign->show();
        m_toDeleteSign->hide();
    }
}

void ThumbnailImageView::recycled()
{
    m_isSelected = false;
    m_isDeleteMode = false;
    showWithoutDeleteSign();
    m_thumbnailWithBorder = QImage();
    ++*m_generation;
    // The list keeps its items for the life of the grid; letting them keep
    // every thumbnail ever scrolled past would grow with the gallery.
    if (m_paintingInfo)
        m_paintingInfo->setThumbnailImage(std::nullopt);
    m_paintingInfo.reset();
}

const QPixmap& ThumbnailImageView::loadCheckedSignImage(int width)
{
    return sharedSign(width, false);
}

const QPixmap& ThumbnailImageView::loadToDeleteSignImage(int width)
{
    return sharedSign(width, true);
}

void ThumbnailImageView::paintEvent(QPaintEvent*)
{
    if (m_thumbnailWithBorder.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), m_thumbnailWithBorder);
}

void ThumbnailImageView::resizeEvent(QResizeEvent*)
{
    // A cell of another size needs the overlays drawn for that size.
    for (QLabel* overlay : { m_checkedSign, m_toDeleteSign }) {
        if (overlay)
            overlay->setGeometry(0, 0, width(), height());
    }
    if (m_checkedSign) {
        m_checkedSign->setPixmap(loadCheckedSignImage(width()));
        m_toDeleteSign->setPixmap(loadToDeleteSignImage(width()));
    }
}
