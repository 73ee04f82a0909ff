#include "view.h"

#include "ui_view.h"

#include "app/appstate.h"
#include "app/design.h"
#include "app/skinatlas.h"
#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/widgets/dropfiles.h"
#include "platform/widgets/fonts.h"
#include "platform/widgets/modalgate.h"
#include "platform/widgets/windowmove.h"
#include "windows/error.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QScreen>
#include <QShowEvent>
#include <stdexcept>

namespace {

constexpr int MarkerWidth = 30;
constexpr int FileNameWidth = 120;

} // namespace

Tview_form::Tview_form(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::Tview_form>())
{
    ui->setupUi(this);
    setFont(UiFont(12));
    SetupListView();
    mover_ = new WindowMover(this, [this] { KeepOnScreen(); });
    gate_ = new TModalGate(this);
    ConnectComponents();
}

Tview_form::~Tview_form() = default;

void Tview_form::SetupListView()
{
    TListView *list = ui->ListView1;
    list->setAllColumnsShowFocus(true);
    QHeaderView *header = list->header();
    header->setSectionsClickable(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->resizeSection(PlayQueue::MarkerColumn, MarkerWidth);
    header->resizeSection(PlayQueue::TitleColumn, WideTitleWidth);
    header->resizeSection(PlayQueue::FileNameColumn, FileNameWidth);
}

void Tview_form::ConnectComponents()
{
    connect(ui->BackImage, &TImage::MouseDown, this,
            [this](Qt::MouseButton button, int, int) { BackImageMouseDown(button); });
    connect(ui->ViewCtrlBtn, &TImage::MouseDown, this, &Tview_form::ViewCtrlBtnMouseDown);
    connect(ui->ViewCtrlBtn, &TImage::MouseMove, this, &Tview_form::ViewCtrlBtnMouseMove);

    TListView *list = ui->ListView1;
    connect(list, &QAbstractItemView::doubleClicked, this, [this] { ListView1DblClick(); });
    connect(list, &TListView::DragOver, this, &Tview_form::ListView1DragOver);
    connect(list, &TListView::DragDrop, this, &Tview_form::ListView1DragDrop);
}

void Tview_form::SetCore(TPlayerCore *core)
{
    core_ = core;
    TListView *list = ui->ListView1;
    list->setModel(core != nullptr ? &core->Queue() : nullptr);
    if (core == nullptr)
        return;
    // The header keeps its sizes across models; the title width follows the new rows.
    QHeaderView *header = list->header();
    header->resizeSection(PlayQueue::MarkerColumn, MarkerWidth);
    header->resizeSection(PlayQueue::FileNameColumn, FileNameWidth);
    ListView1Change();

    // Every change of the rows or of the selection is a change notification of the list.
    const PlayQueue *queue = &core->Queue();
    const auto change = [this] { ListView1Change(); };
    connect(queue, &QAbstractItemModel::rowsInserted, this, change);
    connect(queue, &QAbstractItemModel::rowsRemoved, this, change);
    connect(queue, &QAbstractItemModel::rowsMoved, this, change);
    connect(queue, &QAbstractItemModel::modelReset, this, change);
    connect(queue, &QAbstractItemModel::dataChanged, this, change);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, change);
    connect(core, &TPlayerCore::MissingEntries, this,
            [this](const std::string &caption, const std::string &report) {
                TMsgWindow::Report(this, caption, report);
            });
}

TPlayerCore &Tview_form::Player() const
{
    if (core_ == nullptr)
        throw std::logic_error("The play list window is not connected to the player.");
    return *core_;
}

PlayQueue &Tview_form::Queue() const
{
    return Player().Queue();
}

void Tview_form::DrawButtons()
{
    for (int j = 0; j < ListButtonCount; ++j)
        ui->ViewCtrlBtn->StretchCopy(SkinAtlas::ListButtonPlace(j), SkinBitmap,
                                     SkinAtlas::ListButtonFace(j));
}

