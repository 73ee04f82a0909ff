#include "dialogdriver.h"

#include "dialogs/otdialogs.h"
#include "support/tempfolder.h"

#include <QFileDialog>
#include <QFrame>
#include <QLayout>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace dialog_testing;

namespace {

// The player's form: a hidden form holding the title preview panel (393 x 33) with its
// edit box (270 x 20 at 108,6), and a second control for the right side.
class HostingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form_.resize(640, 200);
        panel_->setGeometry(12, 40, 393, 33);
        title_->setGeometry(108, 6, 270, 20);
        title_->setReadOnly(true);
        side_->setGeometry(20, 90, 120, 150);
        dialog_.SetInitialDir(folder_.Path());
        dialog_.SetFilter("Midi Files|*.mid;");
        dialog_.SetOptions(ofAllowMultiSelect | ofHideReadOnly | ofEnableSizing);
        folder_.Write("a.mid", "MThd");
    }

    int Bx(QFileDialog &window) const { return window.layout()->contentsMargins().left(); }
    int BottomMargin(QFileDialog &window) const
    {
        return window.layout()->contentsMargins().bottom();
    }

    testing_support::TempFolder folder_;
    QWidget form_;
    QFrame *panel_ = new QFrame(&form_);
    QLineEdit *title_ = new QLineEdit(panel_);
    QWidget *side_ = new QWidget(&form_);
    TOtOpenDialog dialog_;
};

} // namespace

// Catches the preview panel squeezing the file list instead of the dialog growing, being
// stretched or misplaced, or being left behind when the user resizes the dialog.
TEST_F(HostingTest, PlayerPanelStandsUnderTheFileListAtItsDesignSize)
{
    QSize plainSize;
    int plainListHeight = 0;
    RunWith(dialog_, [&](QFileDialog &window) {
        plainSize = window.size();
        plainListHeight = FileListArea(window).height();
    });

    dialog_.SetControlAlign(otdaNone);
    dialog_.SetBottomControl(panel_);
    RunWith(dialog_, [&](QFileDialog &window) {
        const QRect placed = InWindow(*panel_);
        EXPECT_TRUE(panel_->isVisible());
        EXPECT_EQ(placed.size(), QSize(393, 33));
        EXPECT_EQ(placed.left(), Bx(window));
        EXPECT_GT(placed.top(), StandardBottom(window));
        EXPECT_EQ(window.height() - 1 - placed.bottom(), BottomMargin(window));
        EXPECT_EQ(InWindow(*title_), QRect(placed.topLeft() + QPoint(108, 6), QSize(270, 20)));
        EXPECT_EQ(FileListArea(window).height(), plainListHeight);
        EXPECT_GT(window.height(), plainSize.height());

        ResizeWindow(window, window.size() + QSize(120, 90));
        const QRect resized = InWindow(*panel_);
        EXPECT_EQ(resized.size(), QSize(393, 33));
        EXPECT_EQ(resized.left(), Bx(window));
        EXPECT_EQ(window.height() - 1 - resized.bottom(), BottomMargin(window));
        EXPECT_GT(resized.top(), StandardBottom(window));
    });
}

// Catches the bottom control not following the dialog's width.
TEST_F(HostingTest, BottomAlignmentWidensTheBottomControlWithTheDialog)
{
    dialog_.SetControlAlign(otdaBottom);
    dialog_.SetBottomControl(panel_);
    RunWith(dialog_, [&](QFileDialog &window) {
        const int bx = Bx(window);
        EXPECT_EQ(InWindow(*panel_).left(), bx);
        EXPECT_EQ(panel_->width(), window.width() - 2 * bx);
        EXPECT_EQ(panel_->height(), 33);
        const int before = panel_->width();

        ResizeWindow(window, window.size() + QSize(100, 0));
        EXPECT_EQ(panel_->width(), before + 100);
        EXPECT_EQ(panel_->height(), 33);
    });
}

// Catches the bottom control running under the right one, or the right control not
// reaching down to the dialog's bottom margin.
TEST_F(HostingTest, RightBottomAlignmentKeepsTheBottomControlBxLeftOfTheRightPanel)
{
    dialog_.SetControlAlign(otdaRightBottom);
    dialog_.SetBottomControl(panel_);
    dialog_.SetRightControl(side_);
    RunWith(dialog_, [&](QFileDialog &window) {
        const int bx = Bx(window);
        for (const QSize grow : {QSize(0, 0), QSize(100, 60)}) {
            ResizeWindow(window, window.size() + grow);
            const QRect right = InWindow(*side_);
            const QRect bottom = InWindow(*panel_);
            EXPECT_EQ(right.left() - StandardRight(window) - 1, bx);
            EXPECT_EQ(right.left() - bottom.right() - 1, bx);
            EXPECT_EQ(right.width(), 120);
            EXPECT_EQ(right.bottom(), bottom.bottom());
            EXPECT_EQ(window.height() - 1 - right.bottom(), BottomMargin(window));
            EXPECT_EQ(bottom.left(), bx);
            EXPECT_EQ(bottom.height(), 33);
        }
    });
}

