#include "playlistwindow.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>

bool DropOn(QWidget *target, const QPoint &pos, const QMimeData *data, Qt::DropActions actions)
{
    QDragEnterEvent enter(pos, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(pos, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(pos, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}
