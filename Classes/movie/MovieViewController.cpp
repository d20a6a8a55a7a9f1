#include "Classes/movie/MovieViewController.h"

#include "Classes/gallery/GallerySheets.h"
#include "Classes/gallery/Utility.h"
#include "Classes/model/Painting.h"
#include "Classes/movie/MovieView.h"
#include "platform/ui/Localized.h"
#include "platform/ui/NavigationController.h"
#include "ui_MovieViewController.h"
#include "ui_MovieViewController_iPad.h"

#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

using platform::ui::localized;

namespace {

constexpr int progressSteps = 1000;

struct Outlets {
    MovieView* movieView;
    QWidget* controls;
    QProgressBar* progress;
    QLabel* speedLabel;
    QToolButton* play;
    QToolButton* pause;
    QToolButton* stop;
    QToolButton* faster;
    QToolButton* slower;
};

template<typename Form>
Outlets loadForm(QWidget& screen)
{
    Form form;
    form.setupUi(&screen);
    showFormWidgets(screen);
    return { form.movieView, form.controls, form.movieProgressSlider, form.speedLabel, form.playButton,
        form.pauseButton, form.stopButton, form.fasterButton, form.slowerButton };
}

void setUpControl(QToolButton& button, const char* name, std::function<void()> action, QObject& context)
{
    button.setToolTip(localized(name));
    button.setAccessibleName(localized(name));
    button.setFocusPolicy(Qt::NoFocus);
    QObject::connect(&button, &QToolButton::clicked, &context, std::move(action));
}

}

MovieViewController::MovieViewController(QWidget* parent)
    : ViewController(parent)
{
    m_playbackTimer.setInterval(tickMilliseconds);
    m_playbackTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_playbackTimer, &QTimer::timeout, this, [this] { playbackPainting(); });
    setFocusPolicy(Qt::StrongFocus);
}

MovieViewController::~MovieViewController() = default;

void MovieViewController::setMPainting(std::shared_ptr<Painting> painting)
{
    m_painting = std::move(painting);
    if (m_movieView)
        m_movieView->setMPainting(m_painting);
}

void MovieViewController::viewDidLoad()
{
    const Outlets outlets = isPad() ? loadForm<Ui::MovieViewController_iPad>(*this) : loadForm<Ui::MovieViewController>(*this);
    m_movieView = outlets.movieView;
    m_controls = outlets.controls;
    m_movieProgressSlider = outlets.progress;
    m_speedLabel = outlets.speedLabel;
    m_controls->adjustSize();
    m_movieProgressSlider->setRange(0, progressSteps);
    m_movieProgressSlider->setValue(0);
    m_movieProgressSlider->setTextVisible(false);
    setUpControl(*outlets.play, QT_TRANSLATE_NOOP("Pintaro", "Play"), [this] { onPlayback(); }, *this);
    setUpControl(*outlets.pause, QT_TRANSLATE_NOOP("Pintaro", "Pause"), [this] { onPause(); }, *this);
    setUpControl(*outlets.stop, QT_TRANSLATE_NOOP("Pintaro", "Stop"), [this] { onStop(); }, *this);
    setUpControl(*outlets.faster, QT_TRANSLATE_NOOP("Pintaro", "Faster"), [this] { onFaster(); }, *this);
    setUpControl(*outlets.slower, QT_TRANSLATE_NOOP("Pintaro", "Slower"), [this] { onSlower(); }, *this);
    m_movieView->setMPainting(m_painting);
    m_playbackStatus = Stopped;
}

void MovieViewController::viewWillAppear(bool)
{
    if (auto* navigation = navigationController())
        navigation->setNavigationBarHidden(true, false);
    setFocus();
    onPlayback();
}

void MovieViewController::viewWillDisappear(bool)
{
    // However the screen goes, its timer must not tick on behind it.
    stopPlaybackPainting();
}

void MovieViewController::resizeEvent(QResizeEvent*)
{
    if (!m_movieView)
        return;
    m_movieView->setGeometry(rect());
    m_controls->move((width() - m_controls->width()) / 2, height() - m_controls->height() - 12);
    m_controls->raise();
}

void MovieViewController::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
        if (m_playbackStatus == Playing)
            onPause();
        else
            onPlayback();
        break;
    case Qt::Key_Escape:
        onStop();
        break;
    case Qt::Key_Plus:
        onFaster();
        break;
    case Qt::Key_Minus:
        onSlower();
        break;
    default:
        ViewController::keyPressEvent(event);
    }
}

void MovieViewController::onPlayback() { startPlaybackPainting(); }

void MovieViewController::onPause() { pausePlaybackPainting(); }

void MovieViewController::onStop()
{
    stopPlaybackPainting();
    if (auto* navigation = navigationController())
        navigation->popViewController(true);
}

void MovieViewController::onFaster()
{
    if (!m_painting)
        return;
    m_painting->playbackFaster();
    updateSpeedLabel();
}

void MovieViewController::onSlower()
{
    if (!m_painting)
        return;
    m_painting->playbackSlower();
    updateSpeedLabel();
}

void MovieViewController::updateSpeedLabel()
{
    // Only a number and a sign, shown as it is.
    m_speedLabel->setText(QStringLiteral("x%1").arg(m_painting->playbackSpeed()));
}

void MovieViewController::startPlaybackPainting()
{
    if (m_playbackStatus == Paused) {
        resumePlaybackPainting();
        return;
    }
    if (!m_painting)
        return;
    if (m_playbackStatus == Playing) {
        m_playbackTimer.stop();
        m_painting->stopPlayback();
    }
    m_playbackTimer.start();
    m_painting->startPlayback();
    m_playbackStatus = Playing;
    m_movieView->update();
}

void MovieViewController::resumePlaybackPainting() { m_playbackStatus = Playing; }

void MovieViewController::pausePlaybackPainting()
{
    if (m_playbackStatus == Playing)
        m_playbackStatus = Paused;
}

void MovieViewController::stopPlaybackPainting()
{
    m_playbackTimer.stop();
    m_playbackStatus = Stopped;
    if (m_painting)
        m_painting->stopPlayback();
}

void MovieViewController::playbackPainting()
{
    if (m_playbackStatus != Playing)
        return;
    const platform::Rect changed = m_painting->playback();
    m_movieProgressSlider->setValue(static_cast<int>(m_painting->getPlaybackProgress() * progressSteps));
    if (changed.isNull() && m_painting->endOfPlayback()) {
        stopPlaybackPainting();
        return;
    }
    if (!changed.isNull()) {
        const platform::Rect outer = changed.integral();
        m_movieView->update(static_cast<int>(outer.x()), static_cast<int>(outer.y()), static_cast<int>(outer.width()),
            static_cast<int>(outer.height()));
    }
}
