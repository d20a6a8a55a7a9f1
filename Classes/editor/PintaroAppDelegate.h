#pragma once

#include "platform/ui/MainWindow.h"

#include <QSize>
#include <QString>
#include <memory>

class PrefaceViewController;

// Starts the program: the window with the navigation stack and the home
// screen, the handler that notes an uncaught error in a local log, and the
// usage notes, which never leave the machine.
class PintaroAppDelegate final {
public:
    PintaroAppDelegate();
    ~PintaroAppDelegate();

    // `available` is the room the desktop gives the window; the window's
    // content is the device's screen, shrunk uniformly when it does not fit.
    bool applicationDidFinishLaunching(QSize available);

    platform::ui::MainWindow* window() const { return m_window.get(); }
    const std::shared_ptr<PrefaceViewController>& homeScreen() const { return m_home; }

    // The window's content size for a screen of `screen` points in `available`.
    static QSize fittedWindowSize(QSize screen, QSize available);

    // Where the uncaught-error lines go: "crash.log" in the application's data
    // folder (or the folder named by PINTARO_LOG_DIR).
    static QString crashLogPath();
    static void installUncaughtExceptionHandler();
    // Writes one "Uncaught" / "Crash!" line with the time to the log.
    static void uncaughtExceptionHandler(const char* what);

private:
    void startAnalytics();

    std::shared_ptr<PrefaceViewController> m_home;
    std::unique_ptr<platform::ui::MainWindow> m_window;
};
