#include "platform/ui/MainWindow.h"

#include "platform/ui/NavigationController.h"
#include "platform/ui/ViewController.h"

#include <QCloseEvent>
#include <QPointer>
#include <QShortcut>
#include <memory>
#include <optional>

namespace platform::ui {

MainWindow::MainWindow(std::shared_ptr<ViewController> root, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Pintaro"));
    m_navigation = new NavigationController(std::move(root), this);
    auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this);
    connect(fullScreen, &QShortcut::activated, this, &MainWindow::toggleFullScreen);
    auto* quit = new QShortcut(QKeySequence::Quit, this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);
    if (QKeySequence(QKeySequence::Quit) != QKeySequence(Qt::CTRL | Qt::Key_Q)) {
        auto* ctrlQ = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
        connect(ctrlQ, &QShortcut::activated, this, &QWidget::close);
    }
}

ViewController* MainWindow::frontScreen() const
{
    ViewController* screen = m_navigation->topViewController();
    while (screen && screen->presentedViewController())
        screen = screen->presentedViewController();
    return screen;
}

void MainWindow::toggleFullScreen()
{
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_mayClose) {
        event->accept();
        return;
    }
    ViewController* screen = frontScreen();
    if (!screen) {
        event->accept();
        return;
    }
    event->ignore();
    if (m_asking)
        return;
    m_asking = true;
    // An answer given at once decides this close event; a later one closes
    // the window again by itself.
    struct Answer {
        bool inside { true };
        std::optional<bool> given;
    };
    auto state = std::make_shared<Answer>();
    QPointer<MainWindow> self = this;
    screen->windowCloseRequested([self, state](bool mayClose) {
        if (!self)
            return;
        if (state->inside) {
            state->given = mayClose;
            return;
        }
        self->m_asking = false;
        if (!mayClose)
            return;
        self->m_mayClose = true;
        self->close();
    });
    state->inside = false;
    if (state->given) {
        m_asking = false;
        if (*state->given) {
            m_mayClose = true;
            event->accept();
        }
    }
}

void MainWindow::resizeEvent(QResizeEvent*)
{
    m_navigation->setGeometry(rect());
}

}
