#pragma once
// The bar window: a borderless, skinned strip of 640 x 26 pixels that carries the menu
// button, the state icon and time display, the position bar, the "LIST" label, the
// scrolling title and the button strip. It owns the play timers and the skin drawing.

#include "barpicture/barparts.h"
#include "core/playercore.h"
#include "player/mprishost.h"

#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Ui {
class TMidi_main;
}
class TModalGate;
class TOtOpenDialog;
class Tview_form;
class WindowMover;

class TMidi_main : public QWidget, public TMprisHost
{
    Q_OBJECT
public:
    // Creates the bar and its player core; its creation step (FormCreate) runs here. player
    // is the sequencer front to play through (the tests hand in one on the silent output);
    // without one the bar makes the device configured by "midimap.ini" in the program folder.
    explicit TMidi_main(std::unique_ptr<mci::TMediaPlayer> player = nullptr,
                        QWidget *parent = nullptr);
    ~TMidi_main() override;

    // The player core the bar shows; the play list window and the media controls use it too.
    TPlayerCore &Core() { return *core_; }

    // The play list window, created after the bar; the bar places, colours and toggles it,
    // and connects it to the core.
    void SetViewForm(Tview_form *view);
    Tview_form *ViewForm() const { return view_form_; }

    // Start-up and close.
    void FormCreate();
    void FormShow();
    void FormClose();
    void LoadSettings();
    void SaveSettings();

    // Playback: each calls the core's operation of the same name.
    mci::TMediaPlayer &MediaPlayer1();
    // True when the sequencer has a file name (a song, or the reset file after a failed start).
    bool IsLoaded() const;
    void PlayResetFile(const std::string &path);
    void StartCurrentSong();
    void PlaySong();
    void PauseSong();
    void StopSong();
    void PreviousSong();
    void NextSong(bool force);
    void ShowModeIcon(mci::TMPModes mode);
    void ClearPlayMarks();
    void Timer1Timer();
    void Pos_BarMouseDown(Qt::MouseButton button, int x, int y);
    // Width of the position bar in pixels: a click at x seeks to x * (length div width).
    int PositionBarWidth() const override;

    // Song intake. Mode 0 of ExtractArchive extracts into the temporary folder, mode 1
    // lists the archive's songs into the open dialog's preview.
    static constexpr int ExtractMode = 0;
    static constexpr int PreviewMode = 1;
    void BuildOpenFilter();
    void OpenSongs();
    void OtOpenDialog1SelectionChange();
    void WMDropFiles(const std::vector<std::string> &paths);
    void ExtractArchive(const std::string &archivePath, const std::string &mask, int mode);
    // The text of the open dialog's title preview, as bytes.
    const std::string &PreviewText() const { return previewText_; }

    // Files handed over by the desktop (the launcher, the media controls): the bar is raised
    // and, once no modal window is open, they are taken in as a drop on the bar (the list is
    // replaced and the first song plays). A later hand-over before then replaces the
    // earlier one. With no files the bar is only raised.
    void OpenFromDesktop(const std::vector<std::string> &paths) override;
    // Brings the bar, and a modal window open over it, to the front.
    void RaiseBar() override;
    // Closes the program as the close button does: open modal windows are closed first (as
    // if cancelled) and the bar closes once they are gone.
    void CloseFromDesktop() override;
    // Shows message in the program's error box.
    void ShowRequestError(const std::string &message) override;

    // Drawing from the design (colours and skin).
    void LoadSkin();
    void DrawSkin();
    void DrawButtons();
    void ApplyColors();
    void ResetDisplay();
    // After a design change: skin pictures, colours, display and the state icon anew.
    void RepaintDesign();
    void DrawDigit(char digit, int place);
    void UpdateTimeDisplay(const std::string &text);
    void ShowIcon(StateIcon icon);
    void ClearTitle();
    void DrawTitleText(const std::string &text, int x);
    // Each tick shows, with ShowLyrics set, the lyric line being sung (sung part in
    // ActiveColor, the rest in NoActiveColor); else, and between lines, the scrolling title,
    // whose offset stands still while a lyric line is shown.
    void TitleTimerTimer();
    // True while the title box shows a lyric line rather than the title.
    bool LyricShown() const { return lyricShown_; }
    const std::string &ShownTime() const { return shownTime_; }
    int TitleOffset() const { return titleOffset_; }
    // The title of the song being played as the bar shows it (trimmed bytes).
    const std::string &TitleText() const { return titleText_; }
    void SetTitleText(const std::string &title);

    // Mouse handling of the bar.
    void ControlButtonsMouseDown(Qt::MouseButton button, int x, int y);
    void ControlButtonsMouseMove(int x, int y);
    void BackImageMouseDown(Qt::MouseButton button);
    void StartWindowDrag();
    void KeepOnScreen();
    void SetButtonClick();
    void List_BtnClick();

    // The bar's timers: the one-second display timer and the 100 ms title timer.
    QTimer Timer1;
    QTimer TitleTimer;

    Ui::TMidi_main *Form() const { return ui.get(); }
    // The open dialog, hosting the title preview panel below its file list.
    TOtOpenDialog *OtOpenDialog1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    // Accepts files as a copy and takes them in as WMDropFiles once the drop has returned.
    void dropEvent(QDropEvent *event) override;

private:
    void ConnectComponents();
    void ConnectCore();
    void CreateOpenDialog();
    void DrawPosition(std::int64_t position, std::int64_t length);
    // Draws the lyric line being sung now; false (nothing drawn) when there is none to show.
    bool DrawLyric();
    void ShowSongLoaded(const std::string &title);
    void ShowNoSongs();
    void SetPreviewText(const std::string &text);

    std::unique_ptr<TPlayerCore> core_;
    std::string previewText_;

    std::unique_ptr<Ui::TMidi_main> ui;
    Tview_form *view_form_ = nullptr;
    WindowMover *mover_ = nullptr;
    TModalGate *modalGate_ = nullptr;
    std::optional<std::vector<std::string>> pendingDrop_;
    bool listBtnPressed_ = false;
    bool shown_ = false;
    std::string shownTime_ = "     ";
    std::string titleText_;
    int titleOffset_ = 0;
    bool lyricShown_ = false;
};
