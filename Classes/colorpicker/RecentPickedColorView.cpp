#include "Classes/colorpicker/RecentPickedColorView.h"

#include "Classes/colorpicker/RecentPickedColorDelegate.h"
#include "platform/graphics/ImageContext.h"
#include "platform/system/Device.h"
#include "platform/ui/Localized.h"

#include <QAbstractButton>
#include <QPainter>

using platform::Color;
using platform::Image;
using platform::Rect;
using platform::Size;

namespace {

// A button that is nothing but its picture.
class SwatchButton final : public QAbstractButton {
public:
    using QAbstractButton::QAbstractButton;

    void setImage(Image image)
    {
        m_image = std::move(image);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_image.isNull())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), m_image.qimage());
    }

private:
    Image m_image;
};

}

RecentPickedColorView::RecentPickedColorView(QWidget* parent)
    : QWidget(parent)
{
}

void RecentPickedColorView::initWithColorArray(std::shared_ptr<const std::vector<HSVColor>> colors)
{
    m_colorArray = std::move(colors);
    if (m_buttons[0]) {
        paintButtons();
        return;
    }
    for (int i = 0; i < buttonCount; ++i) {
        auto* button = new SwatchButton(this);
        button->setProperty("tag", firstTag + i);
        button->setCursor(Qt::PointingHandCursor);
        button->setAccessibleName(platform::ui::localizedFormat("Recent color %d", { i + 1 }));
        // The click arrives on release over the button: touch up inside.
        connect(button, &QAbstractButton::clicked, this, [this, button] { onHistoryColorSelected(button); });
        m_buttons[i] = button;
    }
    layoutButtons();
}

void RecentPickedColorView::updateWithColorArray(std::shared_ptr<const std::vector<HSVColor>> colors)
{
    m_colorArray = std::move(colors);
    paintButtons();
}

Rect RecentPickedColorView::getFrameOfButtonAtIndex(int index) const
{
    const int w = static_cast<int>((width() - 30) * 0.25);
    const int h = static_cast<int>((height() - 10) * 0.5);
    return Rect((index % 4) * (w + 10), (index / 4) * (h + 10), w, h);
}

Image RecentPickedColorView::createImageWithColor(const Color& color, Size size)
{
    platform::ImageContext context(size, true, platform::Device::mainScreenScale());
    const Rect bounds(0, 0, size.width, size.height);
    context.setFillColor(color);
    context.fillRect(bounds);
    context.setShadow({ 0, 0 }, 3);
    context.setStrokeColor(Color::white());
    context.setLineWidth(2);
    context.strokeRect(bounds);
    return context.image();
}

QAbstractButton* RecentPickedColorView::buttonWithTag(int tag) const
{
    const int index = tag - firstTag;
    if (index < 0 || index >= buttonCount)
        return nullptr;
    return m_buttons[index];
}

void RecentPickedColorView::resizeEvent(QResizeEvent*)
{
    layoutButtons();
}

void RecentPickedColorView::onHistoryColorSelected(QAbstractButton* button)
{
    if (m_delegate)
        m_delegate->recentColorPicked(button->property("tag").toInt() - firstTag);
}

void RecentPickedColorView::layoutButtons()
{
    if (!m_buttons[0])
        return;
    for (int i = 0; i < buttonCount; ++i) {
        const Rect frame = getFrameOfButtonAtIndex(i);
        m_buttons[i]->setGeometry(static_cast<int>(frame.x()), static_cast<int>(frame.y()),
            std::max(0, static_cast<int>(frame.width())), std::max(0, static_cast<int>(frame.height())));
    }
    paintButtons();
}

void RecentPickedColorView::paintButtons()
{
    for (int i = 0; i < buttonCount; ++i) {
        auto* button = static_cast<SwatchButton*>(m_buttons[i]);
        if (!button)
            continue;
        // The list always holds at least eight colours; a shorter one leaves
        // the rest of the buttons out rather than showing stale colours.
        const bool hasColor = m_colorArray && i < static_cast<int>(m_colorArray->size());
        button->setVisible(hasColor);
        if (!hasColor)
            continue;
        const Rect frame = getFrameOfButtonAtIndex(i);
        button->setImage(createImageWithColor((*m_colorArray)[i].color(), frame.size));
    }
}
