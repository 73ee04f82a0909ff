#pragma once
// The play list window: a small borderless window showing the core's play queue, created hidden
// at start-up and shown and hidden from the bar. Its control strip loads and saves the list
// file, deletes the selected entry and clears the list; a double-click plays an entry,
// rows are reordered by dragging, files dropped on the window are appended (once the drop
// has returned), and the caption strip drags the window.

#include "core/playercore.h"
#include "playlist/listbuttons.h"

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class Tview_form;
}
class QDragMoveEvent;
class QDropEvent;
class TModalGate;
class WindowMover;

class Tview_form : public QWidget
{
    Q_OBJECT
public:
    explicit Tview_form(QWidget *parent = nullptr);
    ~Tview_form() override;

    // The player core whose queue the window shows and whose operations its actions call.
    // Must be set before the window is used; the window does not own it.
    void SetCore(TPlayerCore *core);

    // Paints the four list buttons from the skin.
    void DrawButtons();
    // Applies the design colours (list background and text, control strip) and repaints the
    // caption strip from the skin's background column.
    void ApplyColors();

    // The play queue this window shows (the core's); throws std::logic_error without a core.
    PlayQueue &Queue() const;

    // The strip's four actions, each the core's operation (see TPlayerCore). LoadList
    // reports the entries whose files have gone in the message window (modal); the list
    // file's errors are passed on. DeleteSelected removes the selected entry, if any.
    void LoadList();
    void SaveList();
    void DeleteSelected();
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
    // Appends dropped files through the core's intake; the play position is not changed and
    // nothing starts.
    void WMDropFiles(const std::vector<std::string> &paths);

    // Width of the "TITLE" column with the vertical scroll bar (more than 19 entries) and
    // without it.
    static constexpr int NarrowTitleWidth = 322;
    static constexpr int WideTitleWidth = 338;
    static constexpr int RowsWithoutScrollBar = 19;

protected:
    void showEvent(QShowEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    // Accepts files as a copy and appends them (WMDropFiles) once the drop has returned.
    void dropEvent(QDropEvent *event) override;

private:
    void ConnectComponents();
    void SetupListView();
    TPlayerCore &Player() const;
    int SelectedIndex() const;
    void MoveSelectedTo(int target);

    std::unique_ptr<Ui::Tview_form> ui;
    TPlayerCore *core_ = nullptr;
    WindowMover *mover_ = nullptr;
    TModalGate *gate_ = nullptr;
};
