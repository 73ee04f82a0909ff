// The bar's menu button through the real pop-up menu: each choice carried out by the bar,
// the windows it opens run and closed as the user does.
#include "playerfixture.h"

#include "ui_main.h"

#include "app/design.h"
#include "settings/setting_form.h"
#include "windows/about_form.h"
#include "windows/menu.h"
#include "windows/modal.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using testing_support::PlayerTest;

namespace {

class BarMenuTest : public PlayerTest
{
protected:
    void SetUp() override
    {
        PlayerTest::SetUp();
        // A window left open by a wrong choice would block the test: close it and fail.
        QObject::connect(&watchdog_, &QTimer::timeout, [] {
            ADD_FAILURE() << "a window was still open after ten seconds";
            while (QWidget *open = QApplication::activeModalWidget())
                open->close();
        });
        watchdog_.setSingleShot(true);
        watchdog_.start(10000);
    }

    // Clicks the menu button; once the menu is open, press acts on it.
    void ClickMenuButton(std::function<void(TMenuWindow &)> press)
    {
        WhenOpen([press = std::move(press)](QWidget *open) {
            auto *menu = qobject_cast<TMenuWindow *>(open);
            ASSERT_NE(menu, nullptr) << "the pop-up is not the menu";
            press(*menu);
        });
        QTest::mouseClick(bar_->Form()->SetButton, Qt::LeftButton, {}, QPoint(10, 5));
    }
    // Presses the menu entry of choice with the left button.
    static void Choose(TMenuWindow &menu, int choice)
    {
        QWidget *viewport = menu.findChild<QListWidget *>(QStringLiteral("ListBox1"))->viewport();
        const QPoint onRow(20, choice * TMenuWindow::ItemHeight + TMenuWindow::ItemHeight / 2);
        QTest::mousePress(viewport, Qt::LeftButton, {}, onRow);
    }
    // Once a modal window of type T is open (after the menu has gone), act is called with it.
    template<typename T>
    void WhenShown(std::function<void(T &)> act)
    {
        auto *poll = new QTimer(bar_.get());
        QObject::connect(poll, &QTimer::timeout, [poll, act = std::move(act)] {
            if (auto *window = qobject_cast<T *>(QApplication::activeModalWidget())) {
                poll->deleteLater();
                poll->stop();
                act(*window);
            }
        });
        poll->start(10);
    }
    template<typename T>
    int Living() const
    {
        return static_cast<int>(bar_->findChildren<T *>().size());
    }

    QTimer watchdog_;
};

} // namespace

// Catches "List Window" not toggling the play list window, or the LIST label keeping the
// colour of the other state.
TEST_F(BarMenuTest, ListWindowEntryTogglesThePlayList)
{
    ClickMenuButton([](TMenuWindow &menu) { Choose(menu, mcListWindow); });
    EXPECT_TRUE(view_->isVisible());
    EXPECT_EQ(bar_->Form()->List_Btn->palette().color(QPalette::WindowText),
              ToQColor(NoActiveColor));
    ClickMenuButton([](TMenuWindow &menu) { Choose(menu, mcListWindow); });
    EXPECT_FALSE(view_->isVisible());
    EXPECT_EQ(bar_->Form()->List_Btn->palette().color(QPalette::WindowText), ToQColor(ActiveColor));
    EXPECT_EQ(Living<TMenuWindow>(), 0) << "a menu was not freed";
}

// Catches "Setting Window" not opening the settings window, opening it without a modal
// run, or leaving it alive once closed; its OK keeps the options as the window had them.
TEST_F(BarMenuTest, SettingEntryRunsTheSettingsWindow)
{
    bool shown = false;
    ClickMenuButton([&](TMenuWindow &menu) {
        WhenShown<TSetting>([&](TSetting &setting) {
            shown = setting.isVisible();
            setting.findChild<QPushButton *>(QStringLiteral("OK_Button"))->click();
        });
        Choose(menu, mcSettingWindow);
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(Living<TSetting>(), 0);
    EXPECT_TRUE(bar_->isVisible());
    EXPECT_FALSE(view_->isVisible());
}

// Catches "About" not opening the about window modally, or it surviving its closing click.
TEST_F(BarMenuTest, AboutEntryRunsTheAboutWindow)
{
    bool shown = false;
    ClickMenuButton([&](TMenuWindow &menu) {
        WhenShown<Tabout>([&](Tabout &about) {
            shown = about.isVisible();
            auto *label = about.findChild<QLabel *>(QStringLiteral("Label1"));
            QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(20, 20));
        });
        Choose(menu, mcAbout);
    });
    EXPECT_TRUE(shown);
    EXPECT_EQ(Living<Tabout>(), 0);
    EXPECT_TRUE(bar_->isVisible());
}

// Catches "Exit" not closing the bar, or the play list window staying on the screen.
TEST_F(BarMenuTest, ExitEntryClosesTheBar)
{
    bar_->List_BtnClick();
    ASSERT_TRUE(view_->isVisible());
    ClickMenuButton([](TMenuWindow &menu) { Choose(menu, mcExit); });
    EXPECT_FALSE(bar_->isVisible());
    EXPECT_FALSE(view_->isVisible());
}

// Catches the separator, "Cancel", another button or a dismissed menu being carried out as
// a choice (the first entry, the choice's default, toggles the play list window).
TEST_F(BarMenuTest, OtherPressesAndDismissalsDoNothing)
{
    ClickMenuButton([](TMenuWindow &menu) { Choose(menu, mcSeparator); });
    ClickMenuButton([](TMenuWindow &menu) { Choose(menu, mcCancel); });
    ClickMenuButton([](TMenuWindow &menu) {
        QWidget *viewport = menu.findChild<QListWidget *>(QStringLiteral("ListBox1"))->viewport();
        QTest::mousePress(viewport, Qt::RightButton, {}, QPoint(20, 6));
    });
    ClickMenuButton([](TMenuWindow &menu) { QTest::keyClick(&menu, Qt::Key_Escape); });
    ClickMenuButton([this](TMenuWindow &) {
        QTest::mousePress(bar_->windowHandle(), Qt::LeftButton, {}, QPoint(300, 10));
        QTest::mouseRelease(bar_->windowHandle(), Qt::LeftButton, {}, QPoint(300, 10));
    });
    EXPECT_FALSE(view_->isVisible());
    EXPECT_TRUE(bar_->isVisible());
    EXPECT_EQ(Living<TMenuWindow>(), 0);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
