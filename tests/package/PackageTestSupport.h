#pragma once

#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <optional>

// What a program printed and how it ended.
struct ProgramRun {
    int exitCode { -1 };
    bool finished { false };
    QString out;
    QString err;
};

// Runs a program to its end (at most `milliseconds`) with the environment
// given, or this process's own.
ProgramRun runProgram(const QString& program, const QStringList& arguments,
    const std::optional<QProcessEnvironment>& environment = std::nullopt, int milliseconds = 60000);

// An environment with no window system at all and the given locale, as on a
// terminal of a machine without a desktop.
QProcessEnvironment terminalEnvironment(const QString& locale);

// One text of a translation file.
struct TranslatedText {
    QString translation;
    bool finished { false };
};

// The texts of context "Pintaro" in a Qt translation file, by their English
// text; nothing when the file cannot be read.
std::optional<QMap<QString, TranslatedText>> readTranslationFile(const QString& path);

// The languages translated, e.g. {"de", "es", "fr"}.
QStringList translatedLanguages();
QString translationFile(const QString& language);

// The full path of a program on PATH, or empty.
QString findProgram(const QString& name);
