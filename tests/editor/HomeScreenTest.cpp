#include "EditorTestSupport.h"

#include "Classes/editor/StoreAddresses.h"
#include "Classes/gallery/PaintingThumbnailViewController.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Stands in for the desktop's browser.
struct Browser final : QObject {
    Q_OBJECT
public:
    Browser() { QDesktopServices::setUrlHandler("https", this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler("https"); }
    QStringList opened;
public slots:
    void open(const QUrl& url) { opened << url.toString(); }
};

}

TEST(HomeScreen, EachNewPaintingReusesTheEditorWithAFreshBlackPainting)
{
    RunningApp app;
    EXPECT_EQ(app.navigation().topViewController(), &app.home());
    EXPECT_TRUE(app.navigation().isNavigationBarHidden());
    app.openEditorWithDrawing();
    PintaroViewController* editor = &app.editor();
    Painting* first = &app.painting();
    click(app.find("galleryButton"));
    app.answerSheet("Discard Painting");
    ASSERT_EQ(app.navigation().topViewController(), &app.home());

    click(app.find("newDoodleButton"));
    EXPECT_EQ(app.navigation().topViewController(), editor);
    EXPECT_NE(&app.painting(), first);
    EXPECT_EQ(app.painting().backgroundColor(), platform::Color::black());
    EXPECT_TRUE(app.painting().activeLayer()->strokeList().empty());
    EXPECT_EQ(app.editor().paintingInfo(), nullptr);
}

TEST(HomeScreen, TheGalleryIsMadeOnceAndShowsWhatTheEditorSaved)
{
    RunningApp app;
    app.openEditorWithDrawing();
    click(app.find("galleryButton"));
    app.answerSheet("Save Painting");
    ASSERT_TRUE(app.waitForSave());
    ASSERT_EQ(app.navigation().topViewController(), &app.home());
    click(app.find("galleryButton"));
    auto* gallery = app.navigation().topViewController();
    ASSERT_NE(gallery, &app.home());
    auto* grid = dynamic_cast<PaintingThumbnailViewController*>(gallery);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->imageCount(), 1);
    app.navigation().popViewController(false);
    click(app.find("galleryButton"));
    EXPECT_EQ(app.navigation().topViewController(), gallery) << "made on the first visit, then reused";
}

TEST(HomeScreen, TheRatingAlertOpensTheRatingPageOnlyForRate)
{
    struct Case {
        const char* answer;
        QStringList opened;
    };
    const Case cases[] = {
        { "Rate", { store::rateAddress } },
        { "Cancel", {} },
        { "Escape", {} },
    };
    RunningApp app;
    Browser browser;
    for (const Case& c : cases) {
        click(app.find("rateButton"));
        platform::ui::AlertView* alert = app.alert();
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->tag(), PrefaceViewController::rateAlertTag);
        EXPECT_EQ(alert->message(), "If you enjoy this game, please help rate. Thanks :)");
        if (QString(c.answer) == "Escape")
            QTest::keyClick(alert->button(0), Qt::Key_Escape);
        else
            click(*alert->findChild<QPushButton*>(c.answer));
        EXPECT_EQ(browser.opened, c.opened) << c.answer;
        browser.opened.clear();
    }
    click(app.find("moreAppsButton"));
    EXPECT_EQ(browser.opened, QStringList { store::moreAppsAddress });
}

TEST(HomeScreen, AnUncaughtErrorIsWrittenToTheLocalLog)
{
    ScopedDocuments folder;
    PintaroAppDelegate::installUncaughtExceptionHandler();
    PintaroAppDelegate::uncaughtExceptionHandler("boom");
    QFile log(PintaroAppDelegate::crashLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    QString line = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(line.contains(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d UTC Uncaught: Crash! \\(boom\\)\n$"))) << line.toStdString();
    EXPECT_TRUE(log.fileName().startsWith(folder.folder.path()));
}

#include "HomeScreenTest.moc"
