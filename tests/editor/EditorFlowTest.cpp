#include "EditorTestSupport.h"
#include "support/ScopedFileSizeLimit.h"

#include "Classes/editor/ProgressSpin.h"
#include "Classes/movie/VideoEncodeController.h"
#include "platform/ui/BarButton.h"
#include "platform/ui/Toolbar.h"

#include <gtest/gtest.h>

using platform::DeviceProfile;

TEST(EditorBrushes, BrushButtonCyclesEveryRowAndTheEraserGivesWayToTheLastCycledBrush)
{
    RunningApp app;
    click(app.find("newDoodleButton"));
    std::vector<int> visited;
    for (int i = 0; i < 8; ++i) {
        click(app.find("brushButton"));
        visited.push_back(app.painting().brushType());
    }
    EXPECT_EQ(visited, (std::vector<int> { 16, 13, 11, 34, 64, 24, 51, 37 }));
    EXPECT_EQ(PintaroViewController::sharedState().indexOfSelectedBrush, 0u);

    click(app.find("brushButton")); // shape
    click(app.find("eraserButton"));
    EXPECT_EQ(app.painting().brushType(), Painting::rubberBrushType);
    click(app.find("brushButton"));
    EXPECT_EQ(app.painting().brushType(), 16) << "back to the last brush, without advancing";
    click(app.find("brushButton"));
    EXPECT_EQ(app.painting().brushType(), 13);

    // A new painting never starts with the eraser, but with the brush before it.
    click(app.find("eraserButton"));
    click(app.find("newButton"));
    click(app.find("mirrixNineButton"));
    EXPECT_EQ(app.painting().brushType(), 13);
}

TEST(EditorNewPainting, KeepsSizeCropAndBrushGetsARandomBackgroundAndIsNotListedUntilSaved)
{
    for (const DeviceProfile& profile : { DeviceProfile::tablet(), DeviceProfile::phone() }) {
        RunningApp app(profile);
        click(app.find("newDoodleButton"));
        EXPECT_EQ(app.painting().width(), int(profile.screenSize.width));
        EXPECT_EQ(app.painting().height(), int(profile.screenSize.height) - platform::ui::Toolbar::height);
        click(app.find("brushButton"));
        drawStroke(app.canvas());
        app.painting().setCropRect(platform::Rect(0, 0, 96, 128));

        click(app.find("newButton")); // one stroke only: nothing to ask
        EXPECT_EQ(app.sheet(), nullptr);
        ASSERT_TRUE(app.shows("mirrixModeToolbar"));
        std::set<QRgb> backgrounds;
        for (const char* mode : { "mirrixFourButton", "horizMirrorButton", "fan5Button" }) {
            click(app.find(mode));
            EXPECT_TRUE(app.painting().activeLayer()->strokeList().empty());
            EXPECT_EQ(app.painting().width(), int(profile.screenSize.width));
            EXPECT_EQ(app.painting().cropRect(), platform::Rect(0, 0, 96, 128));
            EXPECT_EQ(app.painting().brushType(), 16);
            EXPECT_EQ(app.editor().paintingInfo(), nullptr);
            EXPECT_TRUE(app.shows("mirrixModeToolbar")) << "each further choice starts another painting";
            backgrounds.insert(app.painting().backgroundColor().toQColor().rgb());
        }
        EXPECT_EQ(app.painting().mirrixMode(), 10);
        EXPECT_GT(backgrounds.size(), 1u);
        EXPECT_EQ(app.listed(), 0u);
        drawStroke(app.canvas());
        EXPECT_FALSE(app.shows("mirrixModeToolbar")) << "the next touch puts the modes away";
    }
}

