#pragma once
// Input as the window system delivers it to the windows under test: mouse events through the
// top-level window (so the toolkit itself turns a second press into a double click), drops of
// files from a file manager, and a turn of the event loop for what a handler posted.

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

// Where pos of widget lies in its top-level window.
inline QPoint InWindow(QWidget *widget, const QPoint &pos)
{
    return widget->mapTo(widget->window(), pos);
}

// A click at pos of widget, through its window.
inline void RealClick(QWidget *widget, const QPoint &pos, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(widget->window()->windowHandle(), button, {}, InWindow(widget, pos));
}

// A double click at pos of widget, through its window: press, release, press, release. The
// widget sees a press, a release, a double-click event for the second press, and a release.
inline void RealDoubleClick(QWidget *widget, const QPoint &pos,
                            Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseDClick(widget->window()->windowHandle(), button, {}, InWindow(widget, pos));
}

// Runs what handlers posted to the event loop: a few turns, as each posted action may post
// the next.
inline void RunPosted(int turns = 8)
{
    for (int i = 0; i < turns; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Mime data of files dropped from a file manager.
inline std::unique_ptr<QMimeData> FileDrop(const std::vector<std::string> &paths)
{
    QByteArray uris;
    for (const std::string &path : paths)
        uris += "file://" + QByteArray::fromStdString(path).toPercentEncoding("/") + "\r\n";
    auto data = std::make_unique<QMimeData>();
    data->setData("text/uri-list", uris);
    return data;
}

// What became of a drop: whether it was taken, and as which action.
struct DropResult
{
    bool accepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// Drags data onto target at pos and drops it there, as the window system delivers a drop:
// enter, move, drop, each sent and returned before the next.
inline DropResult DropAt(QWidget *target, const QPoint &pos, const QMimeData *data,
                         Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction)
{
    QDragEnterEvent enter(pos, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return {};
    QDragMoveEvent move(pos, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(pos, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return {drop.isAccepted(), drop.dropAction()};
}

} // namespace testing_support
