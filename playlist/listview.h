#pragma once
// The play list's list view: a report-style view whose rows can be dragged within it and
// on which files from the file manager can be dropped. It decides nothing itself: every
// drag over it and every drop is handed to its owner through DragOver and DragDrop, and a
// drop nobody accepted changes nothing.

#include <QTreeView>
#include <memory>

class QMimeData;

class TListView : public QTreeView
{
    Q_OBJECT
public:
    explicit TListView(QWidget *parent = nullptr);

    // The data a row drag started in this view carries.
    std::unique_ptr<QMimeData> RowDragData() const;
    // True for the data of a row drag started in this very view (not in another view or in
    // another copy of the program).
    bool IsOwnRowDrag(const QMimeData *data) const;

signals:
    // A drag entered or moved over the view: the receiver accepts the event or leaves it
    // ignored.
    void DragOver(QDragMoveEvent *event);
    // A drag was dropped on the view (position in viewport coordinates). Only drags a
    // DragOver receiver accepted arrive here.
    void DragDrop(QDropEvent *event);

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
};
