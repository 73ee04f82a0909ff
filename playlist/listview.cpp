#include "listview.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <unistd.h>

namespace {

const QString RowDragType = QStringLiteral("application/x-sonolux-playlist-row");

} // namespace

TListView::TListView(QWidget *parent)
    : QTreeView(parent)
{
}

std::unique_ptr<QMimeData> TListView::RowDragData() const
{
    // The process and the view identify the drag's origin.
    const QByteArray origin = QByteArray::number(static_cast<qint64>(::getpid())) + ':' +
                              QByteArray::number(reinterpret_cast<quintptr>(this), 16);
    auto data = std::make_unique<QMimeData>();
    data->setData(RowDragType, origin);
    return data;
}

bool TListView::IsOwnRowDrag(const QMimeData *data) const
{
    return data != nullptr && data->hasFormat(RowDragType) &&
           data->data(RowDragType) == RowDragData()->data(RowDragType);
}

void TListView::startDrag(Qt::DropActions)
{
    // The drop handler moves the row itself, so whatever the drag's outcome, nothing is
    // removed here (the view's own drag would remove the selected rows after a move).
    auto *drag = new QDrag(this);
    drag->setMimeData(RowDragData().release());
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    drag->deleteLater();
}

void TListView::dragEnterEvent(QDragEnterEvent *event)
{
    // The view's own handling runs first for its drag state and auto-scrolling; the owner
    // then decides whether the drag is taken.
    QTreeView::dragEnterEvent(event);
    event->ignore();
    emit DragOver(event);
    if (event->isAccepted())
        setState(DraggingState);
}

void TListView::dragMoveEvent(QDragMoveEvent *event)
{
    QTreeView::dragMoveEvent(event);
    event->ignore();
    emit DragOver(event);
}

void TListView::dropEvent(QDropEvent *event)
{
    stopAutoScroll();
    setState(NoState);
    event->ignore();
    emit DragDrop(event);
    viewport()->update();
}
