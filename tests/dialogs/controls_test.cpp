#include "dialogs/otdialogs.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A form of the program's own, shown, with two visible controls on it.
class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form_.resize(400, 200);
        first_->setGeometry(10, 10, 100, 30);
        second_->setGeometry(10, 50, 100, 30);
        form_.show();
    }
    QWidget form_;
    QWidget *first_ = new QWidget(&form_);
    QWidget *second_ = new QWidget(&form_);
    TOtOpenDialog dialog_;
};

} // namespace

// Catches one control hosted on both sides at once, or a side lost when the other is set.
TEST_F(ControlsTest, OneControlIsHostedOnOneSideOnly)
{
    dialog_.SetBottomControl(first_);
    dialog_.SetRightControl(second_);
    EXPECT_EQ(dialog_.BottomControl(), first_);
    EXPECT_EQ(dialog_.RightControl(), second_);

    dialog_.SetRightControl(first_);
    EXPECT_EQ(dialog_.RightControl(), first_);
    EXPECT_EQ(dialog_.BottomControl(), nullptr);

    dialog_.SetBottomControl(first_);
    EXPECT_EQ(dialog_.BottomControl(), first_);
    EXPECT_EQ(dialog_.RightControl(), nullptr);

    dialog_.SetRightControl(second_);
    dialog_.SetRightControl(nullptr);
    EXPECT_EQ(dialog_.RightControl(), nullptr);
    EXPECT_EQ(dialog_.BottomControl(), first_);
}

// Catches an assigned control left showing on its own form.
TEST_F(ControlsTest, AssignedControlIsHiddenAtOnce)
{
    ASSERT_TRUE(first_->isVisible());
    dialog_.SetBottomControl(first_);
    EXPECT_FALSE(first_->isVisible());
    EXPECT_EQ(first_->parentWidget(), &form_);

    dialog_.SetRightControl(second_);
    EXPECT_FALSE(second_->isVisible());
}

// Catches a dangling reference to a control that has been freed.
TEST_F(ControlsTest, FreedControlIsForgotten)
{
    dialog_.SetBottomControl(first_);
    dialog_.SetRightControl(second_);
    delete first_;
    EXPECT_EQ(dialog_.BottomControl(), nullptr);
    EXPECT_EQ(dialog_.RightControl(), second_);
    delete second_;
    EXPECT_EQ(dialog_.RightControl(), nullptr);
}
