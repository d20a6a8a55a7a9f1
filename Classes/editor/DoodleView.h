#pragma once

#include "Classes/editor/DoodleViewDelegate.h"
#include "platform/graphics/Geometry.h"
#include "platform/ui/RepeatingTimer.h"

#include <QPointer>
#include <QProgressBar>
#include <QWidget>
#include <memory>

class Painting;

// The canvas. While the child draws, one finger, the mouse or a pen becomes
// the painting's three stroke calls, and only what the painting reports as
// changed is repainted. In movie mode it ignores touches and replays the
// painting from a 25-a-second tick instead.
//
// When the view is smaller than the painting (a small screen), the painting is
// shown scaled down uniformly and touches are mapped back to painting points;
// at full size nothing is scaled.
class DoodleView final : public QWidget {
    Q_OBJECT
public:
    enum PlaybackStatus { Playing = 1, Paused = 2, Stopped = 3 };
    static constexpr double playbackInterval = 0.04;
    // The toolbar laid over the canvas's bottom edge.
    static constexpr int toolbarHeight = 44;

    explicit DoodleView(QWidget* parent = nullptr);
    ~DoodleView() override;

    const std::shared_ptr<Painting>& painting() const { return m_painting; }
    void setPainting(std::shared_ptr<Painting> painting);
    void setDelegate(DoodleViewDelegate* delegate) { m_delegate = delegate; }
    void setPlaybackProgressSlider(QProgressBar* slider) { m_playbackProgressSlider = slider; }

    bool isMovieMode() const { return m_isMovieMode; }
    void setIsMovieMode(bool movieMode) { m_isMovieMode = movieMode; }
    // Off while a save runs: the canvas then takes no touches at all.
    bool isUserInputEnabled() const { return m_userInputEnabled; }
    void setUserInputEnabled(bool enabled);

    platform::Point firstTouch() const { return m_firstTouch; }
    platform::Point lastTouch() const { return m_lastTouch; }
    platform::Rect dirtyRect() const { return m_dirtyRect; }
    int playbackStatus() const { return m_playbackStatus; }
    bool isPlaybackTimerRunning() const { return m_playbackTimer.isRunning(); }

    void undoStroke();
    void startPlaybackPainting();
    void pausePlaybackPainting();
    void resumePlaybackPainting();
    void stopPlaybackPainting();
    void fasterPlaybackPainting();
    void slowerPlaybackPainting();

    // Marks the whole canvas for repainting.
    void setNeedsDisplay() { update(); }
    // Painting points per view point: 1 at full size, less when scaled down.
    double displayScale() const { return m_scale; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void tabletEvent(QTabletEvent* event) override;
    bool event(QEvent* event) override;

private:
    void touchesBegan(QPointF position);
    void touchesMoved(QPointF position);
    void touchesEnded(QPointF position);
    void markChanged(const platform::Rect& rect);
    void playbackPainting();
    platform::Point toPaintingPoint(QPointF position) const;
    QRect toViewRect(const platform::Rect& rect) const;
    platform::Rect toPaintingRect(const QRect& rect) const;
    void updateScale();

    std::shared_ptr<Painting> m_painting;
    platform::Point m_firstTouch;
    platform::Point m_lastTouch;
    platform::Rect m_dirtyRect = platform::Rect::null();
    platform::ui::RepeatingTimer m_playbackTimer;
    int m_playbackStatus { Stopped };
    bool m_isMovieMode { false };
    QPointer<QProgressBar> m_playbackProgressSlider;
    DoodleViewDelegate* m_delegate { nullptr };
    bool m_userInputEnabled { true };
    // Whether a stroke is under way, so that a lift without a touch-down (a
    // press that began on another widget) draws nothing.
    bool m_touching { false };
    double m_scale { 1 };
};
