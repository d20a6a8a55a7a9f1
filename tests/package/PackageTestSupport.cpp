#include "PackageTestSupport.h"

#include <QFile>
#include <QStandardPaths>
#include <QXmlStreamReader>

ProgramRun runProgram(const QString& program, const QStringList& arguments,
    const std::optional<QProcessEnvironment>& environment, int milliseconds)
{
    QProcess process;
    if (environment)
        process.setProcessEnvironment(*environment);
    process.start(program, arguments);
    ProgramRun run;
    run.finished = process.waitForFinished(milliseconds) && process.exitStatus() == QProcess::NormalExit;
    if (!run.finished) {
        process.kill();
        process.waitForFinished();
    }
    run.exitCode = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

QProcessEnvironment terminalEnvironment(const QString& locale)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : { "QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "LANGUAGE", "LC_ALL", "LC_MESSAGES" })
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("LANG"), locale);
    return environment;
}

std::optional<QMap<QString, TranslatedText>> readTranslationFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QMap<QString, TranslatedText> texts;
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation") && context == QLatin1String("Pintaro")) {
            const QString type = xml.attributes().value(QLatin1String("type")).toString();
            TranslatedText text;
            text.translation = xml.readElementText();
            text.finished = type.isEmpty() && !text.translation.isEmpty();
            texts.insert(source, text);
        }
    }
    if (xml.hasError()) {
        qWarning("%s:%lld: %s", qPrintable(path), static_cast<long long>(xml.lineNumber()), qPrintable(xml.errorString()));
        return std::nullopt;
    }
    return texts;
}

QStringList translatedLanguages()
{
    return QString::fromLatin1(PINTARO_LANGUAGES).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QString translationFile(const QString& language)
{
    return QStringLiteral(PINTARO_SOURCE_DIR "/translations/pintaro_%1.ts").arg(language);
}

QString findProgram(const QString& name)
{
    return QStandardPaths::findExecutable(name);
}
