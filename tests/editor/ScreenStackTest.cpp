#include "EditorTestSupport.h"

#include "platform/ui/BarButton.h"
#include "platform/ui/NavigationBar.h"
#include "platform/ui/Popover.h"

using namespace platform::ui;

namespace {

// A screen that writes down its lifecycle calls.
class RecordingScreen final : public ViewController {
public:
    RecordingScreen(QString name, QStringList& log)
        : m_name(std::move(name))
        , m_log(log)
    {
        setTitle(m_name);
    }
    void viewDidLoad() override { m_log << m_name + " load"; }
    void viewWillAppear(bool) override { m_log << m_name + " appear"; }
    void viewWillDisappear(bool) override { m_log << m_name + " disappear"; }
    void windowCloseRequested(std::function<void(bool)> answer) override
    {
        m_log << m_name + " close?";
        pendingAnswer = std::move(answer);
    }
    std::function<void(bool)> pendingAnswer;

private:
    QString m_name;
    QStringList& m_log;
};

struct Stack {
    QStringList log;
    std::shared_ptr<RecordingScreen> root = std::make_shared<RecordingScreen>("root", log);
    MainWindow window { root };
    Stack()
    {
        window.resize(400, 600);
        window.show();
    }
    NavigationController& navigation() { return window.navigationController(); }
};

}

TEST(ScreenStack, LifecycleRunsLoadOnceThenAppearAndDisappearInOrderAndAPoppedScreenIsLetGo)
{
    Stack stack;
    auto second = std::make_shared<RecordingScreen>("second", stack.log);
    stack.navigation().pushViewController(second, true);
    EXPECT_EQ(stack.navigation().navigationBar().title(), "second");
    click(*stack.navigation().navigationBar().backButton());
    stack.navigation().pushViewController(second, true);

    EXPECT_EQ(stack.log, (QStringList { "root load", "root appear",
                             "second load", "root disappear", "second appear",
                             "second disappear", "root appear",
                             "root disappear", "second appear" }));
    EXPECT_EQ(stack.navigation().topViewController(), second.get());
    EXPECT_TRUE(second->isVisible());
    EXPECT_FALSE(stack.root->isVisible());

    // Kept by its opener, a popped screen survives; the stack holds it no more.
    stack.navigation().popViewController(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(second.use_count(), 1);
    EXPECT_EQ(second->parent(), nullptr);
    EXPECT_EQ(stack.navigation().popViewController(false), nullptr) << "the root stays";
}

TEST(ScreenStack, NavigationBarHidesAndTheScreenTakesItsRoom)
{
    Stack stack;
    EXPECT_EQ(stack.root->geometry().top(), NavigationBar::height);
    stack.navigation().setNavigationBarHidden(true, true);
    EXPECT_EQ(stack.root->geometry(), QRect(0, 0, 400, 600));
    EXPECT_FALSE(stack.navigation().navigationBar().isVisible());
}

// A hidden back button leaves its room to the title; a shown one keeps the
// title centred clear of it.
TEST(ScreenStack, TheTitleTakesTheRoomOfAHiddenBackButton)
{
    Stack stack;
    auto* title = stack.navigation().navigationBar().findChild<QLabel*>();
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->geometry().width(), 400 - 2 * 12); // the bar's margins only
    stack.navigation().pushViewController(std::make_shared<RecordingScreen>("second", stack.log), false);
    const int back = stack.navigation().navigationBar().backButton()->geometry().right();
    EXPECT_GT(title->geometry().left(), back);
    EXPECT_EQ(title->geometry().center().x(), 400 / 2 - 1);
}

TEST(ScreenStack, ClosingTheWindowWaitsForTheFrontScreensAnswer)
{
    Stack stack;
    auto presented = std::make_shared<RecordingScreen>("modal", stack.log);
    stack.root->presentViewController(presented, true);
    EXPECT_EQ(presented->geometry(), stack.window.rect());

    stack.window.close();
    ASSERT_TRUE(presented->pendingAnswer);
    EXPECT_TRUE(stack.window.isVisible());
    stack.window.close(); // a second request while the first is open asks nothing more
    std::exchange(presented->pendingAnswer, nullptr)(false);
    EXPECT_TRUE(stack.window.isVisible());

    presented->dismissViewController(true);
    stack.window.close();
    ASSERT_TRUE(stack.root->pendingAnswer);
    stack.root->pendingAnswer(true);
    EXPECT_FALSE(stack.window.isVisible());
    EXPECT_EQ(stack.log.filter("close?"), (QStringList { "modal close?", "root close?" }));
}

