#pragma once
// The questions the settings window asks the user: the colour dialog, the open dialog for
// a skin picture, the input box for a design name, the overwrite question, and the box
// that reports a failure. The window asks through this interface, so a test can answer.

#include <QColor>
#include <QString>
#include <optional>
#include <string>

class QWidget;

class TSettingDialogs
{
public:
    virtual ~TSettingDialogs() = default;

    // The colour dialog with initial preselected: the chosen colour, or nothing when
    // the user cancels.
    virtual std::optional<QColor> PickColor(QWidget *parent, const QColor &initial) = 0;
    // The open dialog for a skin picture, filtered to "*.bmp" (any letter case), starting
    // in folder: the chosen file's path, or nothing when the user cancels.
    virtual std::optional<QString> PickPicture(QWidget *parent, const QString &folder) = 0;
    // The input box for the name of a design to save, with an empty default: the answer
    // as typed, or nothing when the user cancels.
    virtual std::optional<QString> AskDesignName(QWidget *parent) = 0;
    // The warning that a design file of that name exists, with Yes and No: true only
    // for Yes.
    virtual bool ConfirmOverwrite(QWidget *parent) = 0;
    // Shows the message of a failure and returns when the user has dismissed it.
    virtual void ReportError(QWidget *parent, const std::string &message) = 0;
};

// The platform's colour dialog, file dialog, input box and message boxes, each run modally.
class TStandardSettingDialogs final : public TSettingDialogs
{
public:
    std::optional<QColor> PickColor(QWidget *parent, const QColor &initial) override;
    std::optional<QString> PickPicture(QWidget *parent, const QString &folder) override;
    std::optional<QString> AskDesignName(QWidget *parent) override;
    bool ConfirmOverwrite(QWidget *parent) override;
    void ReportError(QWidget *parent, const std::string &message) override;
};
