// Playback: the reset file before every song, starting the current entry, the transport
// operations, the display timer with its automatic advance, and seeking.
#include "main.h"

#include "ui_main.h"

#include "app/appstate.h"
#include "app/datafolder.h"

#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/mci/songfile.h"
#include "playlist/view.h"
#include "app/design.h"

#include <chrono>

using mci::TMPModes;

namespace {

// How long past its own length a reset file may take before the wait gives up.
constexpr std::chrono::milliseconds ResetFileGrace{5000};

// Title with leading and trailing blanks and control characters removed.
std::string TrimTitle(const std::string &title)
{
    std::size_t begin = 0;
    std::size_t end = title.size();
    while (begin < end && static_cast<unsigned char>(title[begin]) <= 0x20)
        ++begin;
    while (end > begin && static_cast<unsigned char>(title[end - 1]) <= 0x20)
        --end;
    return title.substr(begin, end - begin);
}

} // namespace

mci::TMediaPlayer &TMidi_main::MediaPlayer1()
{
    return *mediaPlayer_;
}

bool TMidi_main::IsLoaded() const
{
    return !mediaPlayer_->FileName().empty();
}

PlayQueue &TMidi_main::Queue()
{
    return view_form_->Queue();
}

void TMidi_main::PlayResetFile(const std::string &path)
{
    mci::TMediaPlayer &device = *mediaPlayer_;
    device.SetFileName(path);
    device.Open();
    // The wait is bounded by the file's own length (asked in milliseconds) plus a grace.
    device.SetTimeFormat(mci::TMPTimeFormats::tfMilliseconds);
    const std::chrono::milliseconds length{device.Length()};
    device.SetTimeFormat(mci::TMPTimeFormats::tfDefault);
    device.Play();
    const bool ended = device.WaitForEnd(length + ResetFileGrace);
    device.Stop();
    if (!ended)
        throw std::runtime_error("The reset file " + path +
                                 " did not finish playing within its length plus five seconds.");
}

void TMidi_main::StartCurrentSong()
{
    try {
        StartEntry();
    } catch (...) {
        // Whatever failed, the display must not go on advancing through the list by itself.
        Timer1.stop();
        ShowIcon(StateIcon::Stop);
        emit PlaybackChanged();
        throw;
    }
    emit PlaybackChanged();
}

void TMidi_main::StartEntry()
{
    PlayQueue &queue = Queue();
    if (!queue.IsValidIndex(CurrentIndex))
        return;
    ClearPlayMarks();
    PlayResetFile(FindDataFile(FormatSubfolder, FormatName));
    TitleTimer.stop();

    queue.SetMarker(CurrentIndex, ">");
    if (queue.Entry(CurrentIndex).FilePath == NullPath) {
        const TPlayEntry member = queue.Entry(CurrentIndex);
        ExtractArchive(member.ArchivePath, member.FileName, ExtractMode);
        queue.SetFilePath(CurrentIndex, TempFolder + "/" + member.FileName);
    }
    const TPlayEntry &entry = queue.Entry(CurrentIndex);
    const std::string ext = platform::AsciiLowerCase(platform::ExtractFileExt(entry.FilePath));
    if (ext == ".mid" || ext == ".rmi") {
        // A file too large to play is refused before the header check would copy it whole.
        mci::CheckSongFileSize(entry.FilePath);
        mediaPlayer_->SetFileName(CheckHeader(entry.FilePath));
    } else if (ext == ".rcp" || ext == ".r36" || ext == ".g36")
        mediaPlayer_->SetFileName(ConvertRcp(entry.FilePath));
    // Any other extension (only a hand-edited list file has one) plays the reset file again.

    mediaPlayer_->Open();
    mediaPlayer_->SetTimeFormat(mci::TMPTimeFormats::tfMilliseconds);
    SetTitleText(TrimTitle(entry.Title));
    ClearTitle();
    DrawTitleText(titleText_, 0);
    ResetDisplay();
    PlaySong();
    TitleTimer.start();
}

void TMidi_main::PlaySong()
{
    if (!IsLoaded() || mediaPlayer_->Mode() == mci::mpPlaying)
        return;
    ShowIcon(StateIcon::Play);
    mediaPlayer_->Play();
    Timer1.start();
    emit PlaybackChanged();
}

void TMidi_main::PauseSong()
{
    if (!IsLoaded())
        return;
    const TMPModes mode = mediaPlayer_->Mode();
    if (mode == mci::mpPlaying) {
        ShowIcon(StateIcon::Pause);
        mediaPlayer_->Pause();
        Timer1.stop();
    } else if (mode == mci::mpPaused) {
        ShowIcon(StateIcon::Play);
        mediaPlayer_->Play();
        Timer1.start();
    }
    emit PlaybackChanged();
}

void TMidi_main::StopSong()
{
    if (!IsLoaded() || mediaPlayer_->Mode() != mci::mpPlaying)
        return;
    ShowIcon(StateIcon::Stop);
    mediaPlayer_->Stop();
    mediaPlayer_->Rewind();
    ResetDisplay();
    Timer1.stop();
    emit PlaybackChanged();
}

void TMidi_main::PreviousSong()
{
    if (!IsLoaded() || mediaPlayer_->Mode() != mci::mpPlaying || CurrentIndex <= 0)
        return;
    mediaPlayer_->Stop();
    --CurrentIndex;
    StartCurrentSong();
}

void TMidi_main::NextSong(bool force)
{
    const bool playing = IsLoaded() && mediaPlayer_->Mode() == mci::mpPlaying;
    if (!(playing || force) || CurrentIndex >= LastIndex)
        return;
    mediaPlayer_->Stop();
    ++CurrentIndex;
    StartCurrentSong();
}

void TMidi_main::ShowModeIcon(TMPModes mode)
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
    Queue().ClearPlayMarks();
}

void TMidi_main::Timer1Timer()
{
    const std::int64_t position = mediaPlayer_->Position();
    const std::int64_t length = mediaPlayer_->Length();
    UpdateTimeDisplay(FormatTime(position / 1000));

    // The fill only grows; a song of length 0 has none.
    TImage *bar = ui->Pos_Bar;
    if (length > 0) {
        const std::int64_t w = (position * bar->width() - 2) / length;
        if (w > 0)
            bar->FillRect(QRect(QPoint(1, 1), QPoint(static_cast<int>(w) - 1, bar->height() - 2)),
                          ToQColor(ActiveColor));
    }

    if (position != length)
        return;
    if (CurrentIndex < LastIndex) {
        NextSong(true);
    } else {
        ResetDisplay();
        StopSong();
        Timer1.stop();
        ShowIcon(StateIcon::Stop);
        emit PlaybackChanged();
    }
}

void TMidi_main::Pos_BarMouseDown(Qt::MouseButton button, int x, int)
{
    if (button != Qt::LeftButton || !IsLoaded() || mediaPlayer_->Mode() != mci::mpPlaying)
        return;
    ResetDisplay();
    mediaPlayer_->Stop();
    // The division first: targets are whole multiples of length div the bar's width.
    mediaPlayer_->Seek(static_cast<std::int64_t>(x) *
                       (mediaPlayer_->Length() / ui->Pos_Bar->width()));
    mediaPlayer_->Play();
    emit PositionJumped(mediaPlayer_->Position());
}

int TMidi_main::PositionBarWidth() const
{
    return ui->Pos_Bar->width();
}