// Each answer of each save-or-discard and export sheet, through clicks and keys.
TEST(EditorSheets, EveryAnswerDoesWhatItSays)
{
    struct Case {
        const char* opener; // the toolbar button that opens the sheet
        std::vector<QString> answers; // sheet buttons pressed in turn ("Escape" for the key)
        bool mirrorModesShown;
        bool leftTheScreen;
        bool saved;
    };
    const Case cases[] = {
        { "newButton", { "Cancel" }, false, false, false },
        { "newButton", { "Escape" }, false, false, false },
        { "newButton", { "Discard Painting" }, true, false, false },
        { "newButton", { "Save Painting" }, true, false, true },
        { "galleryButton", { "Cancel" }, false, false, false },
        { "galleryButton", { "Discard Painting" }, false, true, false },
        { "galleryButton", { "Save Painting" }, false, true, true },
        { "exportButton", { "Cancel" }, false, false, false },
        { "exportButton", { "Go To Gallery", "Cancel" }, false, false, false },
        { "exportButton", { "Go To Gallery", "Discard Painting" }, false, true, false },
        { "exportButton", { "Go To Gallery", "Save Painting" }, false, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.opener) + " " + c.answers.back().toStdString());
        RunningApp app;
        app.openEditorWithDrawing();
        ASSERT_FALSE(app.shows("mirrixModeToolbar"));
        Painting* painting = &app.painting();
        click(app.find(c.opener));
        for (const QString& answer : c.answers) {
            ASSERT_NE(app.sheet(), nullptr);
            if (answer == "Escape")
                QTest::keyClick(app.sheet()->button(0), Qt::Key_Escape);
            else
                app.answer(answer);
        }
        ASSERT_TRUE(app.waitForSave());
        EXPECT_EQ(app.sheet(), nullptr);
        EXPECT_EQ(app.navigation().topViewController() != &app.editor(), c.leftTheScreen);
        if (!c.leftTheScreen) {
            EXPECT_EQ(app.shows("mirrixModeToolbar"), c.mirrorModesShown);
        }
        EXPECT_EQ(painting, &app.painting()) << "the painting changes only when a mode is picked";
        EXPECT_EQ(app.painting().isSaved(), c.saved);
        EXPECT_EQ(app.listed(), c.saved ? 1u : 0u);
        EXPECT_EQ(app.editor().paintingInfo() != nullptr, c.saved);
        if (c.saved && !c.leftTheScreen) {
            // Once saved, neither a new painting nor the gallery asks again.
            click(app.find("newButton"));
            EXPECT_EQ(app.sheet(), nullptr);
            click(app.find("galleryButton"));
            EXPECT_EQ(app.sheet(), nullptr);
            EXPECT_EQ(app.navigation().topViewController(), &app.home());
        }
    }
}

TEST(EditorSheets, ThePictureGoesToTheAlbumUnsavedAndAMovieExportSavesThePaintingAndOpensTheExportScreenWithIt)
{
    RunningApp app;
    app.openEditorWithDrawing();
    click(app.find("exportButton"));
    app.answer("Save image to photo album");
    ASSERT_TRUE(waitUntil([&] { return app.alert() != nullptr; }));
    EXPECT_EQ(app.alert()->message(), "The picture is in the photo album.");
    QDir album(app.documents.folder.filePath("Album/Pictures/Pintaro"));
    QStringList pictures = album.entryList({ "*.png" });
    ASSERT_EQ(pictures.size(), 1);
    platform::Rect crop = app.painting().cropRect();
    EXPECT_EQ(QImage(album.filePath(pictures[0])).size(), QSize(int(crop.width()), int(crop.height())));
    EXPECT_EQ(app.navigation().topViewController(), &app.editor());
    EXPECT_TRUE(app.painting().notSaved());
    click(*app.alert()->button(0));

    click(app.find("exportButton"));
    app.answer("Export movie to photo album");
    ASSERT_TRUE(waitUntil([&] { return app.navigation().topViewController() != &app.editor(); }));
    auto* exporter = dynamic_cast<VideoEncodeController*>(app.navigation().topViewController());
    ASSERT_NE(exporter, nullptr);
    ASSERT_NE(exporter->painting(), nullptr);
    EXPECT_NE(exporter->painting(), &app.painting()) << "a painting of its own, read back";
    EXPECT_EQ(exporter->painting()->activeLayer()->strokeList().size(), 2u);
    EXPECT_TRUE(app.painting().isSaved());
    EXPECT_EQ(app.listed(), 1u);
}