void Tview_form::ApplyColors()
{
    QPalette list = ui->ListView1->palette();
    list.setColor(QPalette::Base, ToQColor(BackColor));
    list.setColor(QPalette::Window, ToQColor(BackColor));
    list.setColor(QPalette::Text, ToQColor(ActiveColor));
    ui->ListView1->setPalette(list);
    // The column captions wear the design too, so a dark design has no glaring strip.
    QPalette captions = ui->ListView1->header()->palette();
    captions.setColor(QPalette::Button, ToQColor(BackColor));
    captions.setColor(QPalette::Window, ToQColor(BackColor));
    captions.setColor(QPalette::ButtonText, ToQColor(ActiveColor));
    ui->ListView1->header()->setPalette(captions);

    QPalette strip = ui->ControlPanel->palette();
    strip.setColor(QPalette::Window, ToQColor(BackColor));
    strip.setColor(QPalette::WindowText, ToQColor(ActiveColor));
    ui->ControlPanel->setPalette(strip);

    ui->BackImage->StretchCopy(ui->BackImage->rect(), SkinBitmap, SkinAtlas::BackgroundColumn);
}

void Tview_form::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        FormShow();
    QWidget::showEvent(event);
}

void Tview_form::FormShow()
{
    setAcceptDrops(true);
    ApplyColors();
}

int Tview_form::SelectedIndex() const
{
    const QModelIndexList rows = ui->ListView1->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void Tview_form::LoadList()
{
    Player().LoadList();
}

void Tview_form::SaveList()
{
    Player().SaveList();
}

void Tview_form::DeleteSelected()
{
    const int index = SelectedIndex();
    if (index >= 0)
        Player().DeleteEntry(index);
}

void Tview_form::ClearList()
{
    Player().ClearList();
}

void Tview_form::ViewCtrlBtnMouseDown(Qt::MouseButton, int x, int)
{
    switch (ListButtonAt(x)) {
    case TListButton::lbLoad:
        LoadList();
        break;
    case TListButton::lbSave:
        SaveList();
        break;
    case TListButton::lbDelete:
        DeleteSelected();
        break;
    case TListButton::lbClear:
        ClearList();
        break;
    case TListButton::lbNone:
        break;
    }
}

void Tview_form::ViewCtrlBtnMouseMove(int x, int)
{
    const bool overButton = ListButtonAt(x) != TListButton::lbNone;
    ui->ViewCtrlBtn->setCursor(overButton ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void Tview_form::ListView1Change()
{
    if (core_ == nullptr)
        return;
    const int width = Queue().Count() > RowsWithoutScrollBar ? NarrowTitleWidth : WideTitleWidth;
    QHeaderView *header = ui->ListView1->header();
    if (header->sectionSize(PlayQueue::TitleColumn) != width)
        header->resizeSection(PlayQueue::TitleColumn, width);
}

void Tview_form::ListView1DblClick()
{
    const int index = SelectedIndex();
    if (index >= 0)
        Player().PlayEntry(index);
}

void Tview_form::ListView1DragOver(QDragMoveEvent *event)
{
    if (ui->ListView1->IsOwnRowDrag(event->mimeData())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
        return;
    }
    AcceptFileDrag(event);
}

void Tview_form::ListView1DragDrop(QDropEvent *event)
{
    TListView *list = ui->ListView1;
    if (list->IsOwnRowDrag(event->mimeData())) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
        // Below the last row there is no target: the entry goes to the end.
        const QModelIndex target = list->indexAt(event->position().toPoint());
        MoveSelectedTo(target.isValid() ? target.row() : Queue().Count() - 1);
        return;
    }
    dropEvent(event);
}

void Tview_form::MoveSelectedTo(int target)
{
    const int dragged = SelectedIndex();
    if (dragged < 0)
        return;
    // Downwards the entry lands just after the target, upwards just before it; either way
    // it ends at the target's index. Its marker travels with it, and so does CurrentIndex.
    Queue().Move(dragged, target);
    ui->ListView1->selectionModel()->clear();
}

void Tview_form::dragEnterEvent(QDragEnterEvent *event)
{
    AcceptFileDrag(event);
}

void Tview_form::dragMoveEvent(QDragMoveEvent *event)
{
    AcceptFileDrag(event);
}

// The drop returns at once, so the file manager's drag never waits for the intake (title
// probes, extraction, a message box); the intake runs from the event loop right after, drop
// after drop in their order.
void Tview_form::dropEvent(QDropEvent *event)
{
    const std::vector<std::string> paths = TakeFileDrop(event);
    if (!paths.empty())
        gate_->Post([this, paths] { WMDropFiles(paths); });
}

void Tview_form::WMDropFiles(const std::vector<std::string> &paths)
{
    Player().AppendFiles(paths);
}

void Tview_form::BackImageMouseDown(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        mover_->Start();
}

void Tview_form::KeepOnScreen()
{
    KeepWindowOnScreen(this);
}
