#pragma once

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <memory>

class PaintingItem;
class PressGestureRecognizer;

// One page of the gallery pager: a saved painting's full-size picture at its
// own size. The picture is loaded while the page shows the painting and
// dropped when the page is recycled.
class GalleryPage final : public QWidget {
    Q_OBJECT
public:
    explicit GalleryPage(QWidget* parent = nullptr);
    ~GalleryPage() override;

    const std::shared_ptr<PaintingItem>& paintingItem() const { return m_paintingItem; }
    void setPaintingItem(std::shared_ptr<PaintingItem> item) { m_paintingItem = std::move(item); }
    unsigned index() const { return m_index; }
    void setIndex(unsigned index) { m_index = index; }
    // A tap on the picture; one recognizer for the page's whole life.
    void setTapAction(std::function<void()> action);

    void loadPaintingFullSizeImage();
    void unloadPaintingFullSizeImage();
    void displayPaintingImage();
    void recycled();

    // The picture's size in points, or nothing when it could not be loaded.
    QSize pictureSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::shared_ptr<PaintingItem> m_paintingItem;
    unsigned m_index { 0 };
    PressGestureRecognizer* m_tapRecognizer { nullptr };
    QPixmap m_picture;
};
