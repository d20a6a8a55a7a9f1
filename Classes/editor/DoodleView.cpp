#include "Classes/editor/DoodleView.h"

#include "Classes/model/Painting.h"
#include "platform/graphics/PainterContext.h"
#include "platform/ui/Localized.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTabletEvent>
#include <QTouchEvent>
#include <cmath>

DoodleView::DoodleView(QWidget* parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_AcceptTouchEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setAccessibleName(platform::ui::localized("Canvas"));
    setFocusPolicy(Qt::ClickFocus);
}

DoodleView::~DoodleView() = default;

void DoodleView::setPainting(std::shared_ptr<Painting> painting)
{
    m_painting = std::move(painting);
    updateScale();
    update();
}

void DoodleView::setUserInputEnabled(bool enabled)
{
    m_userInputEnabled = enabled;
    if (!enabled)
        m_touching = false;
}

void DoodleView::updateScale()
{
    m_scale = 1;
    if (!m_painting || m_painting->width() <= 0 || m_painting->height() <= 0)
        return;
    // The painting fills the width and leaves room for the 44-point toolbar
    // below it, as at full size.
    double across = double(width()) / m_painting->width();
    double down = double(height() - toolbarHeight) / m_painting->height();
    m_scale = std::clamp(std::min(across, down), 0.05, 1.0);
}

void DoodleView::resizeEvent(QResizeEvent*)
{
    updateScale();
}

platform::Point DoodleView::toPaintingPoint(QPointF position) const
{
    if (m_scale == 1)
        return { static_cast<float>(position.x()), static_cast<float>(position.y()) };
    return { static_cast<float>(position.x() / m_scale), static_cast<float>(position.y() / m_scale) };
}

platform::Rect DoodleView::toPaintingRect(const QRect& rect) const
{
    return platform::Rect(float(rect.x() / m_scale), float(rect.y() / m_scale), float(rect.width() / m_scale),
        float(rect.height() / m_scale));
}

QRect DoodleView::toViewRect(const platform::Rect& rect) const
{
    if (rect.isNull())
        return {};
    double left = std::floor(rect.x() * m_scale);
    double top = std::floor(rect.y() * m_scale);
    double right = std::ceil((rect.x() + rect.width()) * m_scale);
    double bottom = std::ceil((rect.y() + rect.height()) * m_scale);
    QRect area(QPoint(int(left), int(top)), QPoint(int(right) - 1, int(bottom) - 1));
    // Smoothing a scaled painting reaches a pixel beyond the changed points.
    return m_scale == 1 ? area : area.adjusted(-1, -1, 1, 1);
}

void DoodleView::touchesBegan(QPointF position)
{
    if (m_isMovieMode || !m_userInputEnabled)
        return;
    if (m_delegate)
        m_delegate->doodleViewOnTouchBegan();
    m_firstTouch = toPaintingPoint(position);
    m_lastTouch = m_firstTouch;
    m_touching = true;
    if (m_painting)
        m_painting->strokeFrom(m_firstTouch);
}

void DoodleView::touchesMoved(QPointF position)
{
    if (m_isMovieMode || !m_userInputEnabled || !m_touching)
        return;
    m_lastTouch = toPaintingPoint(position);
    if (m_painting)
        m_dirtyRect = m_painting->strokeTo(m_lastTouch);
    markChanged(m_dirtyRect);
}

void DoodleView::touchesEnded(QPointF position)
{
    if (m_isMovieMode || !m_userInputEnabled || !m_touching)
        return;
    m_touching = false;
    m_lastTouch = toPaintingPoint(position);
    if (m_painting)
        m_dirtyRect = m_painting->strokeEnd(m_lastTouch);
    markChanged(m_dirtyRect);
    if (m_delegate && m_painting)
        m_delegate->doodleViewStrokesChanged();
}

void DoodleView::markChanged(const platform::Rect& rect)
{
    if (rect.isNull())
        return;
    // In the mirror modes the copies lie apart: repainting each copy's own
    // rectangle leaves most of their union alone.
    const std::vector<platform::Rect>* copies = m_painting ? &m_painting->changedRects() : nullptr;
    if (!copies || copies->empty()) {
        QRect area = toViewRect(rect);
        if (!area.isEmpty())
            update(area);
        return;
    }
    // One update of their region: each update of a rectangle merges it into
    // the window's dirty region on its own, which adds up over many.
    QRegion region;
    for (const platform::Rect& copy : *copies) {
        QRect area = toViewRect(copy);
        if (!area.isEmpty())
            region += area;
    }
    update(region);
}

void DoodleView::mousePressEvent(QMouseEvent* event)
{
    // Touches arrive on their own; the mouse events made from them are skipped.
    if (event->button() != Qt::LeftButton || event->source() != Qt::MouseEventNotSynthesized)
        return;
    touchesBegan(event->position());
}

void DoodleView::mouseMoveEvent(QMouseEvent* event)
{
    if (!(event->buttons() & Qt::LeftButton) || event->source() != Qt::MouseEventNotSynthesized)
        return;
    touchesMoved(event->position());
}