TEST(EditorSave, AFailedSaveSaysSoAndKeepsThePaintingUnsavedOnScreen)
{
    RunningApp app;
    app.openEditorWithDrawing();
    Painting* painting = &app.painting();
    {
        ScopedFileSizeLimit full(200);
        click(app.find("galleryButton"));
        app.answer("Save Painting");
        ASSERT_TRUE(app.waitForSave());
    }
    ASSERT_NE(app.alert(), nullptr);
    EXPECT_EQ(app.alert()->title(), "Painting could not be saved");
    click(*app.alert()->button(0));
    EXPECT_EQ(app.navigation().topViewController(), &app.editor()) << "the screen is not left";
    EXPECT_EQ(&app.painting(), painting);
    EXPECT_TRUE(app.painting().notSaved());
    EXPECT_EQ(app.editor().paintingInfo(), nullptr);
    EXPECT_FALSE(app.editor().progressSpin()->isVisible());
    size_t strokes = app.painting().activeLayer()->strokeList().size();
    drawStroke(app.canvas(), 3);
    EXPECT_EQ(app.painting().activeLayer()->strokeList().size(), strokes + 1) << "the canvas takes touches again";
}

TEST(EditorSave, TheSpinnerTurnsAndTheScreenTakesNoInputWhileALargePaintingSaves)
{
    RunningApp app;
    click(app.find("newDoodleButton"));
    Painting& painting = app.painting();
    painting.setMirrixMode(0);
    for (int s = 0; s < 300; ++s) {
        painting.strokeFrom({ float(20 + s % 600), 40 });
        for (int i = 1; i < 12; ++i)
            painting.strokeTo({ float(20 + s % 600 + i * 7), float(40 + i * 60) });
        painting.strokeEnd({ float(30 + s % 600), 800 });
    }
    click(app.find("newButton"));
    app.answer("Save Painting");
    ASSERT_TRUE(app.editor().isBusy());
    int steps = app.editor().progressSpin()->stepCount();
    size_t strokes = painting.activeLayer()->strokeList().size();
    drawStroke(app.canvas());
    click(app.find("brushButton"));
    // The window keeps turning while the files are written: no turn of its
    // event loop waits long, and the wheel moves on when the save takes a while.
    QElapsedTimer saving;
    saving.start();
    qint64 longestWait = 0;
    qint64 last = 0;
    while (app.editor().isBusy() && saving.elapsed() < 20000) {
        EXPECT_TRUE(app.editor().progressSpin()->isAnimating());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        longestWait = std::max(longestWait, saving.elapsed() - last);
        last = saving.elapsed();
    }
    ASSERT_FALSE(app.editor().isBusy());
    EXPECT_LT(longestWait, 500) << "a loaded machine may pause us, a save on this thread would for its whole length";
    if (saving.elapsed() > 250) {
        EXPECT_GT(app.editor().progressSpin()->stepCount(), steps);
    }
    EXPECT_FALSE(app.editor().progressSpin()->isAnimating());
    EXPECT_EQ(painting.activeLayer()->strokeList().size(), strokes);
    EXPECT_EQ(painting.brushType(), Painting::defaultBrushType);
    EXPECT_TRUE(painting.isSaved());
}

