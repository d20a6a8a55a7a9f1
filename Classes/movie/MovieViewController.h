#pragma once

#include "platform/ui/ViewController.h"

#include <QTimer>
#include <memory>

class MovieView;
class Painting;
class QLabel;
class QProgressBar;
class QToolButton;

// The replay screen: a saved painting drawn again stroke by stroke on a
// 0.02 s tick, with pause, play (which restarts a running replay), stop
// (which leaves the screen), faster and slower.
class MovieViewController final : public platform::ui::ViewController {
    Q_OBJECT
public:
    enum PlaybackStatus { Playing = 1, Paused = 2, Stopped = 3 };
    static constexpr int tickMilliseconds = 20;

    explicit MovieViewController(QWidget* parent = nullptr);
    ~MovieViewController() override;

    void setMPainting(std::shared_ptr<Painting> painting);
    const std::shared_ptr<Painting>& mPainting() const { return m_painting; }
    int playbackStatus() const { return m_playbackStatus; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onPlayback();
    void onPause();
    void onStop();
    void onFaster();
    void onSlower();
    void updateSpeedLabel();
    void startPlaybackPainting();
    void resumePlaybackPainting();
    void pausePlaybackPainting();
    void stopPlaybackPainting();
    void playbackPainting();

    std::shared_ptr<Painting> m_painting;
    MovieView* m_movieView { nullptr };
    QWidget* m_controls { nullptr };
    QProgressBar* m_movieProgressSlider { nullptr };
    QLabel* m_speedLabel { nullptr };
    QTimer m_playbackTimer;
    int m_playbackStatus { Stopped };
};
