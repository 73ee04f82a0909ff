#include "settings/settingdialogs.h"

#include "support/tempfolder.h"
#include "windows/modal.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The patterns of a name filter "name (patterns)".
QString FilterPatterns(const QString &filter)
{
    const QRegularExpressionMatch match = QRegularExpression(R"(\((.*)\)$)").match(filter);
    return match.hasMatch() ? match.captured(1) : filter;
}

} // namespace

// Catches a colour dialog that does not start from the panel's colour, or a cancel taken
// for a choice.
TEST(StandardSettingDialogs, ColourDialogStartsFromThePanel)
{
    TStandardSettingDialogs dialogs;
    QColor offered;
    WhenOpen([&offered](QWidget *open) {
        auto *dialog = qobject_cast<QColorDialog *>(open);
        ASSERT_NE(dialog, nullptr);
        offered = dialog->currentColor();
        dialog->setCurrentColor(QColor(1, 2, 3));
        dialog->accept();
    });
    EXPECT_EQ(dialogs.PickColor(nullptr, QColor(0x77, 0x77, 0x77)), QColor(1, 2, 3));
    EXPECT_EQ(offered, QColor(0x77, 0x77, 0x77));

    WhenOpen([](QWidget *open) { qobject_cast<QDialog *>(open)->reject(); });
    EXPECT_FALSE(dialogs.PickColor(nullptr, Qt::red).has_value());
}

// Catches a picture dialog that hides "*.BMP" files or opens elsewhere than asked.
TEST(StandardSettingDialogs, PictureDialogFindsBitmapsInAnyLetterCase)
{
    testing_support::TempFolder folder;
    const std::string upper = folder.Write("SKIN.BMP", "BM");
    folder.Write("other.png", "");
    TStandardSettingDialogs dialogs;
    QString shownFolder;
    WhenOpen([&](QWidget *open) {
        auto *dialog = qobject_cast<QFileDialog *>(open);
        ASSERT_NE(dialog, nullptr);
        shownFolder = dialog->directory().absolutePath();
        ASSERT_EQ(dialog->nameFilters().size(), 1);
        const QString patterns = FilterPatterns(dialog->nameFilters().front());
        EXPECT_TRUE(QDir::match(patterns, "SKIN.BMP")) << patterns.toStdString();
        EXPECT_TRUE(QDir::match(patterns, "skin.bmp"));
        EXPECT_FALSE(QDir::match(patterns, "other.png"));
        dialog->selectFile(QString::fromStdString(upper));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const std::optional<QString> picked =
        dialogs.PickPicture(nullptr, QString::fromStdString(folder.Path()));
    EXPECT_EQ(shownFolder, QString::fromStdString(folder.Path()));
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, QString::fromStdString(upper));
}

// Catches a changed caption, prompt or default of the name box, or a cancel taken for an
// answer.
TEST(StandardSettingDialogs, NameBoxAsksWithTheDesignedTexts)
{
    TStandardSettingDialogs dialogs;
    WhenOpen([](QWidget *open) {
        auto *box = qobject_cast<QInputDialog *>(open);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowTitle(), QString::fromUtf8("デザインファイルの保存"));
        EXPECT_EQ(box->labelText(), QString::fromUtf8("ファイル名を入力してください。"));
        EXPECT_TRUE(box->textValue().isEmpty());
        box->setTextValue("night");
        box->accept();
    });
    EXPECT_EQ(dialogs.AskDesignName(nullptr), QString("night"));

    WhenOpen([](QWidget *open) { qobject_cast<QDialog *>(open)->reject(); });
    EXPECT_FALSE(dialogs.AskDesignName(nullptr).has_value());
}

// Catches a changed overwrite question, or anything but Yes allowing the overwrite.
TEST(StandardSettingDialogs, OverwriteNeedsYes)
{
    TStandardSettingDialogs dialogs;
    for (const QMessageBox::StandardButton answer : {QMessageBox::Yes, QMessageBox::No}) {
        WhenOpen([answer](QWidget *open) {
            auto *box = qobject_cast<QMessageBox *>(open);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(),
                      QString::fromUtf8("同名のファイルがあります。\n上書きしますか？"));
            EXPECT_EQ(box->icon(), QMessageBox::Warning);
            box->button(answer)->click();
        });
        EXPECT_EQ(dialogs.ConfirmOverwrite(nullptr), answer == QMessageBox::Yes);
    }
    WhenOpen([](QWidget *open) { qobject_cast<QDialog *>(open)->reject(); });
    EXPECT_FALSE(dialogs.ConfirmOverwrite(nullptr));
}
