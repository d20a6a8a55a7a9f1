#include "platform/ui/ViewController.h"

#include "platform/ui/Animation.h"
#include "platform/ui/ModalOverlay.h"
#include "platform/ui/NavigationController.h"

#include <QPainter>
#include <QPropertyAnimation>

namespace platform::ui {

ViewController::ViewController(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(false);
}

ViewController::~ViewController()
{
    if (m_modalHost)
        delete m_modalHost.data();
}

void ViewController::setNavigationController(NavigationController* controller)
{
    m_navigationController = controller;
}

void ViewController::loadViewIfNeeded()
{
    if (m_loaded)
        return;
    m_loaded = true;
    viewDidLoad();
}

void ViewController::setTitle(const QString& title)
{
    if (m_title == title)
        return;
    m_title = title;
    emit titleChanged(title);
}

NavigationController* ViewController::navigationController() const
{
    if (m_navigationController)
        return m_navigationController;
    return m_presenting ? m_presenting->navigationController() : nullptr;
}

void ViewController::presentViewController(std::shared_ptr<ViewController> screen, bool animated, std::function<void()> completion)
{
    if (!screen || m_presented)
        return;
    m_presented = std::move(screen);
    m_presented->m_presenting = this;
    m_presented->loadViewIfNeeded();

    auto* host = new ModalOverlay(this, QColor(0, 0, 0, 0));
    m_modalHost = host;
    host->borrow(m_presented.get());
    QRect target = host->rect();
    m_presented->viewWillAppear(animated);
    auto finish = [presented = m_presented, animated, completion = std::move(completion)] {
        presented->viewDidAppear(animated);
        if (completion)
            completion();
    };
    if (!shouldAnimate(animated)) {
        m_presented->setGeometry(target);
        finish();
        return;
    }
    auto* slide = new QPropertyAnimation(m_presented.get(), "geometry", host);
    slide->setDuration(slideDurationMs);
    slide->setStartValue(target.translated(0, target.height()));
    slide->setEndValue(target);
    slide->setEasingCurve(QEasingCurve::OutCubic);
    connect(slide, &QPropertyAnimation::finished, host, finish);
    slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void ViewController::dismissViewController(bool animated, std::function<void()> completion)
{
    // The presented screen may ask for its own dismissal.
    if (!m_presented && m_presenting) {
        m_presenting->dismissViewController(animated, std::move(completion));
        return;
    }
    if (!m_presented)
        return;
    std::shared_ptr<ViewController> presented = std::move(m_presented);
    QPointer<ModalOverlay> host = m_modalHost;
    m_modalHost = nullptr;
    presented->viewWillDisappear(animated);
    auto finish = [presented, host, animated, completion = std::move(completion)] {
        if (host)
            host->close();
        presented->m_presenting = nullptr;
        presented->viewDidDisappear(animated);
        if (completion)
            completion();
    };
    if (!shouldAnimate(animated) || !host) {
        finish();
        return;
    }
    auto* slide = new QPropertyAnimation(presented.get(), "geometry", host);
    slide->setDuration(slideDurationMs);
    slide->setStartValue(presented->geometry());
    slide->setEndValue(presented->geometry().translated(0, host->height()));
    slide->setEasingCurve(QEasingCurve::InCubic);
    connect(slide, &QPropertyAnimation::finished, host, finish);
    slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void ViewController::windowCloseRequested(std::function<void(bool mayClose)> answer)
{
    // A presented screen with nothing of its own to keep lets the screen
    // under it decide, so that closing over a picker still asks about the
    // painting below.
    if (m_presenting) {
        m_presenting->windowCloseRequested(std::move(answer));
        return;
    }
    answer(true);
}

void ViewController::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
}

}
