#include "view.h"

#include "ui_view.h"

#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/widgets/dropfiles.h"
#include "platform/widgets/fonts.h"
#include "platform/widgets/windowmove.h"
#include "app/appstate.h"
#include "playlist/listfile.h"
#include "playlist/playerservices.h"
#include "app/design.h"
#include "settings/skinatlas.h"
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

// Takes a drag carrying files from the file manager as a copy, so that the file manager
// never deletes the files it offered.
bool AcceptFileDrag(QDragMoveEvent *event)
{
    if (!HasDroppedFiles(event->mimeData()))
        return false;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

} // namespace

Tview_form::Tview_form(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::Tview_form>())
{
    ui->setupUi(this);
    setFont(UiFont(12));
    SetupListView();
    mover_ = new WindowMover(this, [this] { KeepOnScreen(); });
    ConnectComponents();
}

Tview_form::~Tview_form() = default;

void Tview_form::SetupListView()
{
    TListView *list = ui->ListView1;
    list->setModel(&queue_);
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

    // Every change of the rows or of the selection is a change notification of the list.
    const auto change = [this] { ListView1Change(); };
    connect(&queue_, &QAbstractItemModel::rowsInserted, this, change);
    connect(&queue_, &QAbstractItemModel::rowsRemoved, this, change);
    connect(&queue_, &QAbstractItemModel::rowsMoved, this, change);
    connect(&queue_, &QAbstractItemModel::modelReset, this, change);
    connect(&queue_, &QAbstractItemModel::dataChanged, this, change);
    connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, change);
}

void Tview_form::SetPlayerServices(PlayerServices *services)
{
    services_ = services;
}

PlayerServices &Tview_form::Player() const
{
    if (services_ == nullptr)
        throw std::logic_error("The play list window is not connected to the player.");
    return *services_;
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
    const std::string path = listfile::ListFilePath();
    if (!platform::FileExists(path))
        return;
    std::vector<TPlayEntry> read;
    try {
        // Read before the list is replaced, so an unreadable file loses nothing.
        read = listfile::ReadListFile(path);
    } catch (...) {
        queue_.ClampPlayPosition();
        throw;
    }
    listfile::CheckedEntries checked = listfile::CheckEntries(std::move(read));
    queue_.Assign(std::move(checked.kept));
    LastIndex = queue_.Count() - 1;
    queue_.ClampPlayPosition();
    if (!checked.report.empty())
        TMsgWindow::Report(this, listfile::MissingCaption, checked.report);
}

void Tview_form::SaveList()
{
    if (queue_.Count() == 0)
        return;
    listfile::WriteListFile(listfile::ListFilePath(), queue_.Entries());
    // Members are extracted again before they next play, as a loaded list would be.
    for (int i = 0; i < queue_.Count(); ++i)
        if (!queue_.Entry(i).ArchivePath.empty())
            queue_.SetFilePath(i, NullPath);
}

void Tview_form::DeleteSelected()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    queue_.Remove(index);
    queue_.ClampPlayPosition();
}

void Tview_form::ClearList()
{
    queue_.Clear();
    CurrentIndex = 0;
    LastIndex = 0;
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
    const int width = queue_.Count() > RowsWithoutScrollBar ? NarrowTitleWidth : WideTitleWidth;
    QHeaderView *header = ui->ListView1->header();
    if (header->sectionSize(PlayQueue::TitleColumn) != width)
        header->resizeSection(PlayQueue::TitleColumn, width);
}

void Tview_form::ListView1DblClick()
{
    const int index = SelectedIndex();
    if (index < 0)
        return;
    PlayerServices &player = Player();
    if (queue_.Entry(index).FilePath == NullPath) {
        const TPlayEntry member = queue_.Entry(index);
        player.ExtractArchive(member.ArchivePath, member.FileName);
        queue_.SetFilePath(index, TempFolder + "/" + member.FileName);
    }
    CurrentIndex = index;
    player.StartCurrentSong();
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
        MoveSelectedTo(target.isValid() ? target.row() : queue_.Count() - 1);
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
    // it ends at the target's index. Its marker travels with it; CurrentIndex stays.
    queue_.Move(dragged, target);
    ui->ListView1->selectionModel()->clear();
}

void Tview_form::dragEnterEvent(QDragEnterEvent *event)
{
    AcceptFileDrag(event);
}

void Tview_form::dropEvent(QDropEvent *event)
{
    const std::vector<std::string> paths = DroppedFilePaths(event->mimeData());
    if (paths.empty())
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    WMDropFiles(paths);
}

void Tview_form::WMDropFiles(const std::vector<std::string> &paths)
{
    PlayerServices &player = Player();
    for (const std::string &path : paths) {
        if (IsSongFile(platform::AsciiLowerCase(platform::ExtractFileExt(path)))) {
            player.AddSong(path, std::string());
        } else {
            player.ExtractArchive(path, std::string());
            player.ScanTempFolder(path);
        }
    }
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
