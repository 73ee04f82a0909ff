#pragma once
// The settings window: the format file played before each song, the designs (preview,
// edit, save as a design file, apply to the player) and the display of the song's length.
//
// A borderless 463 x 203 window centred on the screen, opened modally and destroyed when
// it closes:
//     TSetting setting(repaint, bar);
//     setting.exec();
// It changes the settings in memory; the player writes them out at exit:
//  - FormatName at once when a row of the Format page is clicked;
//  - the design values and, while a design file is selected, SkinName when "Change" is
//    pressed (the player is then repainted through the callback);
//  - ShowLength and ShowLyrics only when "OK" is pressed; closing the window otherwise
//    leaves them.
// The Format and Design pages list the user's own files and the program's (see datafolder.h);
// designs are saved in the user's own skin folder.
// The Output page writes the sequencer device's own "midimap.ini" in ConfigFolder (not the
// player's settings) as soon as an output is chosen; the device reads it at its next Open.
// Its Loops box writes [Playback] Loops there as soon as it changes (apart from the output,
// so that neither resets the other) and hands the value to the player's device.
// Failures (an unreadable design, a picture that cannot be loaded, a missing folder, a
// design that cannot be saved) are reported through the dialogs' ReportError, and the
// window stays open and usable.

#include "settingdialogs.h"

#include "platform/mci/outputconfig.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace Ui {
class Setting;
}
class QListWidget;
class QListWidgetItem;
class TColorPanel;

// The Design page holds an edit that may be saved: cleared whenever the window is shown,
// set when a colour is picked, and when a picture is picked set exactly when it is a
// proper skin (147 x 63). Saving does not clear it.
extern bool DesignChanged;

class TSetting : public QDialog
{
    Q_OBJECT
public:
    // Lists the outputs the sequencer device can use.
    using TOutputLister = std::function<std::vector<mci::OutputChoice>()>;

    // repaintPlayer is called by "Change" once the design values have been replaced; the
    // player then draws its skin, applies the colours, resets its display and shows the
    // icon of the sequencer's current mode. dialogs asks the user's questions; the
    // platform's own dialogs when null. listOutputs fills the Output page; the outputs
    // found on the system (mci::ListOutputs) when empty.
    explicit TSetting(std::function<void()> repaintPlayer, QWidget *parent = nullptr,
                      std::unique_ptr<TSettingDialogs> dialogs = nullptr,
                      TOutputLister listOutputs = {});
    ~TSetting() override;

    // Called with the new Loops once the Output page has written it, so that the device
    // plays the next song it opens with it (TMediaPlayer::SetLoops).
    void SetApplyLoops(std::function<void(int)> applyLoops) { applyLoops_ = std::move(applyLoops); }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ConnectComponents();

    // The window and its pages.
    void FormShow();
    void PageShow(int index);
    void FormatShow();
    void DesignShow();

    // Format page.
    void FormatFilesClick(QListWidgetItem *item);

    // Design page.
    void SkinFilesClick();
    void Color_Panel1Click(TColorPanel *panel);
    void Skin_ImageDblClick();
    void Design_SaveClick();
    void SkinChangeClick();

    // Output page.
    void OutputShow();
    void OutputListClick();
    void OutputLoopsChange(int loops);

    void OK_ButtonClick();

    void ReadDesignToPage(const std::string &path);
    // Writes the page to the design file named by answer; false when it failed (the
    // failure has been reported).
    bool SaveDesignAs(const std::string &answer);
    void PaintTitleStrip();
    void CentreOnScreen();
    // The rows of the files matching mask in subfolder of the user's folder and of the
    // program folder, one row per name; false (reported once per window when it is the
    // program's) when neither folder exists.
    bool ListFiles(QListWidget *list, const std::string &subfolder, const std::string &mask);
    // Runs action; a failure is reported and false returned.
    bool Report(const std::function<void()> &action);

    std::unique_ptr<Ui::Setting> ui;
    std::function<void()> repaintPlayer_;
    std::function<void(int)> applyLoops_;
    std::unique_ptr<TSettingDialogs> dialogs_;
    TOutputLister listOutputs_;
    // The Output page's rows, what "midimap.ini" holds now, and the row standing for it.
    std::vector<mci::OutputChoice> outputChoices_;
    mci::OutputConfig outputConfig_;
    int outputRow_ = -1;
    std::set<std::string> reportedMissing_;
    bool pressOnSelectedSkinFile_ = false;
};