TEST(ScreenStack, F11TogglesFullScreen)
{
    Stack stack;
    stack.window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&stack.window));
    QTest::keyClick(stack.root.get(), Qt::Key_F11);
    EXPECT_TRUE(stack.window.windowState() & Qt::WindowFullScreen);
    QTest::keyClick(stack.root.get(), Qt::Key_F11);
    EXPECT_FALSE(stack.window.windowState() & Qt::WindowFullScreen);
}

TEST(Alerts, KeysDoNotReachTheScreenBelow)
{
    Stack stack;
    auto* below = new QPushButton("below", stack.root.get());
    below->show();
    int clicks = 0;
    QObject::connect(below, &QPushButton::clicked, [&] { ++clicks; });
    AlertView::show(stack.root.get(), "", "Stop", { "OK" }, 0, [](int) { });
    QTest::keyClick(below, Qt::Key_Space);
    click(*below);
    EXPECT_EQ(clicks, 0);
}

TEST(ActionSheets, IndicesPutDestructiveFirstAndCancelLastAndTheSheetPointsAtItsAnchorOrSitsAtTheBottom)
{
    for (auto profile : { platform::DeviceProfile::tablet(), platform::DeviceProfile::phone() }) {
        SCOPED_TRACE(profile.name);
        platform::ScopedDeviceProfile scoped(profile);
        Stack stack;
        auto* anchor = new BarButton("Open", stack.root.get());
        anchor->setGeometry(300, 100, 44, 44);
        anchor->show();
        const QRect anchorOnWindow(anchor->mapTo(&stack.window, QPoint(0, 0)), anchor->size());
        struct Case {
            QString press; // a button title, "escape" or "outside"
            int expected;
        };
        const Case cases[] = { { "Save", 0 }, { "Discard", 1 }, { "Other", 2 }, { "Cancel", 3 }, { "escape", 3 }, { "outside", 3 } };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.press.toStdString());
            std::vector<int> answers;
            ActionSheet* sheet = ActionSheet::show(stack.root.get(), anchor, "Title", { "Cancel", "Save", { "Discard", "Other" } },
                [&](int index) { answers.push_back(index); });
            ASSERT_EQ(sheet->buttonCount(), 4);
            EXPECT_EQ(sheet->destructiveButtonIndex(), 0);
            EXPECT_EQ(sheet->cancelButtonIndex(), 3);
            const QRect onWindow(sheet->mapTo(&stack.window, QPoint(0, 0)), sheet->size());
            if (profile.idiom == platform::InterfaceIdiom::Pad) {
                EXPECT_GT(onWindow.top(), anchorOnWindow.bottom());
                EXPECT_LT(onWindow.top(), anchorOnWindow.bottom() + 30);
                EXPECT_TRUE(onWindow.left() <= anchorOnWindow.center().x() && anchorOnWindow.center().x() <= onWindow.right());
            } else {
                EXPECT_EQ(onWindow.bottom(), stack.window.height() - 1);
            }
            if (c.press == "escape")
                QTest::keyClick(sheet->button(0), Qt::Key_Escape);
            else if (c.press == "outside")
                clickAt(stack.window, QPoint(5, 5));
            else
                click(*sheet->findChild<QPushButton*>(c.press));
            QCoreApplication::processEvents();
            EXPECT_EQ(answers, std::vector<int> { c.expected });
        }
    }
}

TEST(Popovers, ClickOutsideClosesAndTheContentIsKeptForNextTime)
{
    Stack stack;
    auto* anchor = new BarButton("Open", stack.root.get());
    anchor->setGeometry(100, 500, 44, 44);
    anchor->show();
    auto content = std::make_unique<QPushButton>("inside");
    int insideClicks = 0;
    QObject::connect(content.get(), &QPushButton::clicked, [&] { ++insideClicks; });
    Popover popover(content.get());
    popover.setContentSize(QSize(200, 100));
    int userDismissals = 0;
    popover.setOnUserDismiss([&] { ++userDismissals; });

    for (int round = 0; round < 2; ++round) {
        popover.presentFrom(anchor, true);
        ASSERT_TRUE(popover.isPopoverVisible());
        EXPECT_LT(popover.panel()->geometry().bottom(), anchor->mapTo(&stack.window, QPoint(0, 0)).y()) << "no room below the anchor, so above it";
        EXPECT_EQ(content->size(), QSize(200, 100));
        click(*content);
        EXPECT_TRUE(popover.isPopoverVisible());
        clickAt(stack.window, QPoint(390, 10));
        EXPECT_FALSE(popover.isPopoverVisible());
        EXPECT_EQ(content->parent(), nullptr);
    }
    EXPECT_EQ(insideClicks, 2);
    EXPECT_EQ(userDismissals, 2);
}
