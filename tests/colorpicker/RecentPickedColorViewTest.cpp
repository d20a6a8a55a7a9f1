#include "Classes/colorpicker/RecentPickedColorDelegate.h"
#include "Classes/colorpicker/RecentPickedColorView.h"
#include "PickerTestSupport.h"
#include "platform/system/Device.h"

#include <QAbstractButton>
#include <QTest>
#include <vector>

using platform::Color;

namespace {

struct PickedIndices final : RecentPickedColorDelegate {
    std::vector<int> picked;
    void recentColorPicked(int index) override { picked.push_back(index); }
};

std::shared_ptr<std::vector<HSVColor>> rainbow(float saturation)
{
    auto colors = std::make_shared<std::vector<HSVColor>>();
    for (int i = 0; i < 10; ++i)
        colors->emplace_back(i * 0.1f, saturation, 1, 1);
    return colors;
}

}

TEST(RecentColors, PressedButtonReportsItsPlaceAndShowsItsColour)
{
    QWidget window;
    window.resize(240, 140);
    auto* view = new RecentPickedColorView(&window);
    view->setGeometry(20, 20, 200, 100);
    PickedIndices delegate;
    view->setDelegate(&delegate);
    view->initWithColorArray(rainbow(1));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    // Clicks arrive at the window, which hands them to the button underneath:
    // two rows of four buttons of 42 by 45 points (whole points) with 10-point gaps.
    for (QPoint p : { QPoint(62, 65), QPoint(10, 10), QPoint(166, 65) })
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, view->mapTo(&window, p));
    EXPECT_EQ(delegate.picked, (std::vector<int> { 5, 0, 7 }));
    // A press that ends in the gap between buttons is no choice.
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, view->mapTo(&window, QPoint(47, 50)));
    EXPECT_EQ(delegate.picked.size(), 3u);

    const QPoint inside(125, 22); // the third button, from x 104
    EXPECT_TRUE(pixelIs(shownImage(*view), inside.x(), inside.y(), Color::hsba(0.2f, 1, 1)));
    EXPECT_TRUE(pixelIs(shownImage(*view), 124, 0, Color::white(), 40));

    // New colours repaint the same buttons; only the first eight are shown.
    view->updateWithColorArray(rainbow(0.3f));
    EXPECT_TRUE(pixelIs(shownImage(*view), inside.x(), inside.y(), Color::hsba(0.2f, 0.3f, 1)));
    EXPECT_EQ(view->findChildren<QAbstractButton*>().size(), 8);
}

TEST(RecentColors, SwatchPictureIsOpaqueAtTheScreensScale)
{
    platform::ScopedDeviceProfile retina(platform::DeviceProfile::retinaPhone());
    const Color plum = Color::rgba(0.5f, 0.2f, 0.45f, 0.5f);
    const platform::Image image = RecentPickedColorView::createImageWithColor(plum, { 40, 30 });
    ASSERT_EQ(image.pixelWidth(), 80);
    ASSERT_EQ(image.pixelHeight(), 60);
    EXPECT_EQ(image.size(), (platform::Size { 40, 30 }));
    const QImage pixels = image.qimage().convertToFormat(QImage::Format_ARGB32);
    // A half-transparent colour is laid over the opaque (black) ground.
    EXPECT_TRUE(pixelIs(pixels, 40, 30, Color::rgba(0.25f, 0.1f, 0.225f)));
    EXPECT_TRUE(pixelIs(pixels, 40, 0, Color::white()));
    EXPECT_TRUE(pixelIs(pixels, 0, 59, Color::white(), 60));
    for (auto [x, y] : { std::pair { 0, 0 }, { 79, 59 }, { 79, 0 } })
        EXPECT_EQ(pixels.pixelColor(x, y).alpha(), 255);
}
