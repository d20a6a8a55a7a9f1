#include "EditorTestSupport.h"

#include "platform/ui/PhotoPicker.h"
#include "platform/ui/Popover.h"

#include <QFile>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QAbstractItemView>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QLineEdit>
#include <gtest/gtest.h>

using platform::DeviceProfile;

namespace {

// A Pictures folder with one good photo and one file that only looks like one.
struct ScopedPictures final {
    ScopedPictures()
    {
        qputenv("PINTARO_PICTURES", folder.path().toUtf8());
        QImage photo(400, 300, QImage::Format_RGB32);
        photo.fill(QColor(200, 30, 40));
        photo.save(path("photo.png"));
        QFile broken(path("broken.png"));
        broken.open(QIODevice::WriteOnly);
        broken.write("\x89PNG\r\n\x1a\n this is not a picture");
    }
    ~ScopedPictures() { qunsetenv("PINTARO_PICTURES"); }
    QString path(const char* name) const { return folder.filePath(name); }
    QTemporaryDir folder;
};

QFileDialog* pickerIn(RunningApp& app)
{
    auto* dialog = app.window().findChild<QFileDialog*>("photoPicker");
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

void choose(QFileDialog& dialog, const QString& path)
{
    // The chooser reads its folder in the background.
    // The chooser shows its files as a list or as a table, whichever is up.
    QAbstractItemView* list = dialog.findChild<QAbstractItemView*>("treeView");
    if (!list || !list->isVisible())
        list = dialog.findChild<QAbstractItemView*>("listView");
    ASSERT_NE(list, nullptr);
    auto* files = qobject_cast<QFileSystemModel*>(list->model());
    ASSERT_NE(files, nullptr);
    QRect item;
    ASSERT_TRUE(waitUntil([&] {
        item = list->visualRect(files->index(path));
        return item.isValid() && list->viewport()->rect().contains(item.center());
    }, 5000));
    // The file is clicked in the list, then the Open button.
    clickAt(*dialog.window(), list->viewport()->mapTo(dialog.window(), item.center()));
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QAbstractButton* open = nullptr;
    for (QAbstractButton* button : buttons->buttons())
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
            open = button;
    ASSERT_NE(open, nullptr);
    ASSERT_TRUE(waitUntil([&] { return open->isEnabled(); }, 2000));
    click(*open);
}

}

TEST(EditorPhoto, APickedPhotoBecomesTheBackgroundAndABrokenOneChangesNothing)
{
    ScopedPictures pictures;
    for (const DeviceProfile& profile : { DeviceProfile::tablet(), DeviceProfile::phone() }) {
        SCOPED_TRACE(profile.name);
        RunningApp app(profile);
        click(app.find("newDoodleButton"));
        drawStroke(app.canvas());
        const bool pad = profile.idiom == platform::InterfaceIdiom::Pad;
        if (!pad) {
            click(app.find("newButton"));
            ASSERT_TRUE(app.shows("mirrixModeToolbar")) << "the phone keeps the photo beside the mirror modes";
        }

        // A file that does not decode: an alert, and the painting stays.
        click(app.find("photoBarButton"));
        QFileDialog* dialog = pickerIn(app);
        ASSERT_NE(dialog, nullptr);
        if (pad)
            EXPECT_LT(dialog->width(), app.window().width()) << "in a popover";
        choose(*dialog, pictures.path("broken.png"));
        EXPECT_EQ(pickerIn(app), nullptr);
        ASSERT_NE(app.alert(), nullptr);
        EXPECT_EQ(app.alert()->title(), "This picture could not be opened");
        click(*app.alert()->button(0));
        EXPECT_EQ(app.painting().activeLayer()->strokeList().size(), 1u);
        EXPECT_FALSE(app.painting().backgroundImage().has_value());

        // A real photo: a new painting of the same size over it.
        click(app.find("photoBarButton"));
        ASSERT_NE(pickerIn(app), nullptr);
        choose(*pickerIn(app), pictures.path("photo.png"));
        EXPECT_EQ(app.alert(), nullptr);
        ASSERT_TRUE(app.painting().backgroundImage().has_value());
        const QImage& background = app.painting().backgroundImage()->qimage();
        EXPECT_EQ(app.painting().width(), int(profile.screenSize.width));
        EXPECT_EQ(background.pixelColor(background.width() / 2, background.height() / 2), QColor(200, 30, 40));
        EXPECT_TRUE(app.painting().activeLayer()->strokeList().empty());
        EXPECT_EQ(app.editor().paintingInfo(), nullptr);
    }
}

TEST(EditorPhoto, CancellingOrHavingNoPicturesFolderLeavesThePaintingAlone)
{
    ScopedPictures pictures;
    RunningApp app;
    click(app.find("newDoodleButton"));
    drawStroke(app.canvas());
    Painting* painting = &app.painting();

    click(app.find("photoBarButton"));
    ASSERT_NE(pickerIn(app), nullptr);
    clickAt(app.window(), QPoint(700, 100)); // outside the popover
    EXPECT_EQ(pickerIn(app), nullptr);
    click(app.find("photoBarButton"));
    ASSERT_NE(pickerIn(app), nullptr);
    QTest::keyClick(pickerIn(app)->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Escape);
    EXPECT_EQ(pickerIn(app), nullptr);
    EXPECT_EQ(&app.painting(), painting);
    EXPECT_EQ(app.painting().activeLayer()->strokeList().size(), 1u);

    qputenv("PINTARO_PICTURES", pictures.path("missing").toUtf8());
    click(app.find("photoBarButton"));
    EXPECT_EQ(pickerIn(app), nullptr);
    ASSERT_NE(app.alert(), nullptr);
    EXPECT_EQ(app.alert()->title(), "Error accessing media");
    EXPECT_EQ(app.alert()->button(0)->text(), "Drat!");
}

TEST(EditorPhoto, APhotoRequestOnAnUnsavedPaintingEndsAtTheMirrorModesWhichStartAPlainPainting)
{
    ScopedPictures pictures;
    RunningApp app;
    app.openEditorWithDrawing();
    click(app.find("photoBarButton"));
    app.answerSheet("Discard Painting");
    EXPECT_TRUE(app.shows("mirrixModeToolbar"));
    EXPECT_TRUE(app.editor().isNewPaintingWithPhoto());
    EXPECT_EQ(pickerIn(app), nullptr);
    click(app.find("mirrixFiveButton"));
    EXPECT_FALSE(app.editor().isNewPaintingWithPhoto());
    EXPECT_EQ(pickerIn(app), nullptr);
    EXPECT_FALSE(app.painting().backgroundImage().has_value());
    EXPECT_EQ(app.painting().mirrixMode(), 5);
}

TEST(PhotoDecoding, HugeAndBrokenFilesGiveNoImageAndLargeOnesAreScaledDown)
{
    QTemporaryDir folder;
    QImage wide(platform::ui::PhotoPicker::maximumSide * 2, 16, QImage::Format_RGB32);
    wide.fill(Qt::blue);
    ASSERT_TRUE(wide.save(folder.filePath("wide.png")));
    std::optional<QImage> decoded = platform::ui::PhotoPicker::decode(folder.filePath("wide.png"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width(), platform::ui::PhotoPicker::maximumSide);

    // A header that claims a picture far too large to allocate.
    QFile huge(folder.filePath("huge.bmp"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    QByteArray header(54, '\0');
    auto put32 = [&](int at, quint32 v) { for (int i = 0; i < 4; ++i) header[at + i] = char((v >> (8 * i)) & 0xff); };
    header[0] = 'B';
    header[1] = 'M';
    put32(2, 54 + 64);
    put32(10, 54);
    put32(14, 40);
    put32(18, 60000);
    put32(22, 60000);
    header[26] = 1;
    header[28] = 32;
    huge.write(header);
    huge.write(QByteArray(64, '\x7f'));
    huge.close();
    EXPECT_FALSE(platform::ui::PhotoPicker::decode(folder.filePath("huge.bmp")));
    EXPECT_FALSE(platform::ui::PhotoPicker::decode(folder.filePath("nothing-here.png")));
}
