#include "platform/ui/NavigationController.h"

#include "platform/ui/Animation.h"
#include "platform/ui/NavigationBar.h"

#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QTimer>
#include <QVariantAnimation>

namespace platform::ui {

NavigationController::NavigationController(std::shared_ptr<ViewController> root, QWidget* parent)
    : QWidget(parent)
{
    m_bar = new NavigationBar(this);
    connect(m_bar, &NavigationBar::backClicked, this, [this] { popViewController(true); });
    root->setNavigationController(this);
    root->setParent(this);
    m_stack.push_back(std::move(root));
    watchTitle(*m_stack.back());
    layOut();
    refreshBar();
}

NavigationController::~NavigationController()
{
    // The screens belong to their shared owners, not to this widget.
    if (m_transition)
        m_transition->stop();
    for (auto& screen : m_stack) {
        screen->hide();
        screen->setParent(nullptr);
        screen->setNavigationController(nullptr);
    }
}

void NavigationController::watchTitle(ViewController& screen)
{
    connect(&screen, &ViewController::titleChanged, this, &NavigationController::refreshBar, Qt::UniqueConnection);
    connect(&screen.navigationItem(), &NavigationItem::changed, this, &NavigationController::refreshBar, Qt::UniqueConnection);
}

ViewController* NavigationController::topViewController() const
{
    return m_stack.empty() ? nullptr : m_stack.back().get();
}

QRect NavigationController::contentRect() const
{
    int top = qRound(NavigationBar::height * m_barReveal);
    return QRect(0, top, width(), std::max(0, height() - top));
}

void NavigationController::layOut()
{
    m_bar->setGeometry(0, qRound(NavigationBar::height * (m_barReveal - 1)), width(), NavigationBar::height);
    m_bar->setVisible(m_barReveal > 0);
    m_bar->raise();
    if (m_transition)
        return;
    for (auto& screen : m_stack)
        screen->setGeometry(contentRect());
}

void NavigationController::refreshBar()
{
    ViewController* top = topViewController();
    if (!top)
        return;
    QString backTitle = m_stack.size() > 1 ? m_stack[m_stack.size() - 2]->title() : QString();
    bool showsBack = m_stack.size() > 1 && !top->navigationItem().hidesBackButton();
    m_bar->show(top->title(), backTitle, showsBack, top->navigationItem().rightBarButton());
}

void NavigationController::resizeEvent(QResizeEvent*)
{
    layOut();
}

void NavigationController::showEvent(QShowEvent*)
{
    if (m_topAppeared || m_stack.empty())
        return;
    m_topAppeared = true;
    ViewController* top = topViewController();
    top->loadViewIfNeeded();
    top->viewWillAppear(false);
    top->setGeometry(contentRect());
    top->show();
    top->viewDidAppear(false);
}

void NavigationController::finishTransition()
{
    if (m_transition)
        m_transition->setCurrentTime(m_transition->totalDuration());
    if (m_barAnimation)
        m_barAnimation->setCurrentTime(m_barAnimation->totalDuration());
}

void NavigationController::pushViewController(std::shared_ptr<ViewController> screen, bool animated)
{
    if (!screen)
        return;
    finishTransition();
    std::shared_ptr<ViewController> from = m_stack.empty() ? nullptr : m_stack.back();
    if (from == screen)
        return;
    screen->setNavigationController(this);
    screen->setParent(this);
    screen->loadViewIfNeeded();
    m_stack.push_back(screen);
    watchTitle(*screen);

    bool appearing = isVisible();
    if (appearing && from)
        from->viewWillDisappear(animated);
    if (appearing)
        screen->viewWillAppear(animated);
    refreshBar();
    QRect target = contentRect();
    screen->setGeometry(target);
    screen->show();
    screen->raise();
    m_bar->raise();

    auto finish = [this, from, screen, animated, appearing] {
        if (from) {
            from->hide();
            from->setGeometry(contentRect());
            if (appearing)
                from->viewDidDisappear(animated);
        }
        screen->setGeometry(contentRect());
        if (appearing)
            screen->viewDidAppear(animated);
        m_topAppeared = m_topAppeared || appearing;
    };
    if (!shouldAnimate(animated) || !from || !appearing) {
        finish();
        return;
    }
    auto* group = new QParallelAnimationGroup(this);
    auto* in = new QPropertyAnimation(screen.get(), "pos", group);
    in->setDuration(slideDurationMs);
    in->setStartValue(target.topLeft() + QPoint(target.width(), 0));
    in->setEndValue(target.topLeft());
    in->setEasingCurve(QEasingCurve::OutCubic);
    auto* out = new QPropertyAnimation(from.get(), "pos", group);
    out->setDuration(slideDurationMs);
    out->setStartValue(from->pos());
    out->setEndValue(from->pos() - QPoint(target.width() / 3, 0));
    out->setEasingCurve(QEasingCurve::OutCubic);
    m_transition = group;
    connect(group, &QAbstractAnimation::finished, this, [this, finish] {
        m_transition = nullptr;
        finish();
    });
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

std::shared_ptr<ViewController> NavigationController::popViewController(bool animated)
{
    finishTransition();
    if (m_stack.size() < 2)
        return nullptr;
    std::shared_ptr<ViewController> popped = m_stack.back();
    m_stack.pop_back();
    std::shared_ptr<ViewController> to = m_stack.back();

    bool appearing = isVisible();
    if (appearing) {
        popped->viewWillDisappear(animated);
        to->viewWillAppear(animated);
    }
    refreshBar();
    QRect target = contentRect();
    to->show();
    popped->raise();
    m_bar->raise();

    auto finish = [this, popped, to, animated, appearing] {
        popped->hide();
        popped->setParent(nullptr);
        popped->setNavigationController(nullptr);
        to->setGeometry(contentRect());
        if (appearing) {
            popped->viewDidDisappear(animated);
            to->viewDidAppear(animated);
        }
        // Whoever let go of the popped screen may be running inside one of its
        // handlers; keep it alive until the event loop turns.
        QTimer::singleShot(0, this, [keep = popped] { });
    };
    if (!shouldAnimate(animated) || !appearing) {
        to->setGeometry(target);
        finish();
        return popped;
    }
    auto* group = new QParallelAnimationGroup(this);
    auto* out = new QPropertyAnimation(popped.get(), "pos", group);
    out->setDuration(slideDurationMs);
    out->setStartValue(popped->pos());
    out->setEndValue(target.topLeft() + QPoint(target.width(), 0));
    out->setEasingCurve(QEasingCurve::OutCubic);
    to->setGeometry(target.translated(-target.width() / 3, 0));
    auto* in = new QPropertyAnimation(to.get(), "pos", group);
    in->setDuration(slideDurationMs);
    in->setStartValue(to->pos());
    in->setEndValue(target.topLeft());
    in->setEasingCurve(QEasingCurve::OutCubic);
    m_transition = group;
    connect(group, &QAbstractAnimation::finished, this, [this, finish] {
        m_transition = nullptr;
        finish();
    });
    group->start(QAbstractAnimation::DeleteWhenStopped);
    return popped;
}

void NavigationController::popToRootViewController(bool animated)
{
    finishTransition();
    // Screens between the top and the root leave without a slide of their own.
    while (m_stack.size() > 2) {
        std::shared_ptr<ViewController> middle = m_stack[m_stack.size() - 2];
        m_stack.erase(m_stack.end() - 2);
        middle->hide();
        middle->setParent(nullptr);
        middle->setNavigationController(nullptr);
    }
    popViewController(animated);
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated)
{
    if (m_barAnimation)
        m_barAnimation->setCurrentTime(m_barAnimation->totalDuration());
    if (hidden == m_barHidden)
        return;
    m_barHidden = hidden;
    double end = hidden ? 0 : 1;
    if (!shouldAnimate(animated) || !isVisible()) {
        m_barReveal = end;
        layOut();
        return;
    }
    auto* animation = new QVariantAnimation(this);
    animation->setDuration(slideDurationMs);
    animation->setStartValue(m_barReveal);
    animation->setEndValue(end);
    connect(animation, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        m_barReveal = value.toDouble();
        layOut();
    });
    m_barAnimation = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

}
