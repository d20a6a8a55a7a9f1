#pragma once

#include <QWidget>
#include <memory>

class Painting;

// The replay screen's view: it draws the painting in movie mode, so that the
// replay canvas shows, at the painting's own size from the top-left corner.
// Only the parts marked as changed are composed again.
class MovieView final : public QWidget {
    Q_OBJECT
public:
    explicit MovieView(QWidget* parent = nullptr);
    ~MovieView() override;

    // Shared with the screen that replays it.
    void setMPainting(std::shared_ptr<Painting> painting);
    const std::shared_ptr<Painting>& mPainting() const { return m_painting; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    class Canvas;

    std::shared_ptr<Painting> m_painting;
    // The composed picture, kept between repaints and made again only when
    // the painting's size changes.
    std::unique_ptr<Canvas> m_canvas;
};
