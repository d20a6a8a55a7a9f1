#include "platform/ui/Localized.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace platform::ui {

QString localized(const char* english)
{
    return QCoreApplication::translate("Pintaro", english);
}

QString localizedFormat(const char* english, std::initializer_list<long long> numbers)
{
    // Printf-style "%d" becomes Qt's numbered "%1", "%2", ... in order, so a
    // translation may move the numbers around.
    QString format = localized(english);
    int next = 1;
    static const QRegularExpression printfNumber(QStringLiteral("%d"));
    QRegularExpressionMatch match;
    int from = 0;
    while ((from = format.indexOf(printfNumber, from, &match)) >= 0) {
        QString numbered = QStringLiteral("%") + QString::number(next++);
        format.replace(from, match.capturedLength(), numbered);
        from += numbered.size();
    }
    for (long long number : numbers)
        format = format.arg(number);
    return format;
}

}
