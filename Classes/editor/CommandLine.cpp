#include "Classes/editor/CommandLine.h"

#include "platform/ui/Localized.h"
#include "platform/ui/Translation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <array>

#ifndef PINTARO_VERSION
#define PINTARO_VERSION "0"
#endif

using platform::ui::localized;

namespace {

// Qt reads options of its own from the same command line (a window system
// plugin, a style, a session); they are left to it. Qt takes them with one
// dash or two.
constexpr std::array qtOptionsWithValue { "platform", "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon", "qwindowtitle", "style", "stylesheet", "session", "display", "name", "title", "geometry" };
constexpr std::array qtFlags { "reverse", "widgetcount", "nograb", "dograb" };

template<size_t N>
bool contains(const std::array<const char*, N>& names, const QString& name)
{
    for (const char* known : names) {
        if (name == QLatin1String(known))
            return true;
    }
    return false;
}

void print(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

}

CommandLine CommandLine::parse(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return parse(arguments);
}

CommandLine CommandLine::parse(const QStringList& arguments)
{
    CommandLine line;
    if (!arguments.isEmpty())
        line.m_program = QFileInfo(arguments.first()).fileName();

    for (qsizetype i = 1; i < arguments.size() && line.m_action != Action::Fail; ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-") || argument == QLatin1String("--")) {
            line.fail(Problem::UnexpectedArgument, argument);
            break;
        }
        const bool twoDashes = argument.startsWith(QLatin1String("--"));
        QString name = argument.mid(twoDashes ? 2 : 1);
        std::optional<QString> value;
        if (qsizetype equals = name.indexOf(QLatin1Char('=')); equals >= 0) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        // The value of an option that needs one: after "=" or as the next argument.
        const auto takeValue = [&]() -> std::optional<QString> {
            if (value)
                return value;
            if (i + 1 < arguments.size())
                return arguments[++i];
            line.fail(Problem::MissingValue, argument);
            return std::nullopt;
        };

        if ((twoDashes && name == QLatin1String("help") && !value) || argument == QLatin1String("-h")) {
            // The first of --help and --version wins; a later mistake still counts.
            if (line.m_action == Action::Run)
                line.m_action = Action::ShowHelp;
        } else if ((twoDashes && name == QLatin1String("version") && !value) || argument == QLatin1String("-v")) {
            if (line.m_action == Action::Run)
                line.m_action = Action::ShowVersion;
        } else if (twoDashes && name == QLatin1String("device")) {
            std::optional<QString> device = takeValue();
            if (!device)
                break;
            std::optional<platform::DeviceProfile> profile = platform::DeviceProfile::named(device->toStdString());
            if (!profile)
                line.fail(Problem::UnknownDevice, *device);
            else
                line.m_device = *profile;
        } else if (twoDashes && name == QLatin1String("lang")) {
            std::optional<QString> language = takeValue();
            if (!language)
                break;
            std::optional<QString> matched = platform::ui::matchLanguage(*language);
            if (!matched)
                line.fail(Problem::UnknownLanguage, *language);
            else
                line.m_language = *matched;
        } else if (contains(qtOptionsWithValue, name)) {
            if (!value)
                ++i;
        } else if (contains(qtFlags, name) && !value) {
            // Qt's own; nothing for the program to do.
        } else {
            line.fail(Problem::UnknownOption, argument);
        }
    }
    return line;
}

void CommandLine::fail(Problem problem, const QString& subject)
{
    m_action = Action::Fail;
    m_problem = problem;
    m_subject = subject;
}

QString CommandLine::helpText() const
{
    QString text = localized("Usage:") + QStringLiteral(" ") + m_program + QStringLiteral(" [--device tablet|phone|retina-phone] [--lang ")
        + platform::ui::availableLanguages().join(QLatin1Char('|')) + QStringLiteral("]\n");
    text += localized("A finger-painting program for young children.") + QStringLiteral("\n\n");
    const std::array<std::pair<const char*, QString>, 4> options { {
        { "--device NAME", localized("The screen to paint on: tablet (the default), phone or retina-phone.") },
        { "--lang CODE", localized("The language of the texts, e.g. de, en, es or fr (the default is the system's).") },
        { "-h, --help", localized("Show this help and quit.") },
        { "-v, --version", localized("Show the version and quit.") },
    } };
    for (const auto& [option, meaning] : options)
        text += QStringLiteral("  %1  %2\n").arg(QString::fromLatin1(option), -15).arg(meaning);
    return text;
}

QString CommandLine::versionText()
{
    return QStringLiteral("Pintaro " PINTARO_VERSION "\n");
}

QString CommandLine::errorText() const
{
    QString problem;
    switch (m_problem) {
    case Problem::None:
        return {};
    case Problem::UnknownOption:
        problem = localized("unknown option");
        break;
    case Problem::MissingValue:
        problem = localized("this option needs a value");
        break;
    case Problem::UnknownDevice:
        problem = localized("unknown device (tablet, phone or retina-phone)");
        break;
    case Problem::UnknownLanguage:
        problem = localized("no such language") + QStringLiteral(" (") + platform::ui::availableLanguages().join(QStringLiteral(", ")) + QStringLiteral(")");
        break;
    case Problem::UnexpectedArgument:
        problem = localized("unexpected argument");
        break;
    }
    return m_program + QStringLiteral(": ") + problem + QStringLiteral(": \"") + m_subject + QStringLiteral("\"\n")
        + localized("Try \"%1 --help\" for more.").arg(m_program) + QStringLiteral("\n");
}

int CommandLine::finish(int argc, char** argv) const
{
    // A plain application without a window, just for the translation.
    QCoreApplication application(argc, argv);
    platform::ui::installTranslation(m_language);
    switch (m_action) {
    case Action::ShowHelp:
        print(stdout, helpText());
        return 0;
    case Action::ShowVersion:
        print(stdout, versionText());
        return 0;
    case Action::Fail:
        print(stderr, errorText());
        return usageErrorStatus;
    case Action::Run:
        break;
    }
    return 0;
}
