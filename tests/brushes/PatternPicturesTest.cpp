#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <string>
#include <vector>

// The pattern brushes load their pictures by file name from the resources.
TEST(PatternPicturesTest, EveryPictureOfThePatternTableLoadsAsGreyscaleInk)
{
    std::vector<std::string> names { "mac_brush_1.png", "crayon_1.png", "chalk_thin_1.png" };
    for (int i = 1; i <= 19; ++i)
        names.push_back("brush_" + std::to_string(i) + ".png");

    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        QImage picture(QString::fromStdString(":/patterns/" + name));
        ASSERT_FALSE(picture.isNull());
        EXPECT_TRUE(picture.isGrayscale());
        EXPECT_EQ(picture.width(), picture.height());
        // Some paint in the middle region, paper at the corners, so a stamp
        // neither vanishes nor fills its whole square.
        QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
        int darkPixels = 0;
        for (int y = 0; y < grey.height(); ++y)
            for (int x = 0; x < grey.width(); ++x)
                darkPixels += grey.constScanLine(y)[x] < 128;
        EXPECT_GT(darkPixels, grey.width() * grey.height() / 20);
        EXPECT_EQ(qGray(picture.pixel(0, 0)), 255);
        EXPECT_EQ(qGray(picture.pixel(picture.width() - 1, picture.height() - 1)), 255);
    }
}
