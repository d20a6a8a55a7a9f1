#include "Classes/movie/VideoEncodeController.h"

#include "Classes/gallery/Utility.h"
#include "Classes/model/Painting.h"
#include "Classes/movie/MovieFrameSource.h"
#include "Classes/movie/VideoEncoder.h"
#include "platform/system/DispatchQueue.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/Localized.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/RepeatingTimer.h"
#include "ui_VideoEncodeController.h"
#include "ui_VideoEncodeController_iPad.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QTransform>
#include <cmath>
#include <numbers>

using platform::AffineTransform;
using platform::ui::localized;

namespace {

// Quarter turns leave sines and cosines a rounding error away from 0 and ±1;
// snapping them keeps four turns exactly the identity and the frames on whole
// pixels.
float snapped(float value)
{
    const float whole = std::round(value);
    return std::fabs(value - whole) < 1e-3f ? whole : value;
}

AffineTransform snapped(const AffineTransform& t)
{
    return { snapped(t.a), snapped(t.b), snapped(t.c), snapped(t.d), snapped(t.tx), snapped(t.ty) };
}

}

VideoEncodeController::VideoEncodeController(QWidget* parent)
    : ViewController(parent)
{
    loadInterface();
}

VideoEncodeController::~VideoEncodeController()
{
    // The pull must end before the source and the painting it draws go.
    m_videoEncoder.reset();
    if (m_isEncodingInProgress && m_painting)
        m_painting->stopPlayback();
}

template<typename Form>
static void bindOutlets(Form& form, QWidget& screen, QLabel*& orientation, QPushButton*& start, QToolButton*& left,
    QToolButton*& right, QWidget*& panel, QLabel*& sample, QWidget*& progress, QLabel*& label, QProgressBar*& bar)
{
    form.setupUi(&screen);
    orientation = form.oritentaionLabel;
    start = form.startButton;
    left = form.rotateLeftButton;
    right = form.rotateRightButton;
    panel = form.samplePanel;
    sample = form.sampleView;
    progress = form.progressBarContainer;
    label = form.progressLabel;
    bar = form.progressBar;
}

void VideoEncodeController::loadInterface()
{
    if (isPad()) {
        Ui::VideoEncodeController_iPad form;
        bindOutlets(form, *this, m_oritentaionLabel, m_startButton, m_rotateLeftButton, m_rotateRightButton,
            m_samplePanel, m_sampleView, m_progressBarContainer, m_progressLabel, m_progressBar);
    } else {
        Ui::VideoEncodeController form;
        bindOutlets(form, *this, m_oritentaionLabel, m_startButton, m_rotateLeftButton, m_rotateRightButton,
            m_samplePanel, m_sampleView, m_progressBarContainer, m_progressLabel, m_progressBar);
    }
    // Painted by the style sheet of the interface file.
    setAttribute(Qt::WA_StyledBackground);
    m_rotateLeftButton->setToolTip(localized("Turn Left"));
    m_rotateLeftButton->setAccessibleName(localized("Turn Left"));
    m_rotateRightButton->setToolTip(localized("Turn Right"));
    m_rotateRightButton->setAccessibleName(localized("Turn Right"));
    m_progressBarContainer->setFocusPolicy(Qt::StrongFocus);
    m_progressTimer = new platform::ui::RepeatingTimer(this);
    m_samplePanel->installEventFilter(this);
    connect(m_rotateLeftButton, &QToolButton::clicked, this, [this] { onLeft90(); });
    connect(m_rotateRightButton, &QToolButton::clicked, this, [this] { onRight90(); });
    connect(m_startButton, &QPushButton::clicked, this, [this] { onStartEncoding(); });
}

void VideoEncodeController::setPainting(std::unique_ptr<Painting> painting)
{
    if (m_isEncodingInProgress)
        return;
    m_videoEncoder.reset();
    m_frameSource.reset();
    m_painting = std::move(painting);
    if (m_painting)
        m_frameSource = std::make_unique<MovieFrameSource>(*m_painting);
    if (isViewLoaded()) {
        resetFrameGeometry();
        resetSampleView();
    }
}

const std::optional<platform::Image>& VideoEncodeController::logoImage() const
{
    static const std::optional<platform::Image> none;
    return m_frameSource ? m_frameSource->logoImage() : none;
}

void VideoEncodeController::viewDidLoad()
{
    m_samepleViewMaxFrame = m_samplePanel->rect();
    resetFrameGeometry();
    m_isEncodingInProgress = false;
    m_progressBarContainer->hide();

    m_cancelButton = new platform::ui::BarButton(localized("Cancel"), this);
    m_cancelButton->setAction([this] { leaveScreen(); });
    m_doneButton = new platform::ui::BarButton(localized("Done"), this);
    m_doneButton->setAction([this] { leaveScreen(); });
    m_doneButton->hide();
    navigationItem().setRightBarButton(m_cancelButton);
    setTitle(localized("Movie Export"));

    m_oritentaionLabel->setText(localized("Painting Orientation"));
    m_startButton->setText(localized("Create Movie"));
    resetSampleView();
}

