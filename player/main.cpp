#include "main.h"

#include "ui_main.h"

#include "app/appstate.h"
#include "app/datafolder.h"
#include "app/settingsfile.h"
#include "application.h"
#include "platform/widgets/modalgate.h"

#include "app/design.h"
#include "platform/profile.h"
#include "platform/tempdir.h"
#include "platform/widgets/fonts.h"
#include "platform/widgets/windowmove.h"
#include "playlist/view.h"
#include "settings/designfile.h"

#include <QCloseEvent>

namespace {

constexpr int Timer1Interval = 999;
constexpr int TitleTimerInterval = 100;

std::string SettingsPath()
{
    return ConfigFolder + "Sonolux.ini";
}

} // namespace

TMidi_main::TMidi_main(std::unique_ptr<mci::TMediaPlayer> player, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , core_(std::make_unique<TPlayerCore>(std::move(player)))
    , ui(std::make_unique<Ui::TMidi_main>())
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TMidi_main"));
    setFixedSize(640, 26);
    setFont(UiFont(12));
    ui->List_Btn->setFont(SmallFont(8));
    ui->DialogPanel->setFont(UiFont(12));

    // Until a design is applied the panels show navy text on a pale yellow.
    QPalette initial = palette();
    initial.setColor(QPalette::Window, QColor(0xBB, 0xFF, 0xFF));
    initial.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
    ui->InfoPanel->setPalette(initial);
    ui->TitlePanel->setPalette(initial);
    ui->List_Btn->setPalette(initial);

    Timer1.setInterval(Timer1Interval);
    TitleTimer.setInterval(TitleTimerInterval);
    mover_ = new WindowMover(this, [this] { KeepOnScreen(); });
    modalGate_ = new TModalGate(this);
    ConnectComponents();
    ConnectCore();
    CreateOpenDialog();
    FormCreate();
    if (!core_->HasMediaPlayer())
        core_->SetMediaPlayer(std::make_unique<mci::TMediaPlayer>(ConfigFolder));
}

TMidi_main::~TMidi_main() = default;

void TMidi_main::SetViewForm(Tview_form *view)
{
    view_form_ = view;
    if (view_form_ != nullptr)
        view_form_->SetCore(core_.get());
}

void TMidi_main::FormCreate()
{
    SetProgramFolder(GetExeFolder());
    TempFolder = platform::GetTempPath() + "SONOLUXTEMP";
    ClearTempFolder();
    ProbeLibraries();
}

void TMidi_main::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    FormShow();
}

void TMidi_main::FormShow()
{
    setAcceptDrops(true);
    LoadSettings();
    BuildOpenFilter();
    LoadSkin();
    DrawSkin();
    ResetDisplay();
}

void TMidi_main::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
    if (view_form_ != nullptr)
        view_form_->hide();
    QCoreApplication::quit();
}

void TMidi_main::FormClose()
{
    Timer1.stop();
    TitleTimer.stop();
    ClearTempFolder();
    SkinBitmap = QImage();
    try {
        SaveSettings();
    } catch (const std::exception &error) {
        // The program still ends; the user learns that this session's settings are lost.
        TApplication::ShowException(std::runtime_error(
            std::string("Sonolux could not save its settings.\n") + error.what()));
    }
}

void TMidi_main::LoadSettings()
{
    const StoredSettings stored = ReadSettingsFile(SettingsPath());
    move(stored.barPosition);
    if (view_form_ != nullptr)
        view_form_->move(stored.viewPosition);
    SkinName = stored.skinName;
    LastFolder = stored.lastFolder;
    FormatName = stored.formatName;
    ShowLength = stored.showLength;
    ShowLyrics = stored.showLyrics;
}

void TMidi_main::SaveSettings()
{
    StoredSettings current;
    current.barPosition = pos();
    current.viewPosition = view_form_ != nullptr ? view_form_->pos() : QPoint();
    current.skinName = SkinName;
    current.lastFolder = LastFolder;
    current.formatName = FormatName;
    current.showLength = ShowLength;
    current.showLyrics = ShowLyrics;
    WriteSettingsFile(SettingsPath(), current);
}

void TMidi_main::LoadSkin()
{
    shownTime_ = "     ";
    SkinBitmap = QImage();
    ReadDesignFile(DesignFilePath(SkinName));
    ApplyColors();
}
