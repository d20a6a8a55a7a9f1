#pragma once

#include "platform/ui/ViewController.h"

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

class QParallelAnimationGroup;
class QVariantAnimation;

namespace platform::ui {

class NavigationBar;

// A stack of screens in one window with a navigation bar above them. Pushing
// slides the new screen in from the right, popping slides it out again; the
// screens below stay loaded. The stack keeps each screen through its
// std::shared_ptr and lets go of it when it is popped.
class NavigationController final : public QWidget {
    Q_OBJECT
public:
    explicit NavigationController(std::shared_ptr<ViewController> root, QWidget* parent = nullptr);
    ~NavigationController() override;

    void pushViewController(std::shared_ptr<ViewController> screen, bool animated);
    // Returns the screen taken off, or nullptr when only the root is left.
    std::shared_ptr<ViewController> popViewController(bool animated);
    void popToRootViewController(bool animated);

    ViewController* topViewController() const;
    const std::vector<std::shared_ptr<ViewController>>& viewControllers() const { return m_stack; }

    NavigationBar& navigationBar() { return *m_bar; }
    bool isNavigationBarHidden() const { return m_barHidden; }
    void setNavigationBarHidden(bool hidden, bool animated);

    // Ends a running slide at once, as if its time had passed.
    void finishTransition();

protected:
    void resizeEvent(QResizeEvent*) override;
    void showEvent(QShowEvent*) override;

private:
    QRect contentRect() const;
    void layOut();
    void refreshBar();
    void watchTitle(ViewController& screen);

    std::vector<std::shared_ptr<ViewController>> m_stack;
    NavigationBar* m_bar { nullptr };
    bool m_barHidden { false };
    double m_barReveal { 1 }; // 0 hidden .. 1 shown
    QPointer<QVariantAnimation> m_barAnimation;
    QPointer<QParallelAnimationGroup> m_transition;
    bool m_topAppeared { false };
};

}
