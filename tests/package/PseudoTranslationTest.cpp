// Every screen is shown under a pseudo-translation that wraps each text the
// build gathered in "[[" and "]]"; a visible text that is not wrapped was never
// looked up, or was looked up without lupdate finding it, and so could never be
// translated. The screens are brought into their states by the screens tool's
// sets, which call saveWidget for every state: here saveWidget reads the texts
// instead of saving a picture.
#include "PackageTestSupport.h"
#include "ScreenShots.h"
#include "platform/system/Device.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/ViewController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTranslator>
#include <gtest/gtest.h>
#include <optional>

ScreenShotSet::ScreenShotSet(const char* name, ScreenShotFunction function)
{
    all().push_back({ QString::fromUtf8(name), std::move(function) });
}

std::vector<ScreenShotSet::Entry>& ScreenShotSet::all()
{
    static std::vector<Entry> sets;
    return sets;
}

namespace {

// Wraps the program's texts that it knows, and only those, as a translation
// would replace them. Qt's own texts (the file dialog's) come from Qt's
// translations under its classes' names, and are all wrapped.
class PseudoTranslator final : public QTranslator {
public:
    explicit PseudoTranslator(QSet<QString> texts)
        : m_texts(std::move(texts))
    {
    }
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override
    {
        const QString text = QString::fromUtf8(source);
        const bool ours = qstrcmp(context, "Pintaro") == 0 && m_texts.contains(text);
        const bool qts = context && context[0] == 'Q';
        if (text.isEmpty() || !(ours || qts))
            return {};
        return QStringLiteral("[[") + text + QStringLiteral("]]");
    }

private:
    QSet<QString> m_texts;
};

// Where a text is shown: in an alert, in an action sheet or elsewhere.
enum class Place { Screen, Alert, Sheet };

Place placeOf(const QWidget& widget)
{
    for (const QWidget* at = &widget; at; at = at->parentWidget()) {
        if (qobject_cast<const platform::ui::AlertView*>(at))
            return Place::Alert;
        if (qobject_cast<const platform::ui::ActionSheet*>(at))
            return Place::Sheet;
    }
    return Place::Screen;
}

// Texts the program shows as they stand on purpose, each only where it does
// so: its name, the export menu's three entries, the alert about movies on
// old systems, and replay speeds such as "x2" or "x0.5".
bool isShownUnchangedOnPurpose(const QString& text, Place place)
{
    struct Unchanged {
        const char* text;
        std::optional<Place> place;
    };
    static const Unchanged unchanged[] = {
        { "Pintaro", std::nullopt },
        { "Go To Gallery", Place::Sheet },
        { "Save image to photo album", Place::Sheet },
        { "Export movie to photo album", Place::Sheet },
        { "Movie Export", Place::Alert },
        { "Pintaro can support movie encoding only on device with iOS4.1 or later.", Place::Alert },
        { "OK", Place::Alert },
    };
    for (const Unchanged& u : unchanged) {
        if (text == QLatin1String(u.text) && (!u.place || *u.place == place))
            return true;
    }
    static const QRegularExpression speed(QStringLiteral("^x\\d+(\\.\\d+)?$"));
    return speed.match(text).hasMatch();
}

// What is wrong with a visible text, or nothing: words outside the wrapping,
// or a number place that was never filled in.
std::optional<QString> fault(const QString& shown, Place place = Place::Screen)
{
    QString text = shown;
    if (Qt::mightBeRichText(text)) {
        QTextDocument document;
        document.setHtml(text);
        text = document.toPlainText();
    }
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    static const QRegularExpression numberPlace(QStringLiteral("%(\\d+|d|s)"));
    if (numberPlace.match(text).hasMatch())
        return QStringLiteral("a number place is not filled in");
    if (isShownUnchangedOnPurpose(text, place))
        return std::nullopt;
    static const QRegularExpression wrapped(QStringLiteral("\\[\\[.*?\\]\\]"), QRegularExpression::DotMatchesEverythingOption);
    QString outside = text;
    outside.remove(wrapped);
    for (QChar c : outside) {
        if (c.isLetter())
            return QStringLiteral("not translatable");
    }
    return std::nullopt;
}

struct Finding {
    QString where;
    QString text;
    QString problem;
};

struct Observed {
    std::vector<Finding> findings;
    int statesSeen { 0 };
    int textsSeen { 0 };
    QString device;
};

Observed& run()
{
    static Observed current;
    return current;
}

void check(const QString& where, const QString& text, Place place = Place::Screen)
{
    if (text.trimmed().isEmpty())
        return;
    ++run().textsSeen;
    if (std::optional<QString> problem = fault(text, place))
        run().findings.push_back({ where, text, *problem });
}

QString describe(const QWidget& widget)
{
    return QString::fromLatin1(widget.metaObject()->className()) + QLatin1Char('#') + widget.objectName();
}

// Reads every text that the user sees (or hears, through the accessible
// names) in the widget and its visible children.
void checkTexts(QWidget& root, const QString& state)
{
    check(state + QStringLiteral(" window title"), root.window()->windowTitle());
    QList<QWidget*> widgets = root.findChildren<QWidget*>();
    widgets.prepend(&root);
    for (QWidget* widget : widgets) {
        if (!widget->isVisible())
            continue;
        const QString where = state + QLatin1Char(' ') + describe(*widget);
        const Place place = placeOf(*widget);
        if (auto* label = qobject_cast<QLabel*>(widget))
            check(where + QStringLiteral(" text"), label->text(), place);
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            check(where + QStringLiteral(" text"), button->text(), place);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            check(where + QStringLiteral(" text"), edit->text(), place);
            check(where + QStringLiteral(" placeholder"), edit->placeholderText(), place);
        }
        if (auto* bar = qobject_cast<QProgressBar*>(widget); bar && bar->isTextVisible())
            check(where + QStringLiteral(" text"), bar->text(), place);
        if (auto* screen = qobject_cast<platform::ui::ViewController*>(widget))
            check(where + QStringLiteral(" title"), screen->title(), place);
        check(where + QStringLiteral(" tooltip"), widget->toolTip(), place);
        check(where + QStringLiteral(" accessible name"), widget->accessibleName(), place);
    }
}