// Catches the right control not stopping above the bottom one, or the bottom control not
// taking the full width, when the bottom side comes first.
TEST_F(HostingTest, BottomRightAlignmentStopsTheRightControlAboveTheBottomOne)
{
    dialog_.SetControlAlign(otdaBottomRight);
    dialog_.SetBottomControl(panel_);
    dialog_.SetRightControl(side_);
    RunWith(dialog_, [&](QFileDialog &window) {
        const int bx = Bx(window);
        const int gap = window.findChild<QLayout *>()->spacing();
        ResizeWindow(window, window.size() + QSize(80, 70));
        const QRect right = InWindow(*side_);
        const QRect bottom = InWindow(*panel_);
        EXPECT_EQ(right.top(), window.layout()->contentsMargins().top());
        EXPECT_GE(right.height(), 150);
        EXPECT_EQ(bottom.top() - right.bottom() - 1, gap);
        EXPECT_EQ(bottom.left(), bx);
        EXPECT_EQ(window.width() - 1 - bottom.right(), window.layout()->contentsMargins().right());
    });
}

// Catches an alignment changed while the dialog is open being ignored, or the panels
// being lost from the dialog when they are arranged again.
TEST_F(HostingTest, AlignmentChangedWhileOpenTakesEffectAtOnce)
{
    dialog_.SetControlAlign(otdaNone);
    dialog_.SetBottomControl(panel_);
    dialog_.SetRightControl(side_);
    RunWith(dialog_, [&](QFileDialog &window) {
        EXPECT_EQ(side_->size(), QSize(120, 150));
        EXPECT_EQ(panel_->size(), QSize(393, 33));

        dialog_.SetControlAlign(otdaRightBottom);
        ResizeWindow(window, window.size() + QSize(10, 10));
        EXPECT_TRUE(side_->isVisible());
        EXPECT_EQ(InWindow(*side_).bottom(), InWindow(*panel_).bottom());
        EXPECT_EQ(InWindow(*side_).left() - InWindow(*panel_).right() - 1, Bx(window));

        dialog_.SetControlAlign(otdaNone);
        ResizeWindow(window, window.size() + QSize(10, 10));
        EXPECT_EQ(side_->size(), QSize(120, 150));
        EXPECT_EQ(panel_->size(), QSize(393, 33));
    });
}

namespace {

class GiveBackTest : public HostingTest, public ::testing::WithParamInterface<bool>
{
};

} // namespace

// Catches a hosted control lost with the dialog, left visible, moved, or kept by the
// dialog after a run that was confirmed or cancelled, and the events around the run.
TEST_P(GiveBackTest, ControlsReturnHiddenToTheirFormsAfterTheRun)
{
    const bool confirm = GetParam();
    dialog_.SetControlAlign(otdaBottomRight);
    dialog_.SetBottomControl(panel_);
    dialog_.SetRightControl(side_);
    QSignalSpy shown(&dialog_, &TOtOpenDialog::OnShow);
    QSignalSpy closed(&dialog_, &TOtOpenDialog::OnClose);

    const bool chosen = RunWith(dialog_, [&](QFileDialog &window) {
        EXPECT_EQ(shown.size(), 1);
        EXPECT_EQ(closed.size(), 0);
        EXPECT_NE(panel_->parentWidget(), &form_);
        EXPECT_EQ(panel_->window(), &window);
        EXPECT_EQ(side_->window(), &window);
        EXPECT_TRUE(panel_->isVisible());
        if (confirm) {
            window.selectFile(QString::fromStdString(folder_ / "a.mid"));
            PressOpen(window);
        }
    });

    EXPECT_EQ(chosen, confirm);
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(closed.size(), 1);
    for (QWidget *control : {static_cast<QWidget *>(panel_), side_}) {
        EXPECT_EQ(control->parentWidget(), &form_);
        EXPECT_TRUE(control->isHidden());
    }
    EXPECT_EQ(panel_->geometry(), QRect(12, 40, 393, 33));
    EXPECT_EQ(side_->geometry(), QRect(20, 90, 120, 150));
    EXPECT_EQ(title_->parentWidget(), panel_);
    EXPECT_NO_THROW(dialog_.SetBottomControl(nullptr));
}

