#include "settingdialogs.h"

#include "platform/textcodec.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

std::optional<QColor> TStandardSettingDialogs::PickColor(QWidget *parent, const QColor &initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<QString> TStandardSettingDialogs::PickPicture(QWidget *parent, const QString &folder)
{
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The toolkit matches patterns by letter case on this platform; the bitmaps of old
    // collections are often named "*.BMP".
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QStringLiteral("bmp (*.[Bb][Mm][Pp])"));
    dialog.setDirectory(folder);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> TStandardSettingDialogs::AskDesignName(QWidget *parent)
{
    bool confirmed = false;
    const QString answer =
        QInputDialog::getText(parent, QString::fromUtf8("デザインファイルの保存"),
                              QString::fromUtf8("ファイル名を入力してください。"),
                              QLineEdit::Normal, QString(), &confirmed);
    if (!confirmed)
        return std::nullopt;
    return answer;
}

bool TStandardSettingDialogs::ConfirmOverwrite(QWidget *parent)
{
    const QMessageBox::StandardButton answer =
        QMessageBox::warning(parent, QApplication::applicationDisplayName(),
                             QString::fromUtf8("同名のファイルがあります。\n上書きしますか？"),
                             QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void TStandardSettingDialogs::ReportError(QWidget *parent, const std::string &message)
{
    QMessageBox::critical(parent, QApplication::applicationDisplayName(),
                          platform::DecodeText(message));
}