QSet<QString> gatheredTexts()
{
    QSet<QString> texts;
    if (std::optional<QMap<QString, TranslatedText>> file = readTranslationFile(QStringLiteral(PINTARO_TEXTS_TS))) {
        for (const QString& text : file->keys())
            texts.insert(text);
    }
    return texts;
}

}

QString saveWidget(QWidget& widget, const ScreenShotContext& context, const QString& name)
{
    ++run().statesSeen;
    checkTexts(widget, context.deviceName + QLatin1Char('/') + name);
    // Dialogs of their own (the photo picker) are windows of their own.
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top != widget.window() && top->isVisible() && top->isWindow())
            checkTexts(*top, context.deviceName + QLatin1Char('/') + name + QStringLiteral(" (window)"));
    }
    return QDir(context.outputFolder).filePath(context.deviceName + QLatin1Char('-') + name);
}

TEST(PseudoTranslation, EveryVisibleTextOnEveryScreenIsTranslatable)
{
    const QSet<QString> texts = gatheredTexts();
    ASSERT_GT(texts.size(), 20) << "the build's list of texts " PINTARO_TEXTS_TS " is missing or nearly empty";
    ASSERT_FALSE(ScreenShotSet::all().empty());

    PseudoTranslator translator(texts);
    QCoreApplication::installTranslator(&translator);
    run() = Observed {};
    for (const char* device : { "tablet", "phone" }) {
        std::optional<platform::DeviceProfile> profile = platform::DeviceProfile::named(device);
        ASSERT_TRUE(profile);
        for (const ScreenShotSet::Entry& set : ScreenShotSet::all()) {
            SCOPED_TRACE(set.name.toStdString());
            platform::ScopedDeviceProfile scoped(*profile);
            QTemporaryDir documents;
            qputenv("PINTARO_DOCUMENTS", documents.filePath(QStringLiteral("Documents")).toLocal8Bit());
            qputenv("PINTARO_ALBUM", documents.filePath(QStringLiteral("Album")).toLocal8Bit());
            qputenv("PINTARO_LOG_DIR", documents.filePath(QStringLiteral("Logs")).toLocal8Bit());
            ScreenShotContext context { documents.filePath(QStringLiteral("shots")), QString::fromLatin1(device), documents.path() };
            set.function(context);
            QApplication::processEvents();
        }
    }
    QCoreApplication::removeTranslator(&translator);
    for (const char* name : { "PINTARO_DOCUMENTS", "PINTARO_ALBUM", "PINTARO_LOG_DIR" })
        qunsetenv(name);

    EXPECT_GT(run().statesSeen, 10);
    EXPECT_GT(run().textsSeen, 100);
    QStringList report;
    QSet<QString> reported;
    for (const Finding& finding : run().findings) {
        // The same text on the same kind of widget is reported once.
        const QString line = finding.problem + QStringLiteral(": \"") + finding.text + QStringLiteral("\" at ") + finding.where;
        const QString key = finding.text + finding.where.section(QLatin1Char(' '), 1);
        if (!reported.contains(key)) {
            reported.insert(key);
            report << line;
        }
    }
    EXPECT_TRUE(report.isEmpty()) << report.size() << " visible texts escape translation:\n  "
                                  << report.join(QStringLiteral("\n  ")).toStdString();
}

// The checks themselves, on texts whose verdict is known.
TEST(PseudoTranslation, TellsWrappedTextsFromTextsThatEscape)
{
    struct VerdictCase {
        const char* text;
        bool fine;
        Place place = Place::Screen;
    };
    const VerdictCase cases[] = {
        { "[[Cancel]]", true },
        { "\u2039 [[Back]]", true },
        { "[[7 paintings]]", true },
        { "3/12", true },
        { "45.5%", true },
        { "x2", true },
        { "x0.5", true },
        { "Pintaro", true },
        { "Go To Gallery", true, Place::Sheet },
        { "Go To Gallery", false },
        { "Movie Export", true, Place::Alert },
        { "Movie Export", false },
        { "OK", false, Place::Sheet },
        { "", true },
        { "Cancel", false },
        { "[[Save]] Painting", false },
        { "[[%d paintings]]", false },
        { "%1/%2", false },
        { "[[Recent color %1]]", false },
        { "x2 faster", false },
        { "<b>Gallery</b>", false },
        { "<b>[[Gallery]]</b>", true },
        { "Größe", false },
    };
    for (const VerdictCase& c : cases)
        EXPECT_EQ(!fault(QString::fromUtf8(c.text), c.place).has_value(), c.fine) << c.text << " in place " << int(c.place);
}