INSTANTIATE_TEST_SUITE_P(ConfirmedOrCancelled, GiveBackTest, ::testing::Bool());

// Catches a change of the hosted controls while they are shown, which would leave one
// stranded in the dialog.
TEST_F(HostingTest, ExchangeFromWithinSelectionChangeIsRefused)
{
    dialog_.SetBottomControl(panel_);
    QWidget other(&form_);
    std::vector<std::string> messages;
    QObject::connect(&dialog_, &TOtOpenDialog::OnSelectionChange, [&] {
        for (const auto &exchange :
             {std::function<void()>([&] { dialog_.SetBottomControl(&other); }),
              std::function<void()>([&] { dialog_.SetRightControl(panel_); }),
              std::function<void()>([&] { dialog_.SetRightControl(nullptr); })}) {
            try {
                exchange();
                messages.push_back("accepted");
            } catch (const std::runtime_error &error) {
                messages.push_back(error.what());
            }
        }
    });
    RunWith(dialog_, [&](QFileDialog &window) { ClickEntry(FileView(window, 1), "a.mid"); });

    const std::string refused = "Can't exchange controls when the dialog is visible.";
    EXPECT_EQ(messages, (std::vector<std::string>{refused, refused, refused}));
    EXPECT_EQ(dialog_.BottomControl(), panel_);
    EXPECT_EQ(dialog_.RightControl(), nullptr);
    EXPECT_EQ(panel_->parentWidget(), &form_);
}

// Catches the dialog touching a control freed before or during a run.
TEST_F(HostingTest, FreedControlIsNeitherShownNorTouched)
{
    QSize plainSize;
    RunWith(dialog_, [&](QFileDialog &window) { plainSize = window.size(); });

    dialog_.SetBottomControl(panel_);
    delete panel_;
    EXPECT_EQ(dialog_.BottomControl(), nullptr);
    RunWith(dialog_, [&](QFileDialog &window) {
        const auto *bottomPanel = window.findChild<QWidget *>(QStringLiteral("BottomPanel"));
        EXPECT_TRUE(bottomPanel == nullptr || !bottomPanel->isVisible());
        EXPECT_EQ(window.size(), plainSize);
    });

    dialog_.SetRightControl(side_);
    RunWith(dialog_, [&](QFileDialog &) { delete side_; });
    EXPECT_EQ(dialog_.RightControl(), nullptr);
}

// Catches a hosted control outliving the form it belonged to, or a crash giving it back.
TEST_F(HostingTest, ControlWhoseFormWasDestroyedGoesWithIt)
{
    auto form = std::make_unique<QWidget>();
    QPointer<QWidget> control = new QWidget(form.get());
    control->resize(100, 20);
    dialog_.SetBottomControl(control);
    RunWith(dialog_, [&](QFileDialog &) { form.reset(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return control.isNull(); }, 1000));
    EXPECT_EQ(dialog_.BottomControl(), nullptr);
}

// Catches a fixed-size dialog cutting the panel off or letting the user resize it.
TEST_F(HostingTest, WithoutSizingTheDialogIsFixedAndStillHoldsThePanel)
{
    dialog_.SetOptions(ofAllowMultiSelect | ofHideReadOnly);
    dialog_.SetBottomControl(panel_);
    RunWith(dialog_, [&](QFileDialog &window) {
        EXPECT_EQ(window.minimumSize(), window.maximumSize());
        const QRect placed = InWindow(*panel_);
        EXPECT_EQ(placed.size(), QSize(393, 33));
        EXPECT_GT(placed.top(), StandardBottom(window));
        EXPECT_TRUE(window.rect().contains(placed));
    });
}

// Catches controls hosted, or an error raised, in the plain dialog.
TEST_F(HostingTest, OldStyleDialogHostsNothing)
{
    dialog_.SetOptions(dialog_.Options() | ofOldStyleDialog);
    dialog_.SetBottomControl(panel_);
    QSignalSpy shown(&dialog_, &TOtOpenDialog::OnShow);
    QSignalSpy closed(&dialog_, &TOtOpenDialog::OnClose);
    RunWith(dialog_, [&](QFileDialog &) {
        EXPECT_EQ(panel_->parentWidget(), &form_);
        EXPECT_TRUE(panel_->isHidden());
        EXPECT_NO_THROW(dialog_.SetRightControl(side_));
    });
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(closed.size(), 1);
    EXPECT_EQ(dialog_.RightControl(), side_);
}
