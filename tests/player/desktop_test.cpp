// Files and requests from the desktop arriving while a modal window of the bar is open.
#include "playerfixture.h"

#include "platform/files.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

using testing_support::PlayerTest;

namespace {

class DesktopTest : public PlayerTest
{
protected:
    // Opens a modal message box, runs during(box) once its loop runs, and returns once the
    // box has closed.
    void WithModalBox(const std::function<void(QMessageBox &)> &during)
    {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Sono Lux"), QStringLiteral("busy"),
                        QMessageBox::Ok, bar_.get());
        QTimer::singleShot(0, &box, [&box, &during] { during(box); });
        box.exec();
    }
    std::vector<std::string> Queued() const
    {
        std::vector<std::string> paths;
        for (const TPlayEntry &entry : view_->Queue().Entries())
            paths.push_back(entry.FilePath);
        return paths;
    }
};

} // namespace

// Catches files taken in underneath a modal window (whose own action is half done), lost
// when it closes, or taken in once per hand-over when only the last one counts.
TEST_F(DesktopTest, FilesWaitForModalWindowsAndTheLastHandOverWins)
{
    const std::string a = Song("a.mid", 3000);
    const std::string b = Song("b.mid", 3000);
    const std::string c = Song("c.mid", 3000);
    WithModalBox([&](QMessageBox &box) {
        bar_->OpenFromDesktop({a});
        bar_->OpenFromDesktop({b, c});
        QTimer::singleShot(0, &box, [&] {
            EXPECT_TRUE(Queued().empty()) << "taken in while the box was open";
            box.accept();
        });
    });
    QCoreApplication::processEvents();
    EXPECT_EQ(Queued(), (std::vector<std::string>{b, c}));
    EXPECT_EQ(ResetsSent(), 1);
    EXPECT_EQ(bar_->MediaPlayer1().Mode(), mci::mpPlaying);
    EXPECT_EQ(view_->Queue().LastIndex(), 1);

    bar_->OpenFromDesktop({}); // only raises
    QCoreApplication::processEvents();
    EXPECT_EQ(Queued().size(), 2u);
}

// Catches Quit from the desktop waiting for ever on an open modal window, or ending the
// program without saving its settings as the close button does.
TEST_F(DesktopTest, QuitClosesModalWindowsFirstThenTheBar)
{
    bool boxOpenAtQuit = false;
    WithModalBox([&](QMessageBox &box) {
        boxOpenAtQuit = box.isVisible();
        bar_->CloseFromDesktop();
    });
    EXPECT_TRUE(boxOpenAtQuit);
    EXPECT_TRUE(bar_->isVisible()) << "closed before the modal window had gone";
    QCoreApplication::processEvents();
    EXPECT_FALSE(bar_->isVisible());
    EXPECT_TRUE(platform::FileExists(ConfigFolder + "Sonolux.ini"));
}
