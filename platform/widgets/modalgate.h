#pragma once
// Runs actions from the event loop once no modal window is open.
//
// Requests from outside the program (files from the desktop, the media controls' Quit) can
// arrive while the open dialog, the settings window or a message box is open: the window's
// own action is then half done and must end first. Posted actions run in order, one per turn
// of the event loop, at once when no modal window is open, else as soon as the last one has
// closed. An exception from an action reaches the application's error report like that of
// any event handler; the actions after it still run.

#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>

class QWidget;

class TModalGate : public QObject
{
    Q_OBJECT
public:
    explicit TModalGate(QObject *parent = nullptr);

    void Post(std::function<void()> action);
    bool HasPending() const { return !pending_.empty(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Schedule();
    void RunNext();
    void Watch(QWidget *modal);

    std::deque<std::function<void()>> pending_;
    QPointer<QWidget> watched_;
    bool scheduled_ = false;
};
