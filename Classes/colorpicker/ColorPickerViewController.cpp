#include "Classes/colorpicker/ColorPickerViewController.h"

#include "Classes/colorpicker/ColorPickerDelegate.h"
#include "platform/system/Device.h"
#include "platform/ui/Animation.h"
#include "platform/ui/Localized.h"
#include "platform/ui/Popover.h"
#include "ui_ColorPickerViewController.h"

#include <QGraphicsOpacityEffect>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPropertyAnimation>
#include <QTabletEvent>
#include <QTouchEvent>

using platform::Color;
using platform::Point;
using platform::Rect;

namespace {

constexpr int randomSwitchFadeMilliseconds = 300;
constexpr int recentColorSlideMilliseconds = 200;
constexpr qreal dimmedOpacity = 0.3;

Point toPoint(QPointF p) { return { static_cast<float>(p.x()), static_cast<float>(p.y()) }; }

// Runs the animation to its end value, over its duration when screens animate.
void runAnimation(QPropertyAnimation& animation, int durationMs)
{
    animation.setDuration(platform::ui::shouldAnimate(true) ? durationMs : 0);
    animation.start();
}

Rect frameOf(const QWidget& view)
{
    const QRect g = view.geometry();
    return Rect(g.x(), g.y(), g.width(), g.height());
}

}

ColorPickerViewController::ColorPickerViewController(QWidget* parent)
    : ViewController(parent)
    , m_ui(std::make_unique<Ui::ColorPickerViewController>())
{
    // The opener sizes a popover from the screen's size before showing it,
    // so the interface file is read at once.
    loadViewIfNeeded();
}

ColorPickerViewController::~ColorPickerViewController() = default;

Color ColorPickerViewController::selectedColor() const
{
    return Color::hsba(m_hue, m_saturation, m_brightness, 1);
}

bool ColorPickerViewController::isRandomColorSelected() const
{
    return m_ui->randomColorSwitch->isOn();
}

float ColorPickerViewController::clampValue(float value, float min, float max)
{
    float result = value > max ? max : value;
    return result < min ? min : result;
}

Point ColorPickerViewController::clampPoint(Point point, const Rect& rect)
{
    return { clampValue(point.x, rect.x(), rect.x() + rect.width()),
        clampValue(point.y, rect.y(), rect.y() + rect.height()) };
}

void ColorPickerViewController::viewDidLoad()
{
    m_ui->setupUi(this);
    m_designSize = size();
    setAutoFillBackground(true);
    QPalette colors = palette();
    colors.setColor(QPalette::Window, QColor(46, 48, 56));
    colors.setColor(QPalette::WindowText, Qt::white);
    setPalette(colors);
    m_ui->cancelButton->setText(platform::ui::localized("Cancel"));
    m_ui->okButton->setText(platform::ui::localized("OK"));
    m_ui->okButton->setDefault(true);
    m_ui->randomColorSwitch->setAccessibleName(platform::ui::localized("Pintaro Random Color"));
    connect(m_ui->okButton, &QPushButton::clicked, this, [this] { onOK(); });
    connect(m_ui->cancelButton, &QPushButton::clicked, this, [this] { onCancel(); });
    connect(m_ui->randomColorSwitch, &QAbstractButton::clicked, this, [this] { onRandomColorSwitchValueChanged(); });

    // Touches are handled here, by the view they started on; the indicators
    // sit above the palette and the bar and count as part of them.
    for (QWidget* view : std::initializer_list<QWidget*> { m_ui->hueSaturationPallete, m_ui->brightnessPallete,
             m_ui->hueSaturationIndicatorCircle, m_ui->brightnessIndicatorCircle }) {
        view->setAttribute(Qt::WA_AcceptTouchEvents);
        view->installEventFilter(this);
    }
    m_ui->hueSaturationIndicatorCircle->raise();
    m_ui->brightnessIndicatorCircle->raise();

    m_containerOpacity = new QGraphicsOpacityEffect(m_ui->solidColorPickerContainer);
    m_ui->solidColorPickerContainer->setGraphicsEffect(m_containerOpacity);
    m_containerFade = new QPropertyAnimation(m_containerOpacity, "opacity", this);
    m_hueSaturationSlide = new QPropertyAnimation(m_ui->hueSaturationIndicatorCircle, "pos", this);
    m_brightnessSlide = new QPropertyAnimation(m_ui->brightnessIndicatorCircle, "pos", this);

    // 1. The starting colour.
    m_hue = 0.6f;
    m_saturation = 0.6f;
    m_brightness = 0.8f;
    // 2.-6. The palette, the bar, both indicators and the swatch show it.
    m_ui->hueSaturationPallete->setBrightness(1.0f);
    m_ui->hueSaturationPallete->initPallete();
    m_ui->brightnessPallete->setHue(m_hue, m_saturation);
    m_ui->hueSaturationIndicatorCircle->setColor(selectedColor());
    m_ui->hueSaturationIndicatorCircle->setCenter(m_ui->hueSaturationPallete->getCenterOfHue(m_hue, m_saturation));
    m_ui->brightnessIndicatorCircle->setCenter(m_ui->brightnessPallete->getCenterOfBrightness(m_brightness));
    m_ui->brightnessIndicatorCircle->setColor(selectedColor());
    m_ui->colorIndicatorPanel->setColor(selectedColor());
    // 7. Eight fully saturated, fully bright hues around the circle.
    m_recentColors = std::make_shared<std::vector<HSVColor>>();
    m_recentColors->reserve(maximumRecentColors + 1);
    for (int i = 0; i < RecentPickedColorView::buttonCount; ++i)
        m_recentColors->emplace_back(i * 0.125f, 1, 1, 1);
    // 8. The recent-colour buttons.
    m_ui->historyColorPanel->setDelegate(this);
    m_ui->historyColorPanel->initWithColorArray(m_recentColors);
    // 9. Random colours to begin with.
    m_isRandomColor = true;
    m_ui->randomColorSwitch->setOn(true, false);
    onRandomColorSwitchValueChanged();
    // 10. The switch's caption.
    m_ui->randomColorLabel->setText(platform::ui::localized("Pintaro Random Color"));
}

