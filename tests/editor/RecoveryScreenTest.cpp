#include "EditorTestSupport.h"

#include "Classes/editor/RecoveryAlert.h"
#include "Classes/model/PaintingManager.h"
#include "Classes/model/PaintingRecovery.h"
#include "Classes/model/StrokeFile.h"

#include <QDir>
#include <functional>

namespace {

// The program started again on the same Documents folder while the first
// one is left as it was, as if it had died there.
struct Restarted : AppDriver {
    Restarted()
        : AppDriver(app)
    {
        delegate.applicationDidFinishLaunching(QSize(768, 1024));
        QCoreApplication::processEvents();
        // The recovery has been read and any question asked.
        PaintingRecovery::waitUntilWritten();
        platform::DispatchQueue::mainQueue().waitUntilIdle();
    }
    ~Restarted()
    {
        PaintingRecovery::waitUntilWritten();
        platform::DispatchQueue::global().waitUntilIdle();
        platform::DispatchQueue::mainQueue().waitUntilIdle();
    }
    PintaroAppDelegate app;
};

std::vector<uint8_t> canvasOf(const Painting& painting)
{
    const Layer& layer = *painting.activeLayer();
    const auto* memory = layer.layerBitmapBuffer();
    return { memory, memory + static_cast<size_t>(layer.width() * layer.height() * 4) };
}

bool recoveryIsThere()
{
    PaintingRecovery::waitUntilWritten();
    return QDir(PaintingRecovery::recoveryFolder()).exists();
}

// Leaves the first program as a crash would: its window gone, nothing saved or given up.
void dies(RunningApp& app)
{
    ASSERT_TRUE(PaintingRecovery::waitUntilWritten());
    app.window().hide();
}

}

TEST(RecoveryScreen, RestoringAtStartOpensThePaintingAsItWasUnsavedAndSavingItRemovesTheRecovery)
{
    RunningApp before;
    before.openEditorWithDrawing();
    drawStroke(before.canvas(), 2);
    const std::vector<uint8_t> strokes = encodeStrokeFile(before.painting());
    const std::vector<uint8_t> canvas = canvasOf(before.painting());
    dies(before);

    Restarted after;
    platform::ui::AlertView* alert = after.alert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->tag(), recoveryAlertTag);
    EXPECT_EQ(alert->title(), "Bring your painting back?");
    after.answer("Restore");
    ASSERT_EQ(after.navigation().topViewController(), &after.editor());
    Painting& restored = after.painting();
    EXPECT_EQ(encodeStrokeFile(restored), strokes);
    EXPECT_TRUE(canvasOf(restored) == canvas);
    EXPECT_TRUE(restored.notSaved());
    EXPECT_EQ(after.editor().paintingInfo(), nullptr);
    EXPECT_TRUE(recoveryIsThere());

    // Drawing on keeps the recovery up to date; saving removes it.
    drawStroke(after.canvas(), 3);
    ASSERT_TRUE(PaintingRecovery::waitUntilWritten());
    EXPECT_EQ(PaintingRecovery::loadRecoveredPainting(PaintingRecovery::recoveryFolder())->activeLayer()->getStrokeNumber(), 4);
    click(after.find("galleryButton"));
    after.answer("Save Painting");
    ASSERT_TRUE(after.waitForSave());
    EXPECT_FALSE(recoveryIsThere());
    PaintingManager saved;
    saved.initPaintingManager();
    EXPECT_EQ(saved.paintingList().size(), 1u);
}

TEST(RecoveryScreen, OnlyAnUnsavedPaintingOfTwoStrokesOrMoreIsOfferedAndDecliningRemovesIt)
{
    struct Case {
        const char* name;
        // What the child does in the first program before it dies.
        std::function<void(RunningApp&)> draw;
        bool offered;
    };
    auto leave = [](RunningApp& app, const char* button, const char* answer) {
        click(app.find(button));
        app.answer(answer);
        app.waitForSave();
    };
    const Case cases[] = {
        { "three strokes", [](RunningApp& app) { app.openEditorWithDrawing(); drawStroke(app.canvas(), 2); }, true },
        { "one stroke", [](RunningApp& app) { click(app.find("newDoodleButton")); drawStroke(app.canvas()); }, false },
        { "two strokes, one undone", [](RunningApp& app) { app.openEditorWithDrawing(); click(app.find("undoButton")); }, false },
        { "discarded on leaving", [&](RunningApp& app) { app.openEditorWithDrawing(); leave(app, "galleryButton", "Discard Painting"); }, false },
        { "saved on leaving", [&](RunningApp& app) { app.openEditorWithDrawing(); leave(app, "galleryButton", "Save Painting"); }, false },
        { "saved, then a stroke undone",
            [&](RunningApp& app) {
                app.openEditorWithDrawing();
                drawStroke(app.canvas(), 2);
                leave(app, "newButton", "Save Painting"); // the painting stays in the editor
                click(app.find("undoButton"));
                EXPECT_EQ(app.painting().activeLayer()->getStrokeNumber(), 2);
            },
            false },
        { "given up for a new painting",
            [&](RunningApp& app) {
                app.openEditorWithDrawing();
                leave(app, "newButton", "Discard Painting");
                click(app.find("horizMirrorButton"));
                drawStroke(app.canvas());
            },
            false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunningApp before;
        c.draw(before);
        dies(before);
        {
            Restarted after;
            EXPECT_EQ(after.alert() != nullptr, c.offered);
            // What is not offered is not kept either.
            EXPECT_EQ(recoveryIsThere(), c.offered);
            if (!after.alert())
                continue;
            after.answer("Discard");
            EXPECT_EQ(after.navigation().topViewController(), &after.home());
            EXPECT_FALSE(recoveryIsThere());
        }
        Restarted again;
        EXPECT_EQ(again.alert(), nullptr);
    }
}

TEST(RecoveryScreen, TheKeysOfTheAlertKeepThePaintingNeverGiveItUp)
{
    for (Qt::Key key : { Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space }) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        RunningApp before;
        before.openEditorWithDrawing();
        dies(before);
        Restarted after;
        ASSERT_NE(after.alert(), nullptr);
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : after.alert(), key);
        QCoreApplication::processEvents();
        EXPECT_EQ(after.alert(), nullptr);
        EXPECT_EQ(after.navigation().topViewController(), &after.editor());
        EXPECT_EQ(after.painting().activeLayer()->getStrokeNumber(), 2);
        EXPECT_TRUE(recoveryIsThere());
    }
}
