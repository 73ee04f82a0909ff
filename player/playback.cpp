// The bar as the view of the player core: the transport buttons and the display timer call
// the core, and the core's reports become the state icon, the time display, the position
// bar's fill and the scrolling title.
#include "main.h"

#include "ui_main.h"

#include "app/design.h"
#include "platform/textcodec.h"

#include <QApplication>
#include <QMessageBox>

void TMidi_main::ConnectCore()
{
    TPlayerCore *core = core_.get();
    connect(core, &TPlayerCore::IconShown, this, &TMidi_main::ShowIcon);
    connect(core, &TPlayerCore::DisplayTimerChanged, this,
            [this](bool active) { active ? Timer1.start() : Timer1.stop(); });
    connect(core, &TPlayerCore::DisplayReset, this, &TMidi_main::ResetDisplay);
    connect(core, &TPlayerCore::PositionShown, this, &TMidi_main::DrawPosition);
    connect(core, &TPlayerCore::SongStarting, &TitleTimer, &QTimer::stop);
    connect(core, &TPlayerCore::SongLoaded, this, &TMidi_main::ShowSongLoaded);
    connect(core, &TPlayerCore::SongStarted, &TitleTimer, [this] { TitleTimer.start(); });
    connect(core, &TPlayerCore::NoSongsFound, this, &TMidi_main::ShowNoSongs);
}

mci::TMediaPlayer &TMidi_main::MediaPlayer1()
{
    return core_->MediaPlayer1();
}

bool TMidi_main::IsLoaded() const
{
    return core_->IsLoaded();
}

void TMidi_main::PlayResetFile(const std::string &path)
{
    core_->PlayResetFile(path);
}

void TMidi_main::StartCurrentSong()
{
    core_->StartCurrentSong();
}

void TMidi_main::PlaySong()
{
    core_->PlaySong();
}

void TMidi_main::PauseSong()
{
    core_->PauseSong();
}

void TMidi_main::StopSong()
{
    core_->StopSong();
}

void TMidi_main::PreviousSong()
{
    core_->PreviousSong();
}

void TMidi_main::NextSong(bool force)
{
    core_->NextSong(force);
}

void TMidi_main::ShowModeIcon(mci::TMPModes mode)
{
    switch (mode) {
    case mci::mpStopped:
        ShowIcon(StateIcon::Stop);
        break;
    case mci::mpPlaying:
        ShowIcon(StateIcon::Play);
        break;
    case mci::mpPaused:
        ShowIcon(StateIcon::Pause);
        break;
    default:
        ShowIcon(StateIcon::Idle);
        return;
    }
    TitleTimer.start();
}

void TMidi_main::ClearPlayMarks()
{
    core_->Queue().ClearPlayMarks();
}

void TMidi_main::Timer1Timer()
{
    core_->Timer1Timer();
}

void TMidi_main::ShowSongLoaded(const std::string &title)
{
    SetTitleText(title);
    ClearTitle();
    DrawTitleText(titleText_, 0);
    ResetDisplay();
}

void TMidi_main::ShowNoSongs()
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                    QString::fromUtf8("対応するMIDIファイルが存在していません。"), QMessageBox::Ok,
                    this);
    box.exec();
}

void TMidi_main::Pos_BarMouseDown(Qt::MouseButton button, int x, int)
{
    if (button == Qt::LeftButton)
        core_->SeekTo(x, ui->Pos_Bar->width());
}

int TMidi_main::PositionBarWidth() const
{
    return ui->Pos_Bar->width();
}

void TMidi_main::WMDropFiles(const std::vector<std::string> &paths)
{
    core_->OpenFiles(paths);
}

void TMidi_main::ExtractArchive(const std::string &archivePath, const std::string &mask, int mode)
{
    if (mode == ExtractMode) {
        core_->ExtractArchive(archivePath, mask);
        return;
    }
    if (const std::optional<std::string> list = core_->ArchiveSongList(archivePath))
        SetPreviewText(*list);
}

void TMidi_main::SetPreviewText(const std::string &text)
{
    previewText_ = text;
    ui->DialogTitle->setText(platform::DecodeText(text));
    ui->DialogTitle->setCursorPosition(0);
}