TEST(EditorWindow, ClosingWithAnUnsavedPaintingAsksFirst)
{
    struct Case {
        const char* answer;
        bool closed;
        size_t listed;
    };
    for (const Case& c : { Case { "Cancel", false, 0 }, Case { "Discard Painting", true, 0 }, Case { "Save Painting", true, 1 } }) {
        SCOPED_TRACE(c.answer);
        RunningApp app;
        app.openEditorWithDrawing();
        QTest::keyClick(&app.canvas(), Qt::Key_Q, Qt::ControlModifier);
        ASSERT_NE(app.sheet(), nullptr);
        EXPECT_TRUE(app.window().isVisible());
        app.answer(c.answer);
        waitUntil([&] { return !app.window().isVisible() || !app.editor().isBusy(); });
        ASSERT_TRUE(app.waitForSave());
        EXPECT_EQ(!app.window().isVisible(), c.closed);
        EXPECT_EQ(app.listed(), c.listed);
    }
    // Closed while another sheet is open: that one goes, the close question comes.
    {
        RunningApp app;
        app.openEditorWithDrawing();
        click(app.find("exportButton"));
        app.window().close();
        ASSERT_NE(app.sheet(), nullptr);
        auto sheets = app.window().findChildren<platform::ui::ActionSheet*>();
        EXPECT_EQ(std::count_if(sheets.begin(), sheets.end(), [](QWidget* sheet) { return sheet->isVisible(); }), 1);
        EXPECT_EQ(app.sheet()->title(), "Painting has not been saved. Do you want to save or discard it?");
        app.answer("Discard Painting");
        EXPECT_FALSE(app.window().isVisible());
    }
    // Closed while a save runs: the window goes once the painting is saved.
    {
        RunningApp app;
        app.openEditorWithDrawing();
        click(app.find("newButton"));
        app.answer("Save Painting");
        ASSERT_TRUE(app.editor().isBusy());
        app.window().close();
        EXPECT_TRUE(app.window().isVisible());
        ASSERT_TRUE(app.waitForSave());
        EXPECT_FALSE(app.window().isVisible());
        EXPECT_EQ(app.listed(), 1u);
    }
    // Over the phone's full-window colour picker the painting is asked about too.
    {
        RunningApp phone(DeviceProfile::phone());
        phone.openEditorWithDrawing();
        click(phone.find("colorButton"));
        ASSERT_NE(phone.editor().presentedViewController(), nullptr);
        phone.window().close();
        ASSERT_NE(phone.sheet(), nullptr);
        EXPECT_EQ(phone.editor().presentedViewController(), nullptr);
        phone.answer("Cancel");
        EXPECT_TRUE(phone.window().isVisible());
    }
    RunningApp saved;
    click(saved.find("newDoodleButton"));
    saved.window().close();
    EXPECT_FALSE(saved.window().isVisible()) << "nothing to lose, nothing to ask";
}

TEST(EditorLayout, EveryButtonIsLargeEnoughForAFingerAndNamedAndThePickerFitsTheDevice)
{
    for (const DeviceProfile& profile : { DeviceProfile::tablet(), DeviceProfile::phone() }) {
        SCOPED_TRACE(profile.name);
        RunningApp app(profile);
        click(app.find("newDoodleButton"));
        click(app.find("newButton")); // the mirror modes up
        int shown = 0;
        for (const char* state : { "drawing", "replay" }) {
            if (std::string(state) == "replay")
                click(app.find("playbackButton"));
            for (platform::ui::BarButton* button : app.editor().findChildren<platform::ui::BarButton*>()) {
                if (!button->isVisible())
                    continue;
                ++shown;
                SCOPED_TRACE(std::string(state) + " " + button->objectName().toStdString());
                EXPECT_GE(button->width(), 44);
                EXPECT_GE(button->height(), 44);
                EXPECT_FALSE(button->toolTip().isEmpty());
                EXPECT_EQ(button->accessibleName(), button->toolTip());
                QRect onScreen(button->mapTo(&app.editor(), QPoint(0, 0)), button->size());
                EXPECT_TRUE(app.editor().rect().contains(onScreen));
            }
        }
        EXPECT_GE(shown, 30) << "drawing, mirror-mode and replay buttons";
        for (const char* bar : { "paintingToolBar", "movieToolbar" })
            EXPECT_EQ(app.find(bar).height(), 44);
        click(app.find("stopButton"));

        // The colour picker comes in a popover on a tablet, over the whole window on a phone.
        click(app.find("colorButton"));
        auto* picker = app.window().findChild<QWidget*>("ColorPickerViewController");
        ASSERT_TRUE(picker && picker->isVisible());
        if (profile.idiom == platform::InterfaceIdiom::Pad) {
            EXPECT_LT(picker->width(), app.window().width());
        } else {
            EXPECT_EQ(picker->geometry(), app.window().rect());
        }
    }
}
