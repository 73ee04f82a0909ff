#pragma once
// The play list window: a small borderless window showing the play queue, created hidden
// at start-up and shown and hidden from the bar. Its control strip loads and saves the list
// file, deletes the selected entry and clears the list; a double-click plays an entry,
// rows are reordered by dragging, files dropped on the window are appended, and the
// caption strip drags the window.

#include "playlist/listbuttons.h"
#include "playlist/playqueue.h"

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class Tview_form;
}
class PlayerServices;
class QDragMoveEvent;
class QDropEvent;
class WindowMover;

class Tview_form : public QWidget
{
    Q_OBJECT
public:
    explicit Tview_form(QWidget *parent = nullptr);
    ~Tview_form() override;

    // The player the window asks to take in dropped files and to play entries. Must be set
    // before the window is used; the window does not own it.
    void SetPlayerServices(PlayerServices *services);

    // Paints the four list buttons from the skin.
    void DrawButtons();
    // Applies the design colours (list background and text, control strip) and repaints the
    // caption strip from the skin's background column.
    void ApplyColors();

    // The play queue this window owns and shows.
    PlayQueue &Queue() { return queue_; }
    const PlayQueue &Queue() const { return queue_; }

    // The strip's four actions.
    //
    // LoadList: replaces the list with the list file's entries whose files (or archives)
    // still exist and reports the others in the message window (modal). Without a list
    // file nothing happens. LastIndex becomes the last entry; the play position is brought
    // within the list. Throws std::runtime_error naming the file when it cannot be read;
    // the list is then left as it was.
    void LoadList();
    // SaveList: writes the list file (atomically); archive members get the path "Null" in
    // the file and in memory. An empty list leaves the file untouched. Throws
    // std::runtime_error naming the file when it cannot be written.
    void SaveList();
    // DeleteSelected: removes the selected entry, if any; the play position is brought
    // within the list.
    void DeleteSelected();
    // ClearList: removes every entry; CurrentIndex and LastIndex become 0. A song that is
    // playing goes on.
    void ClearList();

    // Pushes the window back fully onto the primary screen (left, right, top, bottom).
    void KeepOnScreen();

    // Component handlers.
    void FormShow();
    void BackImageMouseDown(Qt::MouseButton button);
    void ListView1Change();
    void ListView1DblClick();
    void ViewCtrlBtnMouseDown(Qt::MouseButton button, int x, int y);
    void ViewCtrlBtnMouseMove(int x, int y);
    void ListView1DragOver(QDragMoveEvent *event);
    void ListView1DragDrop(QDropEvent *event);
    // Appends dropped files: songs directly, anything else as an archive whose songs are
    // extracted and listed. The play position is not changed and nothing starts.
    void WMDropFiles(const std::vector<std::string> &paths);

    // Width of the "TITLE" column with the vertical scroll bar (more than 19 entries) and
    // without it.
    static constexpr int NarrowTitleWidth = 322;
    static constexpr int WideTitleWidth = 338;
    static constexpr int RowsWithoutScrollBar = 19;

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void ConnectComponents();
    void SetupListView();
    PlayerServices &Player() const;
    int SelectedIndex() const;
    void MoveSelectedTo(int target);

    std::unique_ptr<Ui::Tview_form> ui;
    PlayQueue queue_;
    PlayerServices *services_ = nullptr;
    WindowMover *mover_ = nullptr;
};
