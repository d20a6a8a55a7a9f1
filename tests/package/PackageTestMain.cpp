#include "platform/ui/Animation.h"

#include <QApplication>
#include <gtest/gtest.h>

// The screens run in a widget application; every slide finishes at once.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::ui::setAnimationsEnabled(false);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
