// The bar's mouse handling: the button strip, window dragging, the menu button and the
// "LIST" label.
#include "main.h"

#include "ui_main.h"

#include "app/design.h"
#include "platform/widgets/dropfiles.h"
#include "platform/widgets/modalgate.h"
#include "platform/widgets/windowmove.h"
#include "playlist/view.h"
#include "settings/setting_form.h"
#include "windows/about_form.h"
#include "windows/menu.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <utility>

namespace {

// Hand cursor ranges of the button strip: open intervals (the edges show the arrow).
constexpr std::pair<int, int> HandRanges[] = {{1, 21},   {24, 44},   {47, 67},  {70, 90},
                                              {93, 113}, {121, 141}, {154, 165}};

} // namespace

void TMidi_main::ConnectComponents()
{
    connect(
        ui->ControlButtons, &TImage::MouseDown, this,
        [this](Qt::MouseButton button, int x, int y) { ControlButtonsMouseDown(button, x, y); });
    connect(ui->ControlButtons, &TImage::MouseMove, this,
            [this](int x, int y) { ControlButtonsMouseMove(x, y); });
    const auto drag = [this](Qt::MouseButton button, int, int) { BackImageMouseDown(button); };
    connect(ui->BackImage, &TImage::MouseDown, this, drag);
    connect(ui->TitlePanel_Image, &TImage::MouseDown, this, drag);
    connect(ui->SetButton, &TImage::Click, this, [this] { SetButtonClick(); });
    connect(ui->Pos_Bar, &TImage::MouseDown, this,
            [this](Qt::MouseButton button, int x, int y) { Pos_BarMouseDown(button, x, y); });
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
    connect(&TitleTimer, &QTimer::timeout, this, [this] { TitleTimerTimer(); });
    ui->InfoPanel->installEventFilter(this);
    ui->List_Btn->installEventFilter(this);
}

void TMidi_main::ControlButtonsMouseMove(int x, int)
{
    bool overButton = false;
    for (const auto &[from, to] : HandRanges)
        overButton = overButton || (x > from && x < to);
    ui->ControlButtons->setCursor(overButton ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TMidi_main::BackImageMouseDown(Qt::MouseButton button)
{
    if (button != Qt::LeftButton)
        return;
    StartWindowDrag();
}

void TMidi_main::StartWindowDrag()
{
    // The window system's move loop; KeepOnScreen runs once the move has ended.
    mover_->Start();
}

void TMidi_main::KeepOnScreen()
{
    KeepWindowOnScreen(this);
}

void TMidi_main::List_BtnClick()
{
    if (view_form_ == nullptr)
        return;
    QPalette palette = ui->List_Btn->palette();
    if (view_form_->isVisible()) {
        palette.setColor(QPalette::WindowText, ToQColor(ActiveColor));
        view_form_->hide();
    } else {
        palette.setColor(QPalette::WindowText, ToQColor(NoActiveColor));
        view_form_->show();
    }
    ui->List_Btn->setPalette(palette);
}

void TMidi_main::ControlButtonsMouseDown(Qt::MouseButton button, int x, int)
{
    if (x >= 1 && x <= 21)
        PlaySong();
    else if (x >= 24 && x <= 44)
        PauseSong();
    else if (x >= 47 && x <= 67)
        StopSong();
    else if (x >= 70 && x <= 90)
        PreviousSong();
    else if (x >= 99 && x <= 113)
        NextSong(false);
    else if (x >= 121 && x <= 141)
        OpenSongs();
    else if (x >= 154 && x <= 165)
        close();
    else
        BackImageMouseDown(button); // gaps and edges act like the background
}

bool TMidi_main::eventFilter(QObject *watched, QEvent *event)
{
    // The second press of a double click arrives as a double-click event: a press all the same.
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (watched == ui->InfoPanel && press) {
        BackImageMouseDown(static_cast<QMouseEvent *>(event)->button());
        return true;
    }
    // The label takes its own presses, so they never reach the panel behind it (a drag). Only
    // a single press makes a click, so a double click toggles the list window once.
    if (watched == ui->List_Btn && press) {
        listBtnPressed_ = type == QEvent::MouseButtonPress;
        return true;
    }
    if (watched == ui->List_Btn && type == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (std::exchange(listBtnPressed_, false) && mouse->button() == Qt::LeftButton &&
            ui->List_Btn->rect().contains(mouse->position().toPoint()))
            List_BtnClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TMidi_main::dragEnterEvent(QDragEnterEvent *event)
{
    AcceptFileDrag(event);
}

void TMidi_main::dragMoveEvent(QDragMoveEvent *event)
{
    AcceptFileDrag(event);
}

// The drop returns at once, so the file manager's drag never waits for the intake (title
// probes, extraction, the reset file, a message box); the intake runs from the event loop
// right after, drop after drop in their order.
void TMidi_main::dropEvent(QDropEvent *event)
{
    const std::vector<std::string> paths = TakeFileDrop(event);
    if (!paths.empty())
        modalGate_->Post([this, paths] { WMDropFiles(paths); });
}

void TMidi_main::SetButtonClick()
{
    switch (TMenuWindow::Popup(this)) {
    case mcListWindow:
        List_BtnClick();
        break;
    case mcSettingWindow: {
        TSetting setting([this] { RepaintDesign(); }, this);
        setting.SetApplyLoops([this](int loops) { MediaPlayer1().SetLoops(loops); });
        setting.exec();
        break;
    }
    case mcAbout: {
        Tabout about(this);
        about.exec();
        break;
    }
    case mcExit:
        close();
        break;
    default:
        break;
    }
}
