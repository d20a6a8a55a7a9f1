#include "Classes/editor/CommandLine.h"
#include "PackageTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Action = CommandLine::Action;

CommandLine parsed(QStringList arguments)
{
    arguments.prepend(QStringLiteral("/usr/bin/pintaro"));
    return CommandLine::parse(arguments);
}

struct LineCase {
    QStringList arguments;
    Action action;
    const char* device;
    const char* language;
};

}

TEST(CommandLine, ReadsWhatEachCommandLineAsksFor)
{
    const LineCase cases[] = {
        { {}, Action::Run, "tablet", "" },
        { { "--device", "phone" }, Action::Run, "phone", "" },
        { { "--device=retina-phone" }, Action::Run, "retina-phone", "" },
        { { "--lang", "de" }, Action::Run, "tablet", "de" },
        { { "--lang=fr_CA" }, Action::Run, "tablet", "fr" },
        { { "--lang", "es-MX", "--device", "phone" }, Action::Run, "phone", "es" },
        { { "--lang", "en" }, Action::Run, "tablet", "en" },
        { { "--lang", "C" }, Action::Run, "tablet", "en" },
        // Qt's own options are left to Qt, with one dash or two, and their values too.
        { { "-platform", "offscreen", "-reverse" }, Action::Run, "tablet", "" },
        { { "--style=fusion", "-qwindowtitle", "--lang" }, Action::Run, "tablet", "" },
        { { "--help" }, Action::ShowHelp, "tablet", "" },
        { { "-h", "--version" }, Action::ShowHelp, "tablet", "" },
        { { "--version" }, Action::ShowVersion, "tablet", "" },
        { { "-v" }, Action::ShowVersion, "tablet", "" },
        { { "--lang", "de", "--help" }, Action::ShowHelp, "tablet", "de" },
        // Wrong command lines, also when the help was asked for first.
        { { "--bogus" }, Action::Fail, "tablet", "" },
        { { "--help", "--bogus" }, Action::Fail, "tablet", "" },
        { { "-x" }, Action::Fail, "tablet", "" },
        { { "--HELP" }, Action::Fail, "tablet", "" },
        { { "-help" }, Action::Fail, "tablet", "" },
        { { "painting.stk" }, Action::Fail, "tablet", "" },
        { { "-" }, Action::Fail, "tablet", "" },
        { { "--device" }, Action::Fail, "tablet", "" },
        { { "--device", "watch" }, Action::Fail, "tablet", "" },
        { { "--device=" }, Action::Fail, "tablet", "" },
        { { "--lang", "xx" }, Action::Fail, "tablet", "" },
        { { "--lang=" }, Action::Fail, "tablet", "" },
        { { "--reverse=1" }, Action::Fail, "tablet", "" },
        { { "--help=me" }, Action::Fail, "tablet", "" },
        { { "--version=2" }, Action::Fail, "tablet", "" },
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CommandLine line = parsed(c.arguments);
        EXPECT_EQ(line.action(), c.action);
        if (c.action == Action::Fail) {
            EXPECT_FALSE(line.errorText().isEmpty());
            continue;
        }
        EXPECT_EQ(line.device().name, c.device);
        EXPECT_EQ(line.language(), QString::fromLatin1(c.language));
    }
}

TEST(CommandLine, ErrorNamesTheWrongArgumentAndPointsToTheHelp)
{
    struct ErrorCase {
        QStringList arguments;
        const char* named;
    };
    const ErrorCase cases[] = {
        { { "--colour", "red" }, "--colour" },
        { { "--device", "toaster" }, "toaster" },
        { { "--lang", "tlh" }, "tlh" },
        { { "--device" }, "--device" },
        { { "drawing.png" }, "drawing.png" },
    };
    for (const ErrorCase& c : cases) {
        const QString error = parsed(c.arguments).errorText();
        SCOPED_TRACE(error.toStdString());
        EXPECT_TRUE(error.startsWith(QStringLiteral("pintaro: ")));
        EXPECT_TRUE(error.contains(QString::fromLatin1(c.named)));
        EXPECT_TRUE(error.contains(QStringLiteral("pintaro --help")));
    }
}

TEST(CommandLine, HelpNamesEveryOptionAndEveryLanguage)
{
    const QString help = parsed({ QStringLiteral("--help") }).helpText();
    for (const char* option : { "--device", "--lang", "--help", "--version", "retina-phone" })
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    for (const QString& language : translatedLanguages())
        EXPECT_TRUE(help.contains(language)) << language.toStdString();
}

#ifdef PINTARO_PROGRAM

// The program itself answers on a terminal without any window system.
TEST(CommandLineProgram, AnswersHelpVersionAndMistakesWithoutADesktop)
{
    const QString program = QStringLiteral(PINTARO_PROGRAM);
    const QProcessEnvironment terminal = terminalEnvironment(QStringLiteral("C.UTF-8"));

    ProgramRun help = runProgram(program, { QStringLiteral("--help") }, terminal);
    ASSERT_TRUE(help.finished) << help.err.toStdString();
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: pintaro"))) << help.out.toStdString();
    EXPECT_TRUE(help.err.isEmpty()) << help.err.toStdString();

    ProgramRun version = runProgram(program, { QStringLiteral("--version") }, terminal);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, QStringLiteral("Pintaro " PINTARO_VERSION "\n"));

    for (const QStringList& wrong : { QStringList { "--paint-everything" }, QStringList { "--device", "fridge" }, QStringList { "--lang" } }) {
        ProgramRun run = runProgram(program, wrong, terminal);
        SCOPED_TRACE(wrong.join(QLatin1Char(' ')).toStdString());
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, CommandLine::usageErrorStatus);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(wrong.last())) << run.err.toStdString();
    }
}

TEST(CommandLineProgram, SpeaksTheLanguageAskedForOrTheSystems)
{
    const QString program = QStringLiteral(PINTARO_PROGRAM);
    struct LanguageCase {
        const char* locale;
        QStringList arguments;
        const char* expected;
    };
    const LanguageCase cases[] = {
        { "C.UTF-8", { "--lang", "de", "--help" }, "Aufruf: pintaro" },
        { "de_DE.UTF-8", { "--help" }, "Aufruf: pintaro" },
        { "fr_CA.UTF-8", { "--help" }, "Utilisation : pintaro" },
        { "es_MX.UTF-8", { "--help" }, "Uso: pintaro" },
        { "de_DE.UTF-8", { "--lang", "en", "--help" }, "Usage: pintaro" },
        { "it_IT.UTF-8", { "--help" }, "Usage: pintaro" },
    };
    for (const LanguageCase& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + c.arguments.join(QLatin1Char(' ')).toStdString());
        ProgramRun run = runProgram(program, c.arguments, terminalEnvironment(QString::fromLatin1(c.locale)));
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.startsWith(QString::fromUtf8(c.expected))) << run.out.toStdString();
    }
}

#endif
