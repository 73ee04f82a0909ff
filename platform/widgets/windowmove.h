#pragma once
// Moving a borderless window with the mouse, the window system's own way.
//
// The window system's move loop is started for the window; since X11 reports no end of
// that loop to the program, the pointer's button state is watched until the left button is
// up. The window manager's notice of the last move may arrive after that, so the move
// settles first: onEnd runs once the position the program knows is the one the X server
// reports, and again whenever a further notice moves the window while the move settles.
// Where the window system offers no move loop (no window manager), the window follows the
// mouse itself until the button is released, and onEnd runs at once.

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <functional>
#include <optional>

class QWidget;

// Pushes a top-level window back fully onto the primary screen, edge by edge in the order
// left, right, top, bottom (a window larger than the screen ends at its left and top).
void KeepWindowOnScreen(QWidget *window);

// Centres a top-level window on its parent's screen (the primary screen without a parent).
void CenterOnScreen(QWidget *window);

class WindowMover : public QObject
{
    Q_OBJECT
public:
    // How long after the release the window manager's late move notices still count.
    static constexpr int SettleMs = 1000;

    // window: the top-level window to move; onEnd runs after every move has ended (see
    // above), so it must be safe to run more than once per move.
    WindowMover(QWidget *window, std::function<void()> onEnd);

    // Starts a move while the left button is down (call from a mouse-press handler).
    void Start();
    bool IsMoving() const { return moving_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void WatchButton();
    void Finish();
    void SettleStep();
    void StopSettling();
    void End();
    static bool LeftButtonDown();

    QWidget *window_;
    std::function<void()> onEnd_;
    QTimer watch_;
    QTimer settle_;
    bool moving_ = false;
    bool following_ = false;
    bool systemMove_ = false;
    bool settling_ = false;
    bool ending_ = false;
    std::optional<QPoint> endedAt_;
    QPoint grabOffset_;
};
