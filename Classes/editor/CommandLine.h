#pragma once

#include "platform/system/Device.h"

#include <QString>
#include <QStringList>
#include <cstdio>

// What the program was asked to do on its command line:
//   pintaro [--device tablet|phone|retina-phone] [--lang CODE] [--help] [--version]
// It is read before any window is opened, so that --help, --version and a
// mistyped option answer on a terminal without a desktop.
class CommandLine final {
public:
    enum class Action { Run, ShowHelp, ShowVersion, Fail };

    // The exit status of a command line that cannot be followed.
    static constexpr int usageErrorStatus = 2;

    // `arguments` as the program got them, its own name first.
    static CommandLine parse(const QStringList& arguments);
    static CommandLine parse(int argc, char** argv);

    Action action() const { return m_action; }
    const platform::DeviceProfile& device() const { return m_device; }
    // The language asked for ("de", "en", ...), or empty for the system's.
    const QString& language() const { return m_language; }

    // The texts shown for the action, in the language of the texts installed
    // now (English when none is).
    QString helpText() const;
    static QString versionText();
    QString errorText() const;

    // Shows the help, the version or the error on the terminal, in the
    // language asked for or the system's, and returns the exit status.
    // For an action other than Run only.
    int finish(int argc, char** argv) const;

private:
    enum class Problem { None, UnknownOption, MissingValue, UnknownDevice, UnknownLanguage, UnexpectedArgument };

    void fail(Problem problem, const QString& subject);

    Action m_action { Action::Run };
    Problem m_problem { Problem::None };
    QString m_subject;
    QString m_program { QStringLiteral("pintaro") };
    platform::DeviceProfile m_device { platform::DeviceProfile::tablet() };
    QString m_language;
};