void ColorPickerViewController::viewDidAppear(bool)
{
    // The keys belong to the picker while it is open.
    setFocus();
}

ColorPickerViewController::TouchTarget ColorPickerViewController::touchTargetOf(QObject* view) const
{
    if (view == m_ui->hueSaturationPallete || view == m_ui->hueSaturationIndicatorCircle)
        return TouchTarget::HueSaturation;
    if (view == m_ui->brightnessPallete || view == m_ui->brightnessIndicatorCircle)
        return TouchTarget::Brightness;
    return TouchTarget::None;
}

bool ColorPickerViewController::eventFilter(QObject* watched, QEvent* event)
{
    const TouchTarget target = touchTargetOf(watched);
    if (target == TouchTarget::None)
        return ViewController::eventFilter(watched, event);
    // The dimmed container takes no touches; Qt keeps them from its disabled
    // children already, and this keeps them out whatever delivers them.
    const bool takesTouches = m_ui->solidColorPickerContainer->isEnabled();

    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        // Mouse events made up from a touch or a pen were handled as those.
        if (mouse->source() != Qt::MouseEventNotSynthesized)
            return true;
        const bool dragging = event->type() != QEvent::MouseMove || (mouse->buttons() & Qt::LeftButton);
        if (takesTouches && dragging)
            routeTouch(target, mouse->globalPosition());
        return true;
    }
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd: {
        // Any one touch will do: the first one.
        auto* touch = static_cast<QTouchEvent*>(event);
        if (takesTouches && !touch->points().isEmpty())
            routeTouch(target, touch->points().first().globalPosition());
        event->accept();
        return true;
    }
    case QEvent::TouchCancel:
        event->accept();
        return true;
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease: {
        auto* pen = static_cast<QTabletEvent*>(event);
        if (event->type() == QEvent::TabletPress)
            m_penDown = true;
        if (takesTouches && m_penDown)
            routeTouch(target, pen->globalPosition());
        if (event->type() == QEvent::TabletRelease)
            m_penDown = false;
        event->accept();
        return true;
    }
    default:
        return ViewController::eventFilter(watched, event);
    }
}

void ColorPickerViewController::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        onOK();
        return;
    case Qt::Key_Escape:
        onCancel();
        return;
    default:
        ViewController::keyPressEvent(event);
    }
}

void ColorPickerViewController::routeTouch(TouchTarget target, QPointF globalPosition)
{
    stopIndicatorAnimations();
    if (target == TouchTarget::HueSaturation)
        onHueSaturationChange(globalPosition);
    else if (target == TouchTarget::Brightness)
        onBrightnessChange(globalPosition);
}

void ColorPickerViewController::onHueSaturationChange(QPointF globalPosition)
{
    auto& ui = *m_ui;
    // 1. The indicator stays on the palette, however far the finger goes.
    const Point inContainer = toPoint(ui.solidColorPickerContainer->mapFromGlobal(globalPosition));
    ui.hueSaturationIndicatorCircle->setCenter(clampPoint(inContainer, frameOf(*ui.hueSaturationPallete)));
    // 2. The colour follows the finger, past the edges too.
    ui.hueSaturationPallete->getHSAtPoint(toPoint(ui.hueSaturationPallete->mapFromGlobal(globalPosition)), m_hue, m_saturation);
    // 3.-5.
    ui.hueSaturationIndicatorCircle->setColor(Color::hsba(m_hue, m_saturation, 1, 1));
    ui.brightnessPallete->setHue(m_hue, m_saturation);
    ui.brightnessIndicatorCircle->setColor(selectedColor());
    ui.colorIndicatorPanel->setColor(selectedColor());
}