void VideoEncodeController::resetFrameGeometry()
{
    m_transform = AffineTransform::identity();
    m_rotation = 0;
    m_frameSize = m_painting ? m_painting->cropRect().size : platform::Size {};
    const float scale = getScreenScale();
    if (scale > 1)
        m_frameSize = { m_frameSize.width * scale, m_frameSize.height * scale };
    m_startButton->setEnabled(m_painting != nullptr);
}

bool VideoEncodeController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_samplePanel && event->type() == QEvent::Resize) {
        m_samepleViewMaxFrame = m_samplePanel->rect();
        resetSampleView();
    }
    return ViewController::eventFilter(watched, event);
}

void VideoEncodeController::resizeEvent(QResizeEvent* event)
{
    ViewController::resizeEvent(event);
    // The panel covers the whole screen, which grows when the bar hides.
    m_progressBarContainer->setGeometry(rect());
}

void VideoEncodeController::onLeft90()
{
    turn(true);
}

void VideoEncodeController::onRight90()
{
    turn(false);
}

void VideoEncodeController::turn(bool left)
{
    if (m_isEncodingInProgress)
        return;
    const float w = m_frameSize.width;
    const float h = m_frameSize.height;
    const float quarter = std::numbers::pi_v<float> / 2;
    if (left) {
        m_rotation += 90;
        m_transform = m_transform.concatenated(AffineTransform::makeRotation(quarter))
                          .concatenated(AffineTransform::makeTranslation(h, 0));
    } else {
        m_rotation -= 90;
        m_transform = m_transform.concatenated(AffineTransform::makeRotation(-quarter))
                          .concatenated(AffineTransform::makeTranslation(0, w));
    }
    m_transform = snapped(m_transform);
    m_frameSize = { h, w };
    resetSampleView();
}

void VideoEncodeController::resetSampleView()
{
    m_rotation %= 360;
    if (m_rotation < 0)
        m_rotation += 360;
    if (!m_painting) {
        m_sampleView->clear();
        return;
    }
    // During an export the painting belongs to the encoder's queue, and the
    // turn cannot change: a resize only fits the preview again.
    if (!m_isEncodingInProgress) {
        const platform::Image picture = m_painting->paintingImage() && !m_painting->paintingImage()->isNull()
            ? *m_painting->paintingImage()
            : m_painting->getPaintingImage();
        // A left turn shows the picture turned counter-clockwise.
        m_sampleOrientationImage = picture.qimage().transformed(QTransform().rotate(-m_rotation));
    }

    // Fit the frame's shape into the box, centred; the box's height unless the
    // turned picture would then be wider than the box.
    const QRect box = m_samepleViewMaxFrame;
    if (box.isEmpty() || !(m_frameSize.width > 0 && m_frameSize.height > 0))
        return;
    const double aspect = double(m_frameSize.height) / double(m_frameSize.width);
    int height = box.height();
    int width = static_cast<int>(height / aspect);
    if (width > box.width()) {
        width = box.width();
        height = static_cast<int>(width * aspect);
    }
    const int x = static_cast<int>((box.width() - width) * 0.5) + box.x();
    const int y = static_cast<int>((box.height() - height) * 0.5) + box.y();
    const qreal ratio = devicePixelRatioF();
    QImage shown = m_sampleOrientationImage.scaled(QSize(int(width * ratio), int(height * ratio)), Qt::IgnoreAspectRatio,
        Qt::SmoothTransformation);
    shown.setDevicePixelRatio(ratio);
    m_sampleView->setPixmap(QPixmap::fromImage(shown));
    m_sampleView->setGeometry(x, y, width, height);
}

void VideoEncodeController::onStartEncoding()
{
    navigationItem().setRightBarButton(m_doneButton);
    startEncoding();
}

