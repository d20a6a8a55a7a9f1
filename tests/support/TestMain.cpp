#include <QGuiApplication>
#include <gtest/gtest.h>

// Every test program runs with a QGuiApplication so that images, fonts and
// the main queue behave as they do in the program.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
