#include "Classes/editor/ProgressSpin.h"

#include "Classes/editor/RoundRectPath.h"
#include "platform/system/Device.h"
#include "platform/ui/Localized.h"

#include <QPainter>
#include <cmath>

ProgressSpin::ProgressSpin(QSize size, std::optional<QString> label, QWidget* parent)
    : QWidget(parent)
    , m_label(std::move(label))
{
    setFixedSize(size);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAccessibleName(platform::ui::localized("Saving"));

    float scale = platform::Device::mainScreenScale();
    m_backgroundImage = QImage(QSize(std::lround(size.width() * scale), std::lround(size.height() * scale)), QImage::Format_ARGB32_Premultiplied);
    m_backgroundImage.setDevicePixelRatio(scale);
    m_backgroundImage.fill(Qt::transparent);
    QPainter painter(&m_backgroundImage);
    painter.setRenderHint(QPainter::Antialiasing);
    platform::Path path = createRoundRectPath(platform::Rect(0, 0, size.width(), size.height()), 6);
    painter.fillPath(path.qpath(), QColor::fromRgbF(0, 0, 0, 0.8f));
}

void ProgressSpin::startAnimating()
{
    if (m_timer.isRunning())
        return;
    m_timer.start(1.0 / spokes, [this] {
        ++m_steps;
        update();
    });
}

void ProgressSpin::stopAnimating()
{
    m_timer.stop();
}

void ProgressSpin::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_backgroundImage);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    // A large wheel: 37 points across, spokes fading behind the leading one.
    const double inner = 9;
    const double outer = 18;
    for (int i = 0; i < spokes; ++i) {
        int age = (i - m_steps % spokes + spokes) % spokes;
        QColor colour(255, 255, 255, 255 - age * 200 / spokes);
        painter.setPen(QPen(colour, 4, Qt::SolidLine, Qt::RoundCap));
        double angle = 2 * M_PI * i / spokes;
        painter.drawLine(QPointF(inner * std::cos(angle), inner * std::sin(angle)),
            QPointF(outer * std::cos(angle), outer * std::sin(angle)));
    }
}