void VideoEncodeController::startEncoding()
{
    if (m_isEncodingInProgress || !m_painting || !m_frameSource)
        return;
    // A finished encoder still holds its queue; let it go before the next.
    m_videoEncoder.reset();

    m_progressBarContainer->setGeometry(rect());
    m_progressBarContainer->show();
    m_progressBarContainer->raise();
    m_progressBarContainer->setFocus();
    m_progressLabel->setText(QStringLiteral("0.0%"));
    m_progressBar->setValue(0);
    m_frameSource->clearLogoImage();
    if (auto* navigation = navigationController())
        navigation->setNavigationBarHidden(true, true);
    m_isEncodingInProgress = true;

    m_videoEncoder = std::make_unique<VideoEncoder>(m_frameSize);
    m_frameSource->setFrameSize(m_frameSize);
    m_frameSource->setTransform(m_transform);
    m_frameSource->prepare(m_videoEncoder->fps());

    // Frames are counted on the encoder's queue and shown from here 25 times a
    // second, so the queue allocates nothing per frame and a fast export cannot
    // flood the main thread. The end is posted from the queue.
    m_progressTimer->start(0.04, [this] { updateProgress(); });
    QPointer<VideoEncodeController> screen(this);
    m_frameSource->setEndHandler([screen](bool succeeded) {
        platform::DispatchQueue::mainQueue().async([screen, succeeded] {
            if (!screen)
                return;
            succeeded ? screen->notifyEncodeFinish() : screen->notifyEncodeFail();
        });
    });
    m_videoEncoder->startEncodingUsingPullWithDelegate(m_frameSource.get());
}

void VideoEncodeController::updateProgress()
{
    if (!m_frameSource)
        return;
    const float progress = m_frameSource->progress();
    m_progressLabel->setText(QString::asprintf("%.1f%%", progress * 100.0));
    m_progressBar->setValue(static_cast<int>(std::lround(progress * m_progressBar->maximum())));
}

void VideoEncodeController::notifyEncodeFinish()
{
    if (!m_isEncodingInProgress)
        return;
    if (m_isAskingToStop) {
        m_endWhileAsking = true;
        return;
    }
    m_isEncodingInProgress = false;
    m_progressTimer->stop();
    m_painting->stopPlayback();
    updateProgress();
    // A movie the album would not take is not saved, whatever the writer says.
    if (m_videoEncoder && m_videoEncoder->isSavedToPhotoAlbum())
        showEndAlert(localized("Movie has been saved to Photo Album."));
    else
        showEndAlert(localized("Fail to create movie. Ensure not to close the app when encoding is in progress."));
}

void VideoEncodeController::notifyEncodeFail()
{
    if (!m_isEncodingInProgress)
        return;
    if (m_isAskingToStop) {
        m_endWhileAsking = false;
        return;
    }
    m_isEncodingInProgress = false;
    m_progressTimer->stop();
    m_painting->stopPlayback();
    showEndAlert(localized("Fail to create movie. Ensure not to close the app when encoding is in progress."));
}

void VideoEncodeController::showEndAlert(const QString& message)
{
    QPointer<VideoEncodeController> screen(this);
    platform::ui::AlertView::show(this, QString(), message, { localized("OK") }, alertTag, [screen](int index) {
        if (screen)
            screen->alertViewClickedButtonAtIndex(alertTag, index);
    });
}

void VideoEncodeController::alertViewClickedButtonAtIndex(int tag, int buttonIndex)
{
    if (tag != alertTag || buttonIndex != 0)
        return;
    m_progressBarContainer->hide();
    if (auto* navigation = navigationController())
        navigation->setNavigationBarHidden(false, true);
}

void VideoEncodeController::stopEncoding()
{
    // Releasing the encoder ends the pull after the frame in hand and removes
    // the unfinished file; nothing reaches the album.
    m_videoEncoder.reset();
    m_isEncodingInProgress = false;
    m_progressTimer->stop();
    m_painting->stopPlayback();
    m_progressBarContainer->hide();
    if (auto* navigation = navigationController())
        navigation->setNavigationBarHidden(false, false);
}

void VideoEncodeController::windowCloseRequested(std::function<void(bool mayClose)> answer)
{
    if (!m_isEncodingInProgress || m_isAskingToStop) {
        answer(!m_isEncodingInProgress);
        return;
    }
    m_isAskingToStop = true;
    m_endWhileAsking.reset();
    QPointer<VideoEncodeController> screen(this);
    platform::ui::AlertView::show(this, localized("Stop the movie?"),
        localized("The movie is not finished yet. Closing now stops it, and no movie is saved."),
        { localized("Keep Going"), localized("Stop and Close") }, 0,
        [screen, answer = std::move(answer)](int index) {
            if (!screen) {
                answer(true);
                return;
            }
            screen->m_isAskingToStop = false;
            const std::optional<bool> ended = screen->m_endWhileAsking;
            screen->m_endWhileAsking.reset();
            if (index == 1) {
                // A movie that finished meanwhile is complete and stays saved.
                if (ended) {
                    screen->m_isEncodingInProgress = false;
                    screen->m_progressTimer->stop();
                    screen->m_painting->stopPlayback();
                } else {
                    screen->stopEncoding();
                }
                answer(true);
                return;
            }
            if (ended)
                *ended ? screen->notifyEncodeFinish() : screen->notifyEncodeFail();
            answer(false);
        });
}

void VideoEncodeController::leaveScreen()
{
    if (auto* navigation = navigationController())
        navigation->popViewController(true);
}
