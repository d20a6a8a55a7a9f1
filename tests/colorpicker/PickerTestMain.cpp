#include "platform/ui/Animation.h"

#include <QApplication>
#include <gtest/gtest.h>

// The picker's tests show real widgets, which need a QApplication rather than
// the QGuiApplication the engine's tests run under; this main takes the place
// of the shared one. Slides and fades finish at once unless a test asks.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::ui::setAnimationsEnabled(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