void ColorPickerViewController::onBrightnessChange(QPointF globalPosition)
{
    auto& ui = *m_ui;
    const QRect bar = ui.brightnessPallete->geometry();
    // 1.-2. The indicator slides along the bar's middle and stops at its ends.
    const float x = clampValue(toPoint(ui.solidColorPickerContainer->mapFromGlobal(globalPosition)).x, bar.x(), bar.x() + bar.width());
    ui.brightnessIndicatorCircle->setCenter({ x, bar.y() + bar.height() / 2.0f });
    // 3. Brightness stops at 0 and 1.
    m_brightness = ui.brightnessPallete->getBrightnessAtPoint(toPoint(ui.brightnessPallete->mapFromGlobal(globalPosition)));
    // 4.
    ui.brightnessIndicatorCircle->setColor(selectedColor());
    ui.colorIndicatorPanel->setColor(selectedColor());
}

void ColorPickerViewController::recentColorPicked(int index)
{
    if (index < 0 || index >= static_cast<int>(m_recentColors->size()))
        return;
    auto& ui = *m_ui;
    // 1. The remembered colour becomes the solid choice.
    const HSVColor::HSV hsv = (*m_recentColors)[index].hsv();
    m_hue = hsv.h;
    m_brightness = hsv.v;
    m_saturation = hsv.s;

    // 2. The indicators glide to it. A colour chosen with the finger past the
    // palette's edge lies off the palette; its indicator stays on the edge,
    // where the finger left it.
    stopIndicatorAnimations();
    ui.hueSaturationIndicatorCircle->setColor(selectedColor());
    const Point hsCenter = clampPoint(ui.hueSaturationPallete->getCenterOfHue(m_hue, m_saturation), frameOf(*ui.hueSaturationPallete));
    const Point brightnessCenter = ui.brightnessPallete->getCenterOfBrightness(m_brightness);
    const auto slide = [](QPropertyAnimation& animation, QWidget& indicator, Point center) {
        animation.setStartValue(indicator.pos());
        animation.setEndValue(QPoint(static_cast<int>(std::lround(center.x - indicator.width() / 2.0f)),
            static_cast<int>(std::lround(center.y - indicator.height() / 2.0f))));
        runAnimation(animation, recentColorSlideMilliseconds);
    };
    slide(*m_hueSaturationSlide, *ui.hueSaturationIndicatorCircle, hsCenter);
    slide(*m_brightnessSlide, *ui.brightnessIndicatorCircle, brightnessCenter);
    ui.brightnessPallete->setHue(m_hue, m_saturation);
    ui.brightnessIndicatorCircle->setColor(selectedColor());
    // 3. The swatch. The random switch stays as it is.
    ui.colorIndicatorPanel->setColor(selectedColor());
}

void ColorPickerViewController::stopIndicatorAnimations()
{
    // A finger on the palette takes over from a glide still on its way.
    for (QPropertyAnimation* animation : { m_hueSaturationSlide, m_brightnessSlide }) {
        if (animation->state() == QAbstractAnimation::Running) {
            animation->setCurrentTime(animation->duration());
            animation->stop();
        }
    }
}

void ColorPickerViewController::onRandomColorSwitchValueChanged()
{
    m_isRandomColor = m_ui->randomColorSwitch->isOn();
    m_containerFade->stop();
    m_containerFade->setStartValue(m_containerOpacity->opacity());
    m_containerFade->setEndValue(m_isRandomColor ? dimmedOpacity : 1.0);
    runAnimation(*m_containerFade, randomSwitchFadeMilliseconds);
    m_ui->solidColorPickerContainer->setEnabled(!m_isRandomColor);
}

void ColorPickerViewController::onOK()
{
    // 1. A new solid colour goes to the front of the recent colours.
    if (!m_isRandomColor) {
        const Color color = selectedColor();
        if (color != m_recentColors->front().color()) {
            m_recentColors->insert(m_recentColors->begin(), HSVColor(m_hue, m_saturation, m_brightness, 1));
            if (m_recentColors->size() > maximumRecentColors)
                m_recentColors->pop_back();
            m_ui->historyColorPanel->updateWithColorArray(m_recentColors);
        }
    }
    // 2.
    if (m_delegate)
        m_delegate->colorPickerDidFinishWithColor(selectedColor(), isRandomColorSelected());
    // 3.
    closePicker();
}

void ColorPickerViewController::onCancel()
{
    closePicker();
}

void ColorPickerViewController::closePicker()
{
    if (platform::Device::idiom() == platform::InterfaceIdiom::Pad) {
        if (m_popover)
            m_popover->dismiss(true);
        return;
    }
    if (presentingViewController())
        presentingViewController()->dismissViewController(true);
}