void DoodleView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || event->source() != Qt::MouseEventNotSynthesized)
        return;
    touchesEnded(event->position());
}

void DoodleView::tabletEvent(QTabletEvent* event)
{
    // Accepting the pen's events keeps Qt from sending them again as mouse events.
    event->accept();
    switch (event->type()) {
    case QEvent::TabletPress:
        touchesBegan(event->position());
        break;
    case QEvent::TabletMove:
        if (event->buttons() & Qt::LeftButton)
            touchesMoved(event->position());
        break;
    case QEvent::TabletRelease:
        touchesEnded(event->position());
        break;
    default:
        break;
    }
}

bool DoodleView::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: {
        auto* touch = static_cast<QTouchEvent*>(event);
        event->accept();
        if (touch->points().isEmpty())
            return true;
        // One touch of the set stands for them all; fingers are not told apart.
        QPointF position = touch->points().first().position();
        if (event->type() == QEvent::TouchBegin)
            touchesBegan(position);
        else if (event->type() == QEvent::TouchUpdate)
            touchesMoved(position);
        else
            touchesEnded(position);
        return true;
    }
    case QEvent::TouchCancel:
        // The system took the touches away: the stroke is left without its
        // lift, and the next touch-down starts a new one.
        m_touching = false;
        event->accept();
        return true;
    default:
        return QWidget::event(event);
    }
}

void DoodleView::undoStroke()
{
    if (m_painting && m_painting->undoStroke()) {
        update();
        if (m_delegate)
            m_delegate->doodleViewStrokesChanged();
    }
}

void DoodleView::startPlaybackPainting()
{
    if (m_playbackStatus == Paused) {
        resumePlaybackPainting();
        return;
    }
    if (m_playbackStatus == Playing) {
        m_playbackTimer.stop();
        if (m_painting)
            m_painting->stopPlayback();
    }
    m_playbackTimer.start(playbackInterval, [this] { playbackPainting(); });
    if (m_painting)
        m_painting->startPlayback();
    m_playbackStatus = Playing;
    update();
}

void DoodleView::pausePlaybackPainting()
{
    if (m_isMovieMode && m_playbackStatus == Playing)
        m_playbackStatus = Paused;
}

void DoodleView::resumePlaybackPainting()
{
    m_playbackStatus = Playing;
}

void DoodleView::stopPlaybackPainting()
{
    if (!m_isMovieMode)
        return;
    m_playbackTimer.stop();
    m_playbackStatus = Stopped;
    if (m_painting)
        m_painting->stopPlayback();
    update();
}

void DoodleView::fasterPlaybackPainting()
{
    if (m_isMovieMode && m_painting)
        m_painting->playbackFaster();
}

void DoodleView::slowerPlaybackPainting()
{
    if (m_isMovieMode && m_painting)
        m_painting->playbackSlower();
}

void DoodleView::playbackPainting()
{
    if (m_playbackStatus != Playing || !m_painting)
        return;
    platform::Rect changed = m_painting->playback();
    if (m_playbackProgressSlider) {
        int maximum = m_playbackProgressSlider->maximum();
        m_playbackProgressSlider->setValue(static_cast<int>(std::lround(m_painting->getPlaybackProgress() * maximum)));
    }
    if (changed.isNull() && m_painting->endOfPlayback()) {
        stopPlaybackPainting();
        return;
    }
    markChanged(changed);
}

void DoodleView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (!m_painting) {
        painter.fillRect(event->rect(), Qt::black);
        return;
    }
    QRect paintingOnView = toViewRect(platform::Rect(0, 0, m_painting->width(), m_painting->height()));
    // What lies beyond the painting (under the toolbar, or around a scaled
    // painting) stays dark.
    if (!paintingOnView.contains(event->rect())) {
        const QRect& r = event->rect();
        const QColor dark(20, 20, 24);
        painter.fillRect(QRect(r.left(), paintingOnView.bottom() + 1, r.width(), r.bottom() - paintingOnView.bottom()), dark);
        painter.fillRect(QRect(paintingOnView.right() + 1, r.top(), r.right() - paintingOnView.right(), r.height()), dark);
    }
    if ((event->rect() & paintingOnView).isEmpty())
        return;
    if (!m_isMovieMode)
        m_painting->setDirtyRect(m_dirtyRect);
    const QRegion area = event->region() & paintingOnView;
    if (area.isEmpty())
        return;
    if (m_scale != 1) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(m_scale, m_scale);
    }
    platform::PainterContext context(painter, platform::Size { float(m_painting->width()), float(m_painting->height()) });
    // Part by part, in one context: QPainter composites under a plain
    // rectangle clip far faster than under a clip of many.
    for (const QRect& part : area) {
        context.saveGState();
        context.clipToRect(toPaintingRect(part));
        m_painting->drawPaintingTo(context);
        context.restoreGState();
    }
}
