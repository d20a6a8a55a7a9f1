#pragma once

#include <QWidget>
#include <memory>

namespace platform::ui {

class NavigationController;
class ViewController;

// The program's one window: it holds the navigation stack, asks the screen on
// top before it closes (Ctrl+Q or the window's close button), and toggles
// full screen with F11.
class MainWindow final : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(std::shared_ptr<ViewController> root, QWidget* parent = nullptr);

    NavigationController& navigationController() { return *m_navigation; }

    // The screen that is asked before the window closes: a presented screen
    // over the top of the stack, or the top of the stack.
    ViewController* frontScreen() const;

    void toggleFullScreen();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent*) override;

private:
    NavigationController* m_navigation { nullptr };
    bool m_mayClose { false };
    bool m_asking { false };
};

}
