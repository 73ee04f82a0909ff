// Moving the bar through a real X server: the window manager's move loop is offered (no
// window manager runs; the test's own client moves the window as one would), and the bar
// must end fully on the screen from where the server says it is.
#include "playerfixture.h"

#include "ui_main.h"

#include "platform/widgets/windowmove.h"
#include "support/xserver.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <memory>

using testing_support::PlayerTest;
using testing_support::XClient;
using testing_support::XvfbServer;

namespace {

constexpr QSize Screen(1024, 768);

class BarMoveTest : public PlayerTest
{
protected:
    static void SetUpTestSuite()
    {
        server_ = std::make_unique<XvfbServer>(Screen);
        if (server_->Display().empty())
            return;
        qputenv("DISPLAY", QByteArray::fromStdString(server_->Display()));
        qputenv("QT_QPA_PLATFORM", "xcb");
        // The toolkit reads what the window manager supports when it connects.
        XClient(server_->Display()).AdvertiseMoveLoop();
        static int argc = 1;
        static char name[] = "player_x11_tests";
        static char *argv[] = {name, nullptr};
        app_ = std::make_unique<QApplication>(argc, argv);
    }
    static void TearDownTestSuite()
    {
        app_.reset();
        server_.reset();
    }

    void SetUp() override
    {
        ASSERT_TRUE(app_) << "no X server for the test: " << server_->Error();
        PlayerTest::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(bar_.get()));
        wm_ = std::make_unique<XClient>(server_->Display());
        ASSERT_TRUE(wm_->Connected());
        window_ = static_cast<std::uint32_t>(bar_->winId());
        mover_ = bar_->findChild<WindowMover *>();
        ASSERT_NE(mover_, nullptr);
    }
    void TearDown() override
    {
        wm_.reset();
        if (app_)
            PlayerTest::TearDown();
    }

    // Presses on the background, which hands the move to the window manager's loop.
    void PressOnBackground()
    {
        QTest::mousePress(bar_->Form()->BackImage, Qt::LeftButton, {}, QPoint(300, 10));
    }
    // Waits until the bar stands at where, as the server and the bar itself see it.
    bool SettlesAt(QPoint where)
    {
        return QTest::qWaitFor(
            [&] { return wm_->Position(window_) == where && bar_->pos() == where; }, 5000);
    }

    static std::unique_ptr<XvfbServer> server_;
    static std::unique_ptr<QApplication> app_;
    std::unique_ptr<XClient> wm_;
    std::uint32_t window_ = 0;
    WindowMover *mover_ = nullptr;
};

std::unique_ptr<XvfbServer> BarMoveTest::server_;
std::unique_ptr<QApplication> BarMoveTest::app_;

} // namespace

// Catches the bar pushed back from where it stood before the window manager's last step
// (that step reaches the program after the button is seen up), or left off the screen.
TEST_F(BarMoveTest, MoveThroughTheWindowSystemEndsOnTheScreen)
{
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), Screen);
    bar_->move(100, 100);
    ASSERT_TRUE(SettlesAt(QPoint(100, 100)));

    // The last step of the move arrives together with the release.
    PressOnBackground();
    ASSERT_TRUE(mover_->IsMoving()) << "the window manager's move loop was not offered";
    wm_->Move(window_, QPoint(-50, 760));
    EXPECT_TRUE(SettlesAt(QPoint(0, Screen.height() - 26)))
        << "server " << wm_->Position(window_).x() << "," << wm_->Position(window_).y();
    EXPECT_FALSE(mover_->IsMoving());

    // The last step arrives only after the release has been seen.
    PressOnBackground();
    ASSERT_TRUE(mover_->IsMoving());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mover_->IsMoving(); }, 5000));
    wm_->Move(window_, QPoint(900, -20));
    EXPECT_TRUE(SettlesAt(QPoint(Screen.width() - 640, 0)))
        << "server " << wm_->Position(window_).x() << "," << wm_->Position(window_).y();
}
