#pragma once
// The player core: the sequencer front, the play queue with its play position, the
// transport rules with the automatic advance, the intake of songs and archives with the
// extraction of a member before it plays, and the list file. It needs no screen: the bar,
// the play list window and the desktop's media controls are its views. They call its
// operations and follow its signals; a view answers what must be shown or asked
// (NoSongsFound, MissingEntries) while the signal is being delivered.
//
// Failures are exceptions with the designed messages; the views show them.

#include "app/stateicon.h"
#include "core/playqueue.h"
#include "platform/mci/mediaplayer.h"

#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TPlayerCore : public QObject
{
    Q_OBJECT
public:
    // player may be null and be set later (SetMediaPlayer), before anything plays.
    explicit TPlayerCore(std::unique_ptr<mci::TMediaPlayer> player = nullptr,
                         QObject *parent = nullptr);
    ~TPlayerCore() override;

    void SetMediaPlayer(std::unique_ptr<mci::TMediaPlayer> player);
    bool HasMediaPlayer() const { return mediaPlayer_ != nullptr; }
    // The sequencer front; throws std::logic_error while there is none.
    mci::TMediaPlayer &MediaPlayer1();
    // True when the sequencer has a file name (a song, or the reset file after a failed start).
    bool IsLoaded() const;
    // True when the sequencer has an element open. A failed start closes it, so Play has
    // nothing to play until the next start.
    bool IsOpen() const;

    // The play queue, the model the play list window shows. Its operations below keep the
    // play position (CurrentIndex, LastIndex) within it.
    PlayQueue &Queue() { return queue_; }
    const PlayQueue &Queue() const { return queue_; }

    // Transport. Every operation that does nothing in the present state says so below.
    //
    // Plays the reset file at path to its end; throws when it does not end within its own
    // length plus five seconds.
    void PlayResetFile(const std::string &path);
    // Starts the entry at CurrentIndex after the reset file (nothing when the index has no
    // entry). A member not extracted yet is extracted first. On failure the sequencer is
    // closed, the display timer stops and the stop icon is shown before the error is passed
    // on.
    void StartCurrentSong();
    // Plays the open song from where it stands; nothing while playing or with none open (the
    // icon and the display timer then stay as they are).
    void PlaySong();
    // Pauses while playing and resumes while paused; nothing otherwise.
    void PauseSong();
    // Stops and rewinds while playing; nothing otherwise.
    void StopSong();
    // The previous entry, while playing and past the first entry.
    void PreviousSong();
    // The next entry up to LastIndex, while playing (or at once when force is set). The
    // entries are the queue's (PlayQueue::StepNext, StepPrevious).
    void NextSong(bool force);
    // A seek to x of a position bar width pixels wide: to x * (length div width), while
    // playing only.
    void SeekTo(int x, int width);
    // The display timer's work: reports the position, and at the end of a song moves on to
    // the next entry or, past LastIndex, stops. With no song open it only stops the timer.
    void Timer1Timer();
    // True while the display timer should run (a song playing).
    bool DisplayTimerActive() const { return displayTimerActive_; }
    // The icon shown last, and the title of the entry started last (trimmed bytes).
    StateIcon ShownIcon() const { return shownIcon_; }
    const std::string &TitleText() const { return titleText_; }

    // Intake. The title of every song is read through the loader module first, so a
    // failing probe leaves no half-filled entry.
    //
    // Appends an entry for the song at path.
    void AddSong(const std::string &path, const std::string &archivePath);
    // True when an entry's file name equals name in any ASCII letter case.
    bool IsListed(const std::string &name) const;
    // A song is appended; anything else is extracted as an archive and its new songs
    // appended (a path that is no archive adds nothing).
    void TakeIn(const std::string &path);
    // Replaces the list with paths taken in, in order, and starts the first entry. With no
    // song among them NoSongsFound is raised and the idle icon shown. On failure what was
    // added stays and the play position is brought within the list.
    void OpenFiles(const std::vector<std::string> &paths);
    // Appends paths taken in; the play position is not changed and nothing starts.
    // Virtual so that a view can be tested on a core that records instead.
    virtual void AppendFiles(const std::vector<std::string> &paths);
    // Extracts the songs of an archive (mask: one member name, or empty for every song) into
    // the temporary folder. A path that is not an archive does nothing.
    void ExtractArchive(const std::string &archivePath, const std::string &mask);
    // The names of an archive's songs, one a line, or the "no songs" text; nothing for a
    // path that is not an archive.
    std::optional<std::string> ArchiveSongList(const std::string &archivePath) const;
    // Appends the songs found in the temporary folder and not yet listed, with archivePath.
    void ScanTempFolder(const std::string &archivePath);
    // Extracts the entry at index when it is a member without a known copy ("Null") and
    // gives it the copy's path.
    void ExtractMember(int index);
    // Extracts the entry at index if needed, makes it current and starts it. Virtual, as
    // AppendFiles.
    virtual void PlayEntry(int index);

    // The list file. LoadList replaces the list with the file's entries whose files (or
    // archives) still exist and raises MissingEntries for the others; without a list file
    // nothing happens; an unreadable file throws and leaves the list as it was. SaveList
    // writes it (an empty list leaves it alone) and marks members "Null" again.
    void LoadList();
    void SaveList();
    // Removes the entry at index (nothing for an index without one); the play position is
    // brought within the list.
    void DeleteEntry(int index);
    // Removes every entry; CurrentIndex and LastIndex become 0. A song playing goes on.
    void ClearList();

signals:
    void IconShown(StateIcon icon);
    void DisplayTimerChanged(bool active);
    // The time display and position bar go back to zero.
    void DisplayReset();
    // The display timer's report, in milliseconds.
    void PositionShown(std::int64_t position, std::int64_t length);
    // The reset file has played; the song's title is about to change.
    void SongStarting();
    // The song is loaded with this title and about to play, and then playing.
    void SongLoaded(const std::string &title);
    void SongStarted();
    // Something the media controls show may have changed: the mode, the entry being
    // played, its title or its length.
    void PlaybackChanged();
    // The position jumped to positionMs by a seek.
    void PositionJumped(qint64 positionMs);
    // An intake found no song to play; the view tells the user before the idle icon shows.
    void NoSongsFound();
    // LoadList left out entries whose files have gone; the view shows report.
    void MissingEntries(const std::string &caption, const std::string &report);

private:
    void StartEntry();
    void LoadEntry(const TPlayEntry &entry);
    void ShowIcon(StateIcon icon);
    void SetDisplayTimer(bool active);
    void TakeInAll(const std::vector<std::string> &paths);

    std::unique_ptr<mci::TMediaPlayer> mediaPlayer_;
    PlayQueue queue_;
    bool displayTimerActive_ = false;
    StateIcon shownIcon_ = StateIcon::Idle;
    std::string titleText_;
};
