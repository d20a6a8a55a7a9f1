#pragma once

#include "platform/graphics/AffineTransform.h"
#include "platform/graphics/Geometry.h"
#include "platform/graphics/Image.h"
#include "platform/ui/ViewController.h"

#include <QImage>
#include <memory>
#include <optional>

class MovieFrameSource;
class Painting;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;
class VideoEncoder;

namespace platform::ui {
class BarButton;
class RepeatingTimer;
}

// "Movie Export": the user turns the preview of a saved painting in quarter
// turns and creates a movie of it in the album, watching the progress. The
// screen owns the painting it is given; during an export the painting is
// replayed on the encoder's queue and nothing else touches it.
//
// "Cancel" and "Done" pop the screen from its own button's handler: make it
// with platform::ui::makeScreen, or keep a reference, so that it outlives the pop.
class VideoEncodeController final : public platform::ui::ViewController {
public:
    static constexpr int alertTag = 99;

    // Lays itself out from "VideoEncodeController_iPad" on a tablet and from
    // "VideoEncodeController" otherwise.
    explicit VideoEncodeController(QWidget* parent = nullptr);
    ~VideoEncodeController() override;

    void setPainting(std::unique_ptr<Painting> painting);
    Painting* painting() const { return m_painting.get(); }

    platform::ui::BarButton* cancelButton() const { return m_cancelButton; }
    platform::ui::BarButton* doneButton() const { return m_doneButton; }
    QLabel* sampleView() const { return m_sampleView; }
    QPushButton* startButton() const { return m_startButton; }
    QToolButton* rotateLeftButton() const { return m_rotateLeftButton; }
    QToolButton* rotateRightButton() const { return m_rotateRightButton; }
    QWidget* progressBarContainer() const { return m_progressBarContainer; }
    QLabel* progressLabel() const { return m_progressLabel; }
    QProgressBar* progressBar() const { return m_progressBar; }
    const QImage& sampleOrientationImage() const { return m_sampleOrientationImage; }
    const std::optional<platform::Image>& logoImage() const;
    platform::Size frameSize() const { return m_frameSize; }
    platform::AffineTransform transform() const { return m_transform; }
    int rotation() const { return m_rotation; }
    bool isEncodingInProgress() const { return m_isEncodingInProgress; }

    void viewDidLoad() override;
    // During an export the user is asked whether to stop it; stopping leaves
    // no movie behind.
    void windowCloseRequested(std::function<void(bool mayClose)> answer) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void loadInterface();
    void resetFrameGeometry();
    void resetSampleView();
    void onLeft90();
    void onRight90();
    void turn(bool left);
    void onStartEncoding();
    void startEncoding();
    void stopEncoding();
    void updateProgress();
    void notifyEncodeFinish();
    void notifyEncodeFail();
    void showEndAlert(const QString& message);
    void alertViewClickedButtonAtIndex(int tag, int buttonIndex);
    void leaveScreen();

    std::unique_ptr<Painting> m_painting;
    platform::ui::BarButton* m_cancelButton { nullptr };
    platform::ui::BarButton* m_doneButton { nullptr };
    QLabel* m_oritentaionLabel { nullptr };
    QPushButton* m_startButton { nullptr };
    QToolButton* m_rotateLeftButton { nullptr };
    QToolButton* m_rotateRightButton { nullptr };
    QWidget* m_samplePanel { nullptr };
    QLabel* m_sampleView { nullptr };
    QWidget* m_progressBarContainer { nullptr };
    QLabel* m_progressLabel { nullptr };
    QProgressBar* m_progressBar { nullptr };

    platform::AffineTransform m_transform;
    platform::Size m_frameSize;
    int m_rotation { 0 };
    QImage m_sampleOrientationImage;
    QRect m_samepleViewMaxFrame;

    // Declared before the encoder, which must go first: it stops the pull
    // that calls the frame source.
    std::unique_ptr<MovieFrameSource> m_frameSource;
    std::unique_ptr<VideoEncoder> m_videoEncoder;
    bool m_isEncodingInProgress { false };
    // Shows the frame count on the main thread while an export runs; the
    // encoder's queue posts nothing per frame.
    platform::ui::RepeatingTimer* m_progressTimer { nullptr };
    // While the user is asked whether to stop, the end of the export waits.
    bool m_isAskingToStop { false };
    std::optional<bool> m_endWhileAsking;
};
