#include "Classes/gallery/GalleryPage.h"

#include "Classes/gallery/PressGestureRecognizer.h"
#include "Classes/model/PaintingItem.h"

#include <QPainter>

GalleryPage::GalleryPage(QWidget* parent)
    : QWidget(parent)
{
    m_tapRecognizer = new PressGestureRecognizer(PressGestureRecognizer::Kind::Tap, *this, {});
}

GalleryPage::~GalleryPage() = default;

void GalleryPage::setTapAction(std::function<void()> action)
{
    m_tapRecognizer->setAction(std::move(action));
}

void GalleryPage::loadPaintingFullSizeImage()
{
    if (m_paintingItem && !m_paintingItem->fullSizeImage())
        m_paintingItem->loadFullSizeImage();
}

void GalleryPage::unloadPaintingFullSizeImage()
{
    if (m_paintingItem)
        m_paintingItem->setFullSizeImage(std::nullopt);
    m_picture = QPixmap();
}

void GalleryPage::displayPaintingImage()
{
    loadPaintingFullSizeImage();
    m_picture = QPixmap();
    if (m_paintingItem) {
        if (const auto& image = m_paintingItem->fullSizeImage()) {
            m_picture = QPixmap::fromImage(image->qimage());
            m_picture.setDevicePixelRatio(image->scale());
        }
    }
    update();
}

void GalleryPage::recycled()
{
    unloadPaintingFullSizeImage();
    m_paintingItem.reset();
    m_index = 0;
}

QSize GalleryPage::pictureSize() const
{
    return m_picture.isNull() ? QSize() : (m_picture.deviceIndependentSize()).toSize();
}

void GalleryPage::paintEvent(QPaintEvent*)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), m_picture);
}
