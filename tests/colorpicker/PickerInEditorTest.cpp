#include "Classes/colorpicker/ColorPickerViewController.h"
#include "Classes/model/Stroke.h"
#include "PickerInput.h"
#include "PickerTestSupport.h"
#include "editor/EditorTestSupport.h"

#include <set>

using platform::Color;
using platform::DeviceProfile;

namespace {

// The editor with a new painting and the pen, whose line takes the brush
// colour as it is.
struct EditorWithPicker {
    RunningApp app;

    explicit EditorWithPicker(const DeviceProfile& profile)
        : app(profile)
    {
        click(app.find("newDoodleButton"));
        click(app.find("brushButton"));
        click(app.find("brushButton"));
    }

    ColorPickerViewController& openPicker()
    {
        click(app.find("colorButton"));
        auto* picker = app.window().findChild<ColorPickerViewController*>("ColorPickerViewController");
        EXPECT_TRUE(picker && picker->isVisible());
        return *picker;
    }
    static QWidget& part(ColorPickerViewController& picker, const char* name)
    {
        return *picker.findChild<QWidget*>(name);
    }
    // A solid colour chosen on the palette and the bar with the finger, then OK.
    Color chooseSolidColor(QPoint onPalette, int onBar)
    {
        ColorPickerViewController& picker = openPicker();
        if (picker.isRandomColorSelected())
            click(part(picker, "randomColorSwitch"));
        QWidget& palette = part(picker, "hueSaturationPallete");
        QWidget& bar = part(picker, "brightnessPallete");
        Finger(app.window(), Input::Touch).drag({ onWindow(palette, { 4, 4 }), onWindow(palette, onPalette) });
        Finger(app.window(), Input::Pen).drag({ onWindow(bar, { 4, 4 }), onWindow(bar, { onBar, 10 }) });
        const Color chosen = picker.selectedColor();
        click(part(picker, "okButton"));
        EXPECT_TRUE(waitUntil([&picker] { return !picker.isVisible(); }));
        return chosen;
    }

    // How many of the canvas's shown pixels have the colour.
    int pixelsOf(const Color& color)
    {
        const QImage shown = shownImage(app.canvas());
        const QColor wanted = color.toQColor();
        const auto near = [](int a, int b) { return std::abs(a - b) <= 3; };
        int count = 0;
        for (int y = 0; y < shown.height(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(shown.constScanLine(y));
            for (int x = 0; x < shown.width(); ++x) {
                if (near(qRed(row[x]), wanted.red()) && near(qGreen(row[x]), wanted.green()) && near(qBlue(row[x]), wanted.blue()))
                    ++count;
            }
        }
        return count;
    }
    QRgb strokeColor(size_t index)
    {
        const auto& strokes = app.painting().activeLayer()->strokeList();
        const brush_meta& meta = strokes.at(index)->strokePoints().front().brushData();
        return qRgb(meta.red, meta.green, meta.blue);
    }
};

}

TEST(PickerInEditor, NextStrokeDrawsInTheChosenColourUntilRandomIsChosenAgain)
{
    for (const DeviceProfile& profile : { DeviceProfile::tablet(), DeviceProfile::phone() }) {
        SCOPED_TRACE(profile.name);
        EditorWithPicker editor(profile);

        const Color chosen = editor.chooseSolidColor({ 70, 120 }, 210);
        EXPECT_EQ(editor.pixelsOf(chosen), 0);
        drawStroke(editor.app.canvas(), 0);
        const int drawn = editor.pixelsOf(chosen);
        EXPECT_GT(drawn, 200) << "the stroke is drawn in the chosen colour";

        // Another colour on the palette, then Cancel: the brush keeps the first.
        ColorPickerViewController& picker = editor.openPicker();
        QWidget& palette = EditorWithPicker::part(picker, "hueSaturationPallete");
        Finger(editor.app.window(), Input::Mouse).drag({ onWindow(palette, { 4, 4 }), onWindow(palette, { 250, 40 }) });
        const Color cancelled = picker.selectedColor();
        click(EditorWithPicker::part(picker, "cancelButton"));
        ASSERT_TRUE(waitUntil([&picker] { return !picker.isVisible(); }));
        drawStroke(editor.app.canvas(), 2);
        EXPECT_GT(editor.pixelsOf(chosen), drawn + 200);
        EXPECT_EQ(editor.pixelsOf(cancelled), 0);

        // Random again: every stroke takes a colour of its own once more.
        ColorPickerViewController& again = editor.openPicker();
        EXPECT_EQ(&again, &picker) << "the same picker, kept";
        click(EditorWithPicker::part(again, "randomColorSwitch"));
        click(EditorWithPicker::part(again, "okButton"));
        ASSERT_TRUE(waitUntil([&again] { return !again.isVisible(); }));
        for (int row = 4; row < 7; ++row)
            drawStroke(editor.app.canvas(), row);
        std::set<QRgb> colors;
        for (size_t stroke = 2; stroke < 5; ++stroke)
            colors.insert(editor.strokeColor(stroke));
        EXPECT_EQ(colors.size(), 3u) << "three strokes, three random colours";
        EXPECT_FALSE(colors.count(editor.strokeColor(0))) << "none of them the solid colour";
    }
}
