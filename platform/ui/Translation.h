#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

namespace platform::ui {

// The languages the program's texts come in, as the translations bundled
// with it: "en" (the texts as written) and one code per translation.
QStringList availableLanguages();

// The available language that a wish such as "de", "de_AT", "fr-CA" or "C"
// names: the exact code, else the language without its region. Nothing when
// the program has no such language.
std::optional<QString> matchLanguage(const QString& wish);

// The language to show for a locale: the first of the locale's languages
// (in the user's order of preference) that the program has, else "en".
QString languageForLocale(const QLocale& locale);

// Makes `language` (an available code, or empty for the system's locale) the
// language of every text looked up from now on, with Qt's own texts (the
// file dialog's buttons) in the same language when the system has them.
// Returns the language chosen. Needs a running QCoreApplication.
QString installTranslation(const QString& language);

}
