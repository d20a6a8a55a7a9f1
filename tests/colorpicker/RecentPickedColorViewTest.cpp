#include "Classes/colorpicker/RecentPickedColorDelegate.h"
#include "Classes/colorpicker/RecentPickedColorView.h"
#include "PickerTestSupport.h"
#include "platform/system/Device.h"

#include <QAbstractButton>
#include <QTest>
#include <vector>

using platform::Color;
using platform::Rect;

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

TEST(RecentColors, ButtonsSitInTwoRowsOfFourWithTenPointGaps)
{
    RecentPickedColorView view;
    const struct {
        int width, height;
        Rect first, sixth;
    } cases[] = {
        // (200 - 30) / 4 = 42.5 and (100 - 10) / 2 = 45, whole points only.
        { 200, 100, Rect(0, 0, 42, 45), Rect(52, 55, 42, 45) },
        { 31, 11, Rect(0, 0, 0, 0), Rect(10, 10, 0, 0) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        view.resize(c.width, c.height);
        EXPECT_EQ(view.getFrameOfButtonAtIndex(0), c.first);
        EXPECT_EQ(view.getFrameOfButtonAtIndex(5), c.sixth);
        EXPECT_EQ(view.getFrameOfButtonAtIndex(7).origin.x, 3 * (c.first.width() + 10));
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

    // Clicks arrive at the window, which hands them to the button underneath.
    for (int index : { 5, 0, 7 }) {
        const Rect frame = view->getFrameOfButtonAtIndex(index);
        const QPoint inWindow = view->mapTo(&window, QPoint(frame.x() + 10, frame.y() + 10));
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, inWindow);
    }
    EXPECT_EQ(delegate.picked, (std::vector<int> { 5, 0, 7 }));
    // A press that ends in the gap between buttons is no choice.
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, view->mapTo(&window, QPoint(47, 50)));
    EXPECT_EQ(delegate.picked.size(), 3u);

    const Rect third = view->getFrameOfButtonAtIndex(2);
    const QPoint inside(third.x() + third.width() / 2, third.y() + third.height() / 2);
    EXPECT_TRUE(pixelIs(shownImage(*view), inside.x(), inside.y(), Color::hsba(0.2f, 1, 1)));
    EXPECT_TRUE(pixelIs(shownImage(*view), third.x() + 20, third.y(), Color::white(), 40));

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
