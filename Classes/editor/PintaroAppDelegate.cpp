#include "Classes/editor/PintaroAppDelegate.h"

#include "Classes/editor/PrefaceViewController.h"
#include "platform/system/Device.h"

#include <QDir>
#include <QStandardPaths>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

// Fixed when the handler is installed, so that the handler itself need not
// allocate or ask Qt anything.
std::string& logPath()
{
    static std::string path;
    return path;
}

// Formats the time with the C library only: safe inside a signal handler.
void writeLine(const char* name, const char* message, const char* detail)
{
    if (logPath().empty())
        return;
    int fd = ::open(logPath().c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return;
    char line[512];
    std::time_t now = std::time(nullptr);
    std::tm parts {};
    gmtime_r(&now, &parts);
    size_t length = std::strftime(line, sizeof line, "%Y-%m-%d %H:%M:%S UTC ", &parts);
    auto append = [&](const char* text) {
        size_t n = std::strlen(text);
        if (length + n >= sizeof line - 2)
            n = sizeof line - 2 - length;
        std::memcpy(line + length, text, n);
        length += n;
    };
    append(name);
    append(": ");
    append(message);
    if (detail && *detail) {
        append(" (");
        append(detail);
        append(")");
    }
    line[length++] = '\n';
    ssize_t written = ::write(fd, line, length);
    (void)written;
    ::close(fd);
}

void onTerminate()
{
    const char* detail = "";
    std::string what;
    if (std::exception_ptr error = std::current_exception()) {
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        detail = what.c_str();
    }
    PintaroAppDelegate::uncaughtExceptionHandler(detail);
    std::abort();
}

void onFatalSignal(int signal)
{
    PintaroAppDelegate::uncaughtExceptionHandler(signal == SIGSEGV ? "SIGSEGV" : signal == SIGBUS ? "SIGBUS" : signal == SIGFPE ? "SIGFPE" : "SIGILL");
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}

PintaroAppDelegate::PintaroAppDelegate() = default;
PintaroAppDelegate::~PintaroAppDelegate() = default;

QSize PintaroAppDelegate::fittedWindowSize(QSize screen, QSize available)
{
    if (available.width() >= screen.width() && available.height() >= screen.height())
        return screen;
    double factor = std::min(double(available.width()) / screen.width(), double(available.height()) / screen.height());
    return QSize(std::max(1, int(screen.width() * factor)), std::max(1, int(screen.height() * factor)));
}

bool PintaroAppDelegate::applicationDidFinishLaunching(QSize available)
{
    m_home = std::make_shared<PrefaceViewController>();
    m_window = std::make_unique<platform::ui::MainWindow>(m_home);
    platform::Rect bounds = platform::Device::mainScreenBounds();
    QSize screen(int(bounds.width()), int(bounds.height()));
    m_window->resize(fittedWindowSize(screen, available));
    m_window->show();

    installUncaughtExceptionHandler();
    startAnalytics();
    return true;
}

void PintaroAppDelegate::startAnalytics()
{
    // Usage notes are kept on this machine only: the crash log is all there is.
}

QString PintaroAppDelegate::crashLogPath()
{
    QString folder = qEnvironmentVariable("PINTARO_LOG_DIR");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty())
        folder = QDir::homePath() + QStringLiteral("/.pintaro");
    QDir().mkpath(folder);
    return QDir(folder).filePath(QStringLiteral("crash.log"));
}

void PintaroAppDelegate::installUncaughtExceptionHandler()
{
    logPath() = crashLogPath().toStdString();
    std::set_terminate(onTerminate);
    for (int signal : { SIGSEGV, SIGBUS, SIGFPE, SIGILL })
        std::signal(signal, onFatalSignal);
}

void PintaroAppDelegate::uncaughtExceptionHandler(const char* what)
{
    writeLine("Uncaught", "Crash!", what);
}
