#include "PackageTestSupport.h"
#include "platform/ui/Localized.h"
#include "platform/ui/Translation.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The texts the build gathered from the code with lupdate.
QMap<QString, TranslatedText> gatheredTexts()
{
    std::optional<QMap<QString, TranslatedText>> texts = readTranslationFile(QStringLiteral(PINTARO_TEXTS_TS));
    return texts.value_or(QMap<QString, TranslatedText> {});
}

// The number places of a text ("%d", "%1", ...), sorted.
QStringList numberPlaces(const QString& text)
{
    static const QRegularExpression place(QStringLiteral("%(\\d+|[a-z])"));
    QStringList places;
    for (const QRegularExpressionMatch& match : place.globalMatch(text))
        places << match.captured();
    places.sort();
    return places;
}

// Puts the language back to English after each test.
class Translated : public testing::Test {
protected:
    void TearDown() override { platform::ui::installTranslation(QStringLiteral("en")); }
};

}

TEST(TranslationFiles, EveryTextOfTheProgramIsTranslatedIntoEveryLanguage)
{
    const QMap<QString, TranslatedText> texts = gatheredTexts();
    // The home screen alone has more texts than this.
    ASSERT_GT(texts.size(), 20) << "the build's list of texts " PINTARO_TEXTS_TS " is missing or nearly empty";
    for (const QString& language : translatedLanguages()) {
        std::optional<QMap<QString, TranslatedText>> translated = readTranslationFile(translationFile(language));
        ASSERT_TRUE(translated) << translationFile(language).toStdString();
        QStringList missing;
        for (const QString& text : texts.keys()) {
            if (!translated->contains(text) || !translated->value(text).finished)
                missing << text;
        }
        EXPECT_TRUE(missing.isEmpty()) << language.toStdString() << " lacks (build the target pintaro_update_translations, then translate):\n  "
                                       << missing.join(QStringLiteral("\n  ")).toStdString();
    }
}

TEST(TranslationFiles, TranslationsKeepEveryNumberPlace)
{
    for (const QString& language : translatedLanguages()) {
        std::optional<QMap<QString, TranslatedText>> translated = readTranslationFile(translationFile(language));
        ASSERT_TRUE(translated);
        for (auto it = translated->cbegin(); it != translated->cend(); ++it) {
            if (!it->finished)
                continue;
            EXPECT_EQ(numberPlaces(it.key()), numberPlaces(it->translation))
                << language.toStdString() << ": \"" << it.key().toStdString() << "\" -> \"" << it->translation.toStdString() << "\"";
        }
    }
}

TEST_F(Translated, FormatsShowTheirNumbersInEveryLanguage)
{
    QStringList formats;
    for (const QString& text : gatheredTexts().keys()) {
        if (text.contains(QLatin1String("%d")))
            formats << text;
    }
    ASSERT_FALSE(formats.isEmpty());
    QStringList languages = translatedLanguages();
    languages << QStringLiteral("en");
    for (const QString& language : languages) {
        ASSERT_EQ(platform::ui::installTranslation(language), language);
        for (const QString& format : formats) {
            const QByteArray english = format.toUtf8();
            const long long numbers[] = { 4271, 8, 96 };
            const int count = int(format.count(QLatin1String("%d")));
            ASSERT_LE(count, 3);
            QString shown;
            if (count == 1)
                shown = platform::ui::localizedFormat(english.constData(), { numbers[0] });
            else if (count == 2)
                shown = platform::ui::localizedFormat(english.constData(), { numbers[0], numbers[1] });
            else
                shown = platform::ui::localizedFormat(english.constData(), { numbers[0], numbers[1], numbers[2] });
            SCOPED_TRACE(language.toStdString() + ": " + shown.toStdString());
            EXPECT_FALSE(shown.contains(QLatin1Char('%')));
            for (int i = 0; i < count; ++i)
                EXPECT_TRUE(shown.contains(QString::number(numbers[i])));
        }
    }
}

TEST_F(Translated, InstallingALanguageChangesTheTextsLookedUpAndEnglishBringsThemBack)
{
    struct LanguageCase {
        const char* language;
        const char* cancel;
    };
    const LanguageCase cases[] = { { "de", "Abbrechen" }, { "fr", "Annuler" }, { "es", "Cancelar" }, { "en", "Cancel" } };
    for (const LanguageCase& c : cases) {
        EXPECT_EQ(platform::ui::installTranslation(QString::fromLatin1(c.language)), QString::fromLatin1(c.language));
        EXPECT_EQ(platform::ui::localized("Cancel"), QString::fromUtf8(c.cancel)) << c.language;
    }
    // A language the program lacks leaves the texts in English.
    platform::ui::installTranslation(QStringLiteral("de"));
    EXPECT_EQ(platform::ui::installTranslation(QStringLiteral("tlh")), QStringLiteral("en"));
    EXPECT_EQ(platform::ui::localized("Cancel"), QStringLiteral("Cancel"));
}

TEST(Languages, TheSystemLocaleChoosesTheClosestLanguageTheProgramHas)
{
    struct LocaleCase {
        const char* locale;
        const char* language;
    };
    const LocaleCase cases[] = {
        { "de_DE", "de" }, { "de_AT", "de" }, { "de_CH", "de" }, { "fr_FR", "fr" }, { "fr_CA", "fr" },
        { "es_ES", "es" }, { "es_MX", "es" }, { "en_GB", "en" }, { "it_IT", "en" }, { "pt_BR", "en" },
        { "C", "en" },
    };
    for (const LocaleCase& c : cases)
        EXPECT_EQ(platform::ui::languageForLocale(QLocale(QString::fromLatin1(c.locale))), QString::fromLatin1(c.language)) << c.locale;
}

TEST(Languages, WishesAreMatchedByLanguageAndRegion)
{
    struct WishCase {
        const char* wish;
        std::optional<const char*> language;
    };
    const WishCase cases[] = {
        { "de", "de" }, { "DE", "de" }, { "de_AT", "de" }, { "de-AT", "de" }, { "de_DE.UTF-8", "de" }, { "fr_FR@euro", "fr" },
        { " es ", "es" }, { "en_US", "en" }, { "C", "en" }, { "POSIX", "en" },
        { "", std::nullopt }, { "d", std::nullopt }, { "deu", std::nullopt }, { "xx_DE", std::nullopt }, { "_", std::nullopt },
    };
    for (const WishCase& c : cases) {
        std::optional<QString> matched = platform::ui::matchLanguage(QString::fromLatin1(c.wish));
        ASSERT_EQ(matched.has_value(), c.language.has_value()) << '"' << c.wish << '"';
        if (matched) {
            EXPECT_EQ(*matched, QString::fromLatin1(*c.language)) << c.wish;
        }
    }
    QStringList available = platform::ui::availableLanguages();
    QStringList expected = translatedLanguages();
    expected << QStringLiteral("en");
    std::sort(available.begin(), available.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(available, expected);
}
