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
struct Restarted {
    Restarted()
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
    platform::ui::NavigationController& navigation() { return delegate.window()->navigationController(); }
    PintaroViewController& editor() { return *delegate.homeScreen()->doodleViewController(); }
    platform::ui::AlertView* alert() { return platform::ui::AlertView::current(delegate.window()); }
    template<typename T = QWidget>
    T& find(const char* name)
    {
        T* found = navigation().topViewController()->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return *found;
    }
    void answer(const QString& button)
    {
        ASSERT_NE(alert(), nullptr);
        click(*alert()->findChild<QPushButton*>(button));
    }

    PintaroAppDelegate delegate;
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
    Painting& restored = *after.editor().mPainting();
    EXPECT_EQ(encodeStrokeFile(restored), strokes);
    EXPECT_TRUE(canvasOf(restored) == canvas);
    EXPECT_TRUE(restored.notSaved());
    EXPECT_EQ(after.editor().paintingInfo(), nullptr);
    EXPECT_TRUE(recoveryIsThere());

    // Drawing on keeps the recovery up to date; saving removes it.
    drawStroke(*after.editor().doodleView(), 3);
    ASSERT_TRUE(PaintingRecovery::waitUntilWritten());
    EXPECT_EQ(PaintingRecovery::loadRecoveredPainting(PaintingRecovery::recoveryFolder())->activeLayer()->getStrokeNumber(), 4);
    click(after.find("galleryButton"));
    auto* sheet = platform::ui::ActionSheet::current(after.delegate.window());
    ASSERT_NE(sheet, nullptr);
    click(*sheet->findChild<QPushButton*>("Save Painting"));
    ASSERT_TRUE(waitUntil([&] { return !after.editor().isBusy(); }));
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
    const Case cases[] = {
        { "three strokes", [](RunningApp& app) { app.openEditorWithDrawing(); drawStroke(app.canvas(), 2); }, true },
        { "one stroke", [](RunningApp& app) { click(app.find("newDoodleButton")); drawStroke(app.canvas()); }, false },
        { "two strokes, one undone", [](RunningApp& app) { app.openEditorWithDrawing(); click(app.find("undoButton")); }, false },
        { "discarded on leaving",
            [](RunningApp& app) {
                app.openEditorWithDrawing();
                click(app.find("galleryButton"));
                app.answerSheet("Discard Painting");
            },
            false },
        { "saved on leaving",
            [](RunningApp& app) {
                app.openEditorWithDrawing();
                click(app.find("galleryButton"));
                app.answerSheet("Save Painting");
                app.waitForSave();
            },
            false },
        { "saved, then a stroke undone",
            [](RunningApp& app) {
                app.openEditorWithDrawing();
                drawStroke(app.canvas(), 2);
                // Saved where the painting stays in the editor.
                click(app.find("newButton"));
                app.answerSheet("Save Painting");
                app.waitForSave();
                click(app.find("undoButton"));
                EXPECT_EQ(app.painting().activeLayer()->getStrokeNumber(), 2);
            },
            false },
        { "given up for a new painting",
            [](RunningApp& app) {
                app.openEditorWithDrawing();
                click(app.find("newButton"));
                app.answerSheet("Discard Painting");
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
            EXPECT_EQ(after.navigation().topViewController(), after.delegate.homeScreen().get());
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
        EXPECT_EQ(after.editor().mPainting()->activeLayer()->getStrokeNumber(), 2);
        EXPECT_TRUE(recoveryIsThere());
    }
}
