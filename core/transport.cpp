// Playback: the reset file before every song, starting the current entry, the transport
// operations, the display timer's work with its automatic advance, and seeking.
#include "playercore.h"

#include "bindings.h"

#include "app/appstate.h"
#include "app/datafolder.h"
#include "base/trimstring.h"
#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/mci/songfile.h"

#include <chrono>
#include <stdexcept>

using mci::TMPModes;

namespace {

// How long past its own length a reset file may take before the wait gives up.
constexpr std::chrono::milliseconds ResetFileGrace{5000};

} // namespace

TPlayerCore::TPlayerCore(std::unique_ptr<mci::TMediaPlayer> player, QObject *parent)
    : QObject(parent)
    , mediaPlayer_(std::move(player))
{
}

TPlayerCore::~TPlayerCore() = default;

void TPlayerCore::SetMediaPlayer(std::unique_ptr<mci::TMediaPlayer> player)
{
    mediaPlayer_ = std::move(player);
}

mci::TMediaPlayer &TPlayerCore::MediaPlayer1()
{
    if (!mediaPlayer_)
        throw std::logic_error("The player core has no sequencer.");
    return *mediaPlayer_;
}

bool TPlayerCore::IsLoaded() const
{
    return mediaPlayer_ && !mediaPlayer_->FileName().empty();
}

bool TPlayerCore::IsOpen() const
{
    return mediaPlayer_ && mediaPlayer_->Mode() != mci::mpNotReady;
}

void TPlayerCore::ShowIcon(StateIcon icon)
{
    shownIcon_ = icon;
    emit IconShown(icon);
}

void TPlayerCore::SetDisplayTimer(bool active)
{
    displayTimerActive_ = active;
    emit DisplayTimerChanged(active);
}

void TPlayerCore::PlayResetFile(const std::string &path)
{
    mci::TMediaPlayer &device = MediaPlayer1();
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

void TPlayerCore::StartCurrentSong()
{
    try {
        StartEntry();
    } catch (...) {
        // Whatever failed, nothing is left open for Play to pretend with (the reset file stays
        // open when the song's own preparation fails), and the display must not go on
        // advancing through the list by itself.
        if (mediaPlayer_)
            mediaPlayer_->Close();
        SetDisplayTimer(false);
        ShowIcon(StateIcon::Stop);
        emit PlaybackChanged();
        throw;
    }
    emit PlaybackChanged();
}

void TPlayerCore::StartEntry()
{
    const int current = queue_.CurrentIndex();
    if (!queue_.IsValidIndex(current))
        return;
    queue_.ClearPlayMarks();
    PlayResetFile(FindDataFile(FormatSubfolder, FormatName));
    emit SongStarting();

    queue_.SetMarker(current, ">");
    ExtractMember(current);
    LoadEntry(queue_.Entry(current));
    titleText_ = base::Trim(queue_.Entry(current).Title, base::IsBlankOrControl);
    emit SongLoaded(titleText_);
    PlaySong();
    emit SongStarted();
}

void TPlayerCore::LoadEntry(const TPlayEntry &entry)
{
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
}

void TPlayerCore::PlaySong()
{
    if (!IsOpen() || mediaPlayer_->Mode() == mci::mpPlaying)
        return;
    ShowIcon(StateIcon::Play);
    mediaPlayer_->Play();
    SetDisplayTimer(true);
    emit PlaybackChanged();
}

void TPlayerCore::PauseSong()
{
    if (!IsLoaded())
        return;
    const TMPModes mode = mediaPlayer_->Mode();
    if (mode == mci::mpPlaying) {
        ShowIcon(StateIcon::Pause);
        mediaPlayer_->Pause();
        SetDisplayTimer(false);
    } else if (mode == mci::mpPaused) {
        ShowIcon(StateIcon::Play);
        mediaPlayer_->Play();
        SetDisplayTimer(true);
    }
    emit PlaybackChanged();
}

void TPlayerCore::StopSong()
{
    if (!IsLoaded() || mediaPlayer_->Mode() != mci::mpPlaying)
        return;
    ShowIcon(StateIcon::Stop);
    mediaPlayer_->Stop();
    mediaPlayer_->Rewind();
    emit DisplayReset();
    SetDisplayTimer(false);
    emit PlaybackChanged();
}

void TPlayerCore::PreviousSong()
{
    if (!IsLoaded() || mediaPlayer_->Mode() != mci::mpPlaying || !queue_.StepPrevious())
        return;
    mediaPlayer_->Stop();
    StartCurrentSong();
}

void TPlayerCore::NextSong(bool force)
{
    const bool playing = IsLoaded() && mediaPlayer_->Mode() == mci::mpPlaying;
    if (!(playing || force) || !queue_.StepNext())
        return;
    MediaPlayer1().Stop();
    StartCurrentSong();
}

void TPlayerCore::Timer1Timer()
{
    if (!IsOpen()) {
        // Position and length of nothing are both 0: no end of a song to move on from.
        SetDisplayTimer(false);
        return;
    }
    const std::int64_t position = mediaPlayer_->Position();
    const std::int64_t length = mediaPlayer_->Length();
    emit PositionShown(position, length);
    if (position != length)
        return;
    if (queue_.Position().HasNext()) {
        NextSong(true);
    } else {
        emit DisplayReset();
        StopSong();
        SetDisplayTimer(false);
        ShowIcon(StateIcon::Stop);
        emit PlaybackChanged();
    }
}

void TPlayerCore::SeekTo(int x, int width)
{
    if (!IsLoaded() || mediaPlayer_->Mode() != mci::mpPlaying || width <= 0)
        return;
    emit DisplayReset();
    mediaPlayer_->Stop();
    // The division first: targets are whole multiples of length div the bar's width.
    mediaPlayer_->Seek(static_cast<std::int64_t>(x) * (mediaPlayer_->Length() / width));
    mediaPlayer_->Play();
    emit PositionJumped(mediaPlayer_->Position());
}
