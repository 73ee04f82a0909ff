// The open dialog: its filter, choosing songs, and the title preview of the selection.
#include "main.h"

#include "ui_main.h"

#include "app/appstate.h"
#include "core/bindings.h"

#include "dialogs/otdialogs.h"
#include "platform/files.h"
#include "platform/mbcs.h"

void TMidi_main::CreateOpenDialog()
{
    OtOpenDialog1 = new TOtOpenDialog(this);
    OtOpenDialog1->SetOptions(ofHideReadOnly | ofAllowMultiSelect | ofEnableSizing);
    OtOpenDialog1->SetControlAlign(otdaNone);
    OtOpenDialog1->SetBottomControl(ui->DialogPanel);
    connect(OtOpenDialog1, &TOtOpenDialog::OnSelectionChange, this,
            [this](const std::string &) { OtOpenDialog1SelectionChange(); });
}

void TMidi_main::BuildOpenFilter()
{
    OtOpenDialog1->SetFilter(formats::OpenFilter(LibraryPresent));
    OtOpenDialog1->SetInitialDir(LastFolder);
}

void TMidi_main::OpenSongs()
{
    ShowIcon(StateIcon::Open);
    TitleTimer.stop();
    if (!OtOpenDialog1->Execute(this)) {
        ShowModeIcon(MediaPlayer1().Mode());
        return;
    }
    LastFolder = platform::ExtractFileDir(OtOpenDialog1->FileName());
    OtOpenDialog1->SetInitialDir(LastFolder);
    core_->OpenFiles(OtOpenDialog1->Files());
}

void TMidi_main::OtOpenDialog1SelectionChange()
{
    const std::string name = OtOpenDialog1->FileName();
    if (!platform::FileExists(name) || name.find('*') != std::string::npos)
        return;
    if (IsSongFile(platform::AsciiLowerCase(platform::ExtractFileExt(name))))
        SetPreviewText(ReadTitle(name));
    else
        ExtractArchive(name, std::string(), PreviewMode);
}
