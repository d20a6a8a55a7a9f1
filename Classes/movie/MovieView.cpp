#include "Classes/movie/MovieView.h"

#include "Classes/model/Painting.h"
#include "platform/graphics/GraphicsContext.h"

#include <QPaintEvent>
#include <QPainter>

// A context over a picture that the view draws from directly, without a copy.
class MovieView::Canvas final : public platform::GraphicsContext {
public:
    explicit Canvas(QSize size)
        : GraphicsContext(std::make_unique<QImage>(size, QImage::Format_ARGB32_Premultiplied), QTransform())
    {
    }
    const QImage& pixels() const { return target(); }
};

MovieView::MovieView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAutoFillBackground(false);
}

MovieView::~MovieView() = default;

void MovieView::setMPainting(std::shared_ptr<Painting> painting)
{
    m_painting = std::move(painting);
    update();
}

void MovieView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::black);
    if (!m_painting)
        return;
    m_painting->setIsMovieMode(true);
    const QSize size(m_painting->width(), m_painting->height());
    if (size.isEmpty())
        return;
    if (!m_canvas || m_canvas->pixels().size() != size)
        m_canvas = std::make_unique<Canvas>(size);
    const QRect changed = event->rect() & QRect(QPoint(0, 0), size);
    if (changed.isEmpty())
        return;
    m_canvas->saveGState();
    m_canvas->clipToRect(platform::Rect(changed.x(), changed.y(), changed.width(), changed.height()));
    m_painting->drawPaintingTo(*m_canvas);
    m_canvas->restoreGState();
    painter.drawImage(changed, m_canvas->pixels(), changed);
}
