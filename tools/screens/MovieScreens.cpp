// The movie export screen before, during and after an export, and three frames
// of the movie it makes: the opening picture, the middle of the replay and the
// logo card.
#include "ScreenShots.h"

#include "Classes/model/Painting.h"
#include "Classes/model/PaintingFile.h"
#include "Classes/movie/MovieFrameSource.h"
#include "Classes/movie/VideoEncodeController.h"
#include "platform/media/PixelBuffer.h"
#include "platform/system/Device.h"
#include "platform/system/Random.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Animation.h"
#include "platform/ui/MainWindow.h"
#include "platform/ui/NavigationController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <chrono>
#include <cmath>
#include <thread>

namespace {

// A saved neon painting of the device's canvas size in mirror mode 9, read back
// as the gallery would hand it over.
std::unique_ptr<Painting> makeSavedPainting()
{
    platform::srand(11);
    platform::srandom(11);
    const platform::Size screen = platform::Device::current().screenSize;
    const platform::Size size { screen.width, screen.height - 44 };
    auto painting = std::make_unique<Painting>(size);
    painting->addTransparentLayer();
    painting->setMirrixMode(9);
    painting->setCropRegion(platform::Rect(0, 0, size.width, size.height));
    const int brushes[] = { 37, 34, 24, 11 };
    for (int s = 0; s < 12; ++s) {
        painting->switchBrush(brushes[s % 4]);
        const float cx = size.width * (0.3f + 0.4f * float((s * 7) % 5) / 4);
        const float cy = size.height * (0.25f + 0.5f * float((s * 3) % 4) / 3);
        auto at = [&](int i) {
            const float angle = i * 0.45f + s;
            const float radius = size.width * (0.08f + 0.02f * float(s % 3));
            return platform::Point { cx + radius * std::cos(angle), cy + radius * std::sin(angle) };
        };
        painting->strokeFrom(at(0));
        for (int i = 1; i < 14; ++i)
            painting->strokeTo(at(i));
        painting->strokeEnd(at(14));
    }
    painting->setPaintingImage(painting->getPaintingImage());
    painting->setThumbnailImage(painting->paintingImage());
    if (!storePainting(QStringLiteral("screens"), *painting))
        return nullptr;
    return Painting::initWithContentsOfFile(QStringLiteral("screens"));
}

void click(QAbstractButton& button)
{
    button.click();
    QCoreApplication::processEvents();
}

template<typename Done>
bool waitFor(Done done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// A movie frame as the movie shows it: the bytes are A, R, G, B, and the
// movie keeps the premultiplied colour and drops the alpha, which is the frame
// over black.
QImage toImage(const platform::PixelBuffer& frame)
{
    QImage image(frame.width(), frame.height(), QImage::Format_RGB32);
    for (int y = 0; y < frame.height(); ++y) {
        const uint8_t* in = frame.row(y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < frame.width(); ++x, in += 4)
            out[x] = qRgb(in[1], in[2], in[3]);
    }
    return image;
}

QString saveFrame(const platform::PixelBuffer& frame, const ScreenShotContext& c, const QString& name)
{
    QLabel label;
    label.setPixmap(QPixmap::fromImage(toImage(frame)));
    label.resize(frame.width(), frame.height());
    return saveWidget(label, c, name);
}

QStringList exportScreen(const ScreenShotContext& c)
{
    platform::ui::setAnimationsEnabled(false);
    auto root = std::make_shared<platform::ui::ViewController>();
    platform::ui::MainWindow window(root);
    const platform::Size size = platform::Device::current().screenSize;
    window.resize(int(size.width), int(size.height));
    window.show();
    auto screen = std::make_shared<VideoEncodeController>();
    screen->setPainting(makeSavedPainting());
    window.navigationController().pushViewController(screen, false);
    QCoreApplication::processEvents();

    QStringList paths { saveWidget(window, c, "movie-export-before") };
    click(*screen->rotateLeftButton());
    paths << saveWidget(window, c, "movie-export-turned-left");
    click(*screen->startButton());
    waitFor([&] { return screen->progressLabel()->text() != "0.0%" || platform::ui::AlertView::current(screen.get()); });
    paths << saveWidget(window, c, "movie-export-during");
    waitFor([&] { return platform::ui::AlertView::current(screen.get()) != nullptr; });
    paths << saveWidget(window, c, "movie-export-after");
    if (auto* alert = platform::ui::AlertView::current(screen.get()))
        click(*alert->button(0));
    paths << saveWidget(window, c, "movie-export-done");
    window.navigationController().popViewController(false);
    return paths;
}

QStringList movieFrames(const ScreenShotContext& c)
{
    auto painting = makeSavedPainting();
    if (!painting)
        return { QString() };
    const float scale = platform::Device::mainScreenScale() == 2 && platform::Device::idiom() == platform::InterfaceIdiom::Phone ? 2 : 1;
    MovieFrameSource source(*painting);
    source.setFrameSize({ painting->cropRect().size.width * scale, painting->cropRect().size.height * scale });
    source.prepare(24);
    const int middle = 30 + (source.totalFrames() - 110) / 2;
    const int fading = source.totalFrames() - 110 + 30 + 40;
    QStringList paths;
    int index = 0;
    while (auto frame = source.getPixelBufferOfNextFrame()) {
        if (index == 0)
            paths << saveFrame(*frame, c, "movie-frame-opening");
        else if (index == middle)
            paths << saveFrame(*frame, c, "movie-frame-replay-middle");
        else if (index == fading)
            paths << saveFrame(*frame, c, "movie-frame-fading");
        source.recyclePixelBuffer(std::move(frame));
        ++index;
    }
    auto card = source.createPixelBufferForMovieEnding(*painting->paintingImage(), source.frameSize(), {}, 0);
    if (card)
        paths << saveFrame(*card, c, "movie-frame-logo-card");
    painting->stopPlayback();
    return paths;
}

static ScreenShotSet exportSet("movie-export", exportScreen);
static ScreenShotSet framesSet("movie-frames", movieFrames);

}
