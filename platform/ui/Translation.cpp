#include "platform/ui/Translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace platform::ui {

namespace {

// The translations are bundled into the program, so it speaks every language
// wherever it is run from.
const QString translationFolder = QStringLiteral(":/translations");
const QString english = QStringLiteral("en");

QString programFile(const QString& language)
{
    return translationFolder + QStringLiteral("/pintaro_") + language + QStringLiteral(".qm");
}

struct Installed {
    std::unique_ptr<QTranslator> program;
    std::unique_ptr<QTranslator> qt;
};

Installed& installed()
{
    static Installed translators;
    return translators;
}

void removeInstalled()
{
    Installed& now = installed();
    for (std::unique_ptr<QTranslator>* translator : { &now.program, &now.qt }) {
        if (*translator)
            QCoreApplication::removeTranslator(translator->get());
        translator->reset();
    }
}

}

QStringList availableLanguages()
{
    QStringList languages { english };
    const QStringList files = QDir(translationFolder).entryList({ QStringLiteral("pintaro_*.qm") }, QDir::Files, QDir::Name);
    for (const QString& file : files)
        languages << file.mid(8, file.size() - 8 - 3);
    return languages;
}

std::optional<QString> matchLanguage(const QString& wish)
{
    QString code = wish.trimmed();
    code.replace(QLatin1Char('-'), QLatin1Char('_'));
    // "de_DE.UTF-8" and "fr_FR@euro" name the same languages as "de_DE" and "fr_FR".
    code = code.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (code == QLatin1String("C") || code == QLatin1String("POSIX"))
        return english;
    const QStringList languages = availableLanguages();
    for (const QString& candidate : { code, code.section(QLatin1Char('_'), 0, 0) }) {
        for (const QString& language : languages) {
            if (!candidate.isEmpty() && candidate.compare(language, Qt::CaseInsensitive) == 0)
                return language;
        }
    }
    return std::nullopt;
}

QString languageForLocale(const QLocale& locale)
{
    for (const QString& wish : locale.uiLanguages()) {
        if (std::optional<QString> language = matchLanguage(wish))
            return *language;
    }
    return english;
}

QString installTranslation(const QString& language)
{
    const QString chosen = language.isEmpty() ? languageForLocale(QLocale::system()) : matchLanguage(language).value_or(english);
    removeInstalled();
    if (chosen == english)
        return chosen;

    auto program = std::make_unique<QTranslator>();
    if (!program->load(programFile(chosen)))
        return english;
    Installed& now = installed();
    now.program = std::move(program);
    QCoreApplication::installTranslator(now.program.get());

    auto qt = std::make_unique<QTranslator>();
    if (qt->load(QStringLiteral("qtbase_") + chosen, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        now.qt = std::move(qt);
        QCoreApplication::installTranslator(now.qt.get());
    }
    return chosen;
}

}
