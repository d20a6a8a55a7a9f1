#pragma once

#include "platform/ui/NavigationItem.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

namespace platform::ui {

class ModalOverlay;
class NavigationController;

// A screen. Screens are held by std::shared_ptr: the navigation stack and a
// presenting screen keep the ones they show, and whoever opens a screen may
// keep it too and show it again later. The containers parent the widget while
// it is shown and give it back (unparented) when it leaves them.
//
// The lifecycle hooks run in this order: viewDidLoad once before the screen
// is first shown, then viewWillAppear/viewDidAppear each time it comes into
// view and viewWillDisappear/viewDidDisappear each time it goes.
class ViewController : public QWidget {
    Q_OBJECT
public:
    explicit ViewController(QWidget* parent = nullptr);
    ~ViewController() override;

    void loadViewIfNeeded();
    bool isViewLoaded() const { return m_loaded; }

    QString title() const { return m_title; }
    void setTitle(const QString& title);

    NavigationItem& navigationItem() { return m_navigationItem; }
    // The stack this screen is on, or of the screen that presented it.
    NavigationController* navigationController() const;
    void setNavigationController(NavigationController* controller);

    // Shows the screen over the whole window, sliding up from the bottom, and
    // keeps it until dismissViewController (from either screen).
    void presentViewController(std::shared_ptr<ViewController> screen, bool animated, std::function<void()> completion = {});
    void dismissViewController(bool animated, std::function<void()> completion = {});
    ViewController* presentedViewController() const { return m_presented.get(); }
    ViewController* presentingViewController() const { return m_presenting; }

    // The window asks the screen on top before it closes; answer true to let it
    // close, false to keep it open. The answer may come later (after a sheet).
    // By default a presented screen passes the question to its presenter and
    // any other screen answers true.
    virtual void windowCloseRequested(std::function<void(bool mayClose)> answer);

    virtual void viewDidLoad() { }
    virtual void viewWillAppear(bool /*animated*/) { }
    virtual void viewDidAppear(bool /*animated*/) { }
    virtual void viewWillDisappear(bool /*animated*/) { }
    virtual void viewDidDisappear(bool /*animated*/) { }

signals:
    void titleChanged(const QString& title);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    bool m_loaded { false };
    QString m_title;
    NavigationItem m_navigationItem;
    QPointer<NavigationController> m_navigationController;
    std::shared_ptr<ViewController> m_presented;
    QPointer<ModalOverlay> m_modalHost;
    ViewController* m_presenting { nullptr };
};

// Creates a screen for a std::shared_ptr whose last owner may let it go while
// one of its own handlers runs: the widget is deleted once control returns to
// the event loop.
template<typename T, typename... Args>
std::shared_ptr<T> makeScreen(Args&&... args)
{
    return std::shared_ptr<T>(new T(std::forward<Args>(args)...), [](T* screen) {
        screen->hide();
        screen->setParent(nullptr);
        screen->deleteLater();
    });
}

}
