#pragma once

#include "platform/graphics/Image.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class PaintingItem;
class PressGestureRecognizer;
class QLabel;

// One cell of the thumbnail grid: the painting's thumbnail, scaled to the
// cell, and in delete mode an overlay that marks every cell, or the stronger
// one of a cell marked for deletion. Cells are reused as the grid scrolls.
class ThumbnailImageView final : public QWidget {
    Q_OBJECT
public:
    explicit ThumbnailImageView(QWidget* parent = nullptr);
    ~ThumbnailImageView() override;

    const std::shared_ptr<PaintingItem>& paintingInfo() const { return m_paintingInfo; }
    void setPaintingInfo(std::shared_ptr<PaintingItem> item) { m_paintingInfo = std::move(item); }
    int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }
    bool isSelected() const { return m_isSelected; }
    bool isDeleteMode() const { return m_isDeleteMode; }
    void setIsDeleteMode(bool deleteMode) { m_isDeleteMode = deleteMode; }

    // What a tap and a long press on the cell do. Each cell has one
    // recognizer of each kind for its whole life, whatever it shows.
    void setTapAction(std::function<void(ThumbnailImageView&)> action);
    void setLongPressAction(std::function<void(ThumbnailImageView&)> action);

    void displayImage();
    void showWithDeleteSign();
    void showWithoutDeleteSign();
    void tapped();
    void deselected();
    void recycled();

    // The overlays, drawn once for a cell size and shared by every cell.
    static const QPixmap& loadCheckedSignImage(int width);
    static const QPixmap& loadToDeleteSignImage(int width);

    // Whether the cell holds a picture; recycled cells hold none.
    bool hasThumbnail() const { return !m_thumbnailWithBorder.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showThumbnail(const platform::Image& thumbnail);


    std::shared_ptr<PaintingItem> m_paintingInfo;
    int m_index { 0 };
    bool m_isSelected { false };
    PressGestureRecognizer* m_tapRecognizer { nullptr };
    PressGestureRecognizer* m_longPressRecognizer { nullptr };
    QLabel* m_checkedSign { nullptr };
    QLabel* m_toDeleteSign { nullptr };
    bool m_isDeleteMode { false };
    // The thumbnail, framed on a tablet by the painting list, ready to draw
    // and kept while the cell shows this painting.
    QImage m_thumbnailWithBorder;
    // Counts what the cell was asked to show, so that a thumbnail read for an
    // earlier painting is not shown; shared with the reads under way.
    std::shared_ptr<std::atomic<unsigned>> m_generation = std::make_shared<std::atomic<unsigned>>(0);
};
