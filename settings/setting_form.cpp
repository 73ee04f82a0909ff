#include "setting_form.h"

#include "ui_setting.h"

#include "app/design.h"
#include "app/skinatlas.h"
#include "bmpimage.h"
#include "colorpanel.h"
#include "compactrows.h"
#include "designfile.h"
#include "designpagetarget.h"
#include "outputchoices.h"
#include "settingdialogs.h"
#include "skinpicture.h"

#include "app/appstate.h"
#include "app/datafolder.h"
#include "platform/files.h"
#include "platform/textcodec.h"
#include "platform/widgets/fonts.h"
#include "platform/widgets/windowmove.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalBlocker>

bool DesignChanged = false;

namespace {

const char FormatMask[] = "*.mid";
const char DesignMask[] = "*.mbd";

// A row keeps the file name's bytes exactly as the file system holds them; its text is
// only their display form.
QListWidgetItem *AddFileRow(QListWidget *list, const std::string &name)
{
    auto *item = new QListWidgetItem(platform::DecodeText(name), list);
    item->setData(Qt::UserRole, QByteArray(name.data(), static_cast<qsizetype>(name.size())));
    return item;
}

std::string FileRowName(const QListWidgetItem *item)
{
    const QByteArray name = item->data(Qt::UserRole).toByteArray();
    return std::string(name.constData(), static_cast<std::size_t>(name.size()));
}

const QListWidgetItem *SelectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.constFirst();
}

} // namespace

TSetting::TSetting(std::function<void()> repaintPlayer, QWidget *parent,
                   std::unique_ptr<TSettingDialogs> dialogs, TOutputLister listOutputs)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
    , ui(std::make_unique<Ui::Setting>())
    , repaintPlayer_(std::move(repaintPlayer))
    , dialogs_(dialogs ? std::move(dialogs) : std::make_unique<TStandardSettingDialogs>())
    , listOutputs_(listOutputs ? std::move(listOutputs) : TOutputLister(mci::ListOutputs))
{
    ui->setupUi(this);
    setFont(UiFont(12));
    setFixedSize(size());
    for (QListWidget *list : {ui->FormatFiles, ui->SkinFiles, ui->OutputList})
        UseCompactRows(list);
    ui->SkinFiles->viewport()->installEventFilter(this);
    ConnectComponents();
}

TSetting::~TSetting() = default;

void TSetting::ConnectComponents()
{
    connect(ui->PageControl1, &QTabWidget::currentChanged, this, &TSetting::PageShow);
    connect(ui->FormatFiles, &QListWidget::itemClicked, this, &TSetting::FormatFilesClick);
    // A check box toggled by the mouse or the space bar counts as a click on its row.
    connect(ui->FormatFiles, &QListWidget::itemChanged, this, &TSetting::FormatFilesClick);
    // A new selection (by mouse or keys) previews at once; a click on the row that was
    // already selected reads its file again.
    connect(ui->SkinFiles, &QListWidget::itemSelectionChanged, this, &TSetting::SkinFilesClick);
    connect(ui->SkinFiles, &QListWidget::itemClicked, this, [this] {
        if (pressOnSelectedSkinFile_)
            SkinFilesClick();
    });
    for (TColorPanel *panel : {ui->Color_Panel1, ui->Color_Panel2, ui->Color_Panel3})
        connect(panel, &TColorPanel::Click, this, [this, panel] { Color_Panel1Click(panel); });
    connect(ui->Skin_Image, &TImage::DblClick, this, &TSetting::Skin_ImageDblClick);
    connect(ui->Design_Save, &QPushButton::clicked, this, &TSetting::Design_SaveClick);
    connect(ui->SkinChange, &QPushButton::clicked, this, &TSetting::SkinChangeClick);
    connect(ui->OutputList, &QListWidget::itemSelectionChanged, this, &TSetting::OutputListClick);
    connect(ui->OutputLoops, qOverload<int>(&QSpinBox::valueChanged), this,
            &TSetting::OutputLoopsChange);
    connect(ui->OK_Button, &QPushButton::clicked, this, &TSetting::OK_ButtonClick);
}

void TSetting::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        FormShow();
        PageShow(ui->PageControl1->currentIndex());
    }
    QDialog::showEvent(event);
}

bool TSetting::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->SkinFiles->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QListWidgetItem *item = ui->SkinFiles->itemAt(mouse->position().toPoint());
        pressOnSelectedSkinFile_ = item && item->isSelected();
    }
    return QDialog::eventFilter(watched, event);
}

// The page takes the current design file, then the colours in use (which differ from the
// file's after an unsaved "Change"). A design file that cannot be read is reported and the
// rest still runs, so the View page shows the setting that "OK" will store.
void TSetting::FormShow()
{
    CentreOnScreen();
    Report([this] { ReadDesignToPage(DesignFilePath(SkinName)); });
    ui->Color_Panel1->SetColor(BackColor);
    ui->Color_Panel2->SetColor(ActiveColor);
    ui->Color_Panel3->SetColor(NoActiveColor);
    ui->V_Chk1->setChecked(ShowLength);
    ui->V_Chk2->setChecked(ShowLyrics);
    DesignChanged = false;
    PaintTitleStrip();
}

void TSetting::PageShow(int index)
{
    const QWidget *page = ui->PageControl1->widget(index);
    if (page == ui->Format)
        FormatShow();
    else if (page == ui->Design)
        DesignShow();
    else if (page == ui->Output)
        OutputShow();
}

// One row per format file, the one named exactly (letter case included) by FormatName
// checked.
void TSetting::FormatShow()
{
    const QSignalBlocker quiet(ui->FormatFiles);
    ui->FormatFiles->clear();
    if (!ListFiles(ui->FormatFiles, FormatSubfolder, FormatMask))
        return;
    for (int row = 0; row < ui->FormatFiles->count(); ++row) {
        QListWidgetItem *item = ui->FormatFiles->item(row);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(FileRowName(item) == FormatName ? Qt::Checked : Qt::Unchecked);
    }
}

// The clicked row becomes the only checked one and the format file the player uses
// before the next song.
void TSetting::FormatFilesClick(QListWidgetItem *item)
{
    if (!item)
        return;
    const QSignalBlocker quiet(ui->FormatFiles);
    for (int row = 0; row < ui->FormatFiles->count(); ++row) {
        QListWidgetItem *each = ui->FormatFiles->item(row);
        each->setCheckState(each == item ? Qt::Checked : Qt::Unchecked);
    }
    ui->FormatFiles->setCurrentItem(item);
    FormatName = FileRowName(item);
}

void TSetting::DesignShow()
{
    const QSignalBlocker quiet(ui->SkinFiles);
    ui->SkinFiles->clear();
    ListFiles(ui->SkinFiles, SkinSubfolder, DesignMask);
}

void TSetting::SkinFilesClick()
{
    const QListWidgetItem *item = SelectedRow(ui->SkinFiles);
    if (!item)
        return;
    Report([this, name = FileRowName(item)] { ReadDesignToPage(DesignFilePath(name)); });
}

void TSetting::Color_Panel1Click(TColorPanel *panel)
{
    const std::optional<QColor> chosen = dialogs_->PickColor(this, ToQColor(panel->Color()));
    if (!chosen)
        return;
    panel->SetColor(FromQColor(*chosen));
    DesignChanged = true;
    ui->Design_Save->setEnabled(true);
}

// Only a proper skin (147 x 63) makes the page savable; a picture that cannot be loaded
// changes nothing.
void TSetting::Skin_ImageDblClick()
{
    const std::string folder =
        platform::DirectoryExists(UserSkinFolder()) ? UserSkinFolder() : ExeFolder + SkinSubfolder;
    const std::optional<QString> path = dialogs_->PickPicture(this, platform::DecodeText(folder));
    if (!path || path->isEmpty())
        return;
    QImage picture;
    if (!Report([&] { picture = LoadSkinPicture(platform::EncodeFileName(*path)); }))
        return;
    ShowSkinPicture(*ui->Skin_Image, picture);
    DesignChanged = picture.size() == QSize(SkinWidth, SkinHeight);
    ui->Design_Save->setEnabled(DesignChanged);
}

// Asks for a name and writes the page there. The button is disabled after the attempt,
// also when the user cancels or declines to overwrite; after a failure it stays enabled
// so that the edit can still be saved under another name.
void TSetting::Design_SaveClick()
{
    if (!DesignChanged)
        return;
    const std::optional<QString> answer = dialogs_->AskDesignName(this);
    if (answer && !answer->isEmpty() && !SaveDesignAs(platform::EncodeFileName(*answer)))
        return;
    ui->Design_Save->setEnabled(false);
}

bool TSetting::SaveDesignAs(const std::string &answer)
{
    std::string path;
    if (!Report([&] { path = DesignSavePath(answer); }))
        return false;
    if (platform::FileExists(path) && !dialogs_->ConfirmOverwrite(this))
        return true;
    const bool written = Report([&] {
        MakeFolderPath(UserSkinFolder());
        WriteDesignFile(path, ui->Color_Panel1->Color(), ui->Color_Panel2->Color(),
                        ui->Color_Panel3->Color(), ui->Skin_Image->Picture());
    });
    if (written)
        DesignShow();
    return written;
}

// Applies the page to the player when its picture is a proper skin; otherwise nothing
// happens. SkinName follows only when a design file is selected.
void TSetting::SkinChangeClick()
{
    const QImage &picture = ui->Skin_Image->Picture();
    if (picture.size() != QSize(SkinWidth, SkinHeight))
        return;
    // An independent copy of the picture, made through its BMP image before anything is
    // replaced, so that a failure leaves the player's design whole.
    QImage skin;
    if (!Report([&] { skin = DecodeBmp(EncodeBmp(picture)); }))
        return;
    BackColor = ui->Color_Panel1->Color();
    ActiveColor = ui->Color_Panel2->Color();
    NoActiveColor = ui->Color_Panel3->Color();
    SkinBitmap = skin;
    if (repaintPlayer_)
        Report(repaintPlayer_);
    if (const QListWidgetItem *item = SelectedRow(ui->SkinFiles))
        SkinName = FileRowName(item);
}

// One row per output the device can use, the one "midimap.ini" names selected. An output
// that is named but not found now (a sound module switched off) gets a row of its own, so
// the page never pretends that another output is in use.
void TSetting::OutputShow()
{
    const QSignalBlocker quiet(ui->OutputList);
    const QSignalBlocker quietLoops(ui->OutputLoops);
    ui->OutputList->clear();
    outputChoices_.clear();
    outputRow_ = -1;
    if (!Report([this] {
            outputConfig_ = mci::ReadOutputConfig(ConfigFolder);
            outputChoices_ = listOutputs_();
        }))
        return;
    ui->OutputLoops->setValue(outputConfig_.loops);
    outputRow_ = FindOutputChoice(outputChoices_, outputConfig_);
    if (outputRow_ < 0) {
        outputChoices_.push_back({outputConfig_, DescribeUnavailableOutput(outputConfig_)});
        outputRow_ = static_cast<int>(outputChoices_.size()) - 1;
    }
    for (const mci::OutputChoice &choice : outputChoices_)
        new QListWidgetItem(platform::DecodeText(choice.description), ui->OutputList);
    ui->OutputList->setCurrentRow(outputRow_);
}

// The selected output is written to "midimap.ini" at once; the device takes it at its next
// Open, so the song playing now goes on where it plays. When the file cannot be written
// the selection returns to the output still in use.
void TSetting::OutputListClick()
{
    const int row = ui->OutputList->currentRow();
    if (row < 0 || row >= static_cast<int>(outputChoices_.size()) || row == outputRow_)
        return;
    const mci::OutputConfig chosen = ChosenOutput(outputChoices_[row], outputConfig_);
    if (Report([&] { mci::WriteOutputConfig(ConfigFolder, chosen); })) {
        outputConfig_ = chosen;
        outputRow_ = row;
        return;
    }
    const QSignalBlocker quiet(ui->OutputList);
    ui->OutputList->setCurrentRow(outputRow_);
}

// Loops is written at once and given to the device; when the file cannot be written the box
// returns to the value still in the file.
void TSetting::OutputLoopsChange(int loops)
{
    if (loops == outputConfig_.loops)
        return;
    if (Report([loops] { mci::WriteLoops(ConfigFolder, loops); })) {
        outputConfig_.loops = loops;
        if (applyLoops_)
            Report([this, loops] { applyLoops_(loops); });
        return;
    }
    const QSignalBlocker quiet(ui->OutputLoops);
    ui->OutputLoops->setValue(outputConfig_.loops);
}

void TSetting::OK_ButtonClick()
{
    ShowLength = ui->V_Chk1->isChecked();
    ShowLyrics = ui->V_Chk2->isChecked();
    accept();
}

void TSetting::ReadDesignToPage(const std::string &path)
{
    TDesignPageTarget page({ui->Color_Panel1, ui->Color_Panel2, ui->Color_Panel3}, ui->Skin_Image);
    ReadDesign(path, page);
}

void TSetting::PaintTitleStrip()
{
    ui->BackImage->SetPicture(SkinBitmap.copy(SkinAtlas::BackgroundColumn));
}

void TSetting::CentreOnScreen()
{
    CenterOnScreen(this);
}

// The user's own files come first; a shipped file of the same name is the one the user's
// replaces, so it gets no row of its own. Only a missing program folder is reported: the
// user's folder exists only once something has been saved there.
bool TSetting::ListFiles(QListWidget *list, const std::string &subfolder, const std::string &mask)
{
    const std::string programFolder = ExeFolder + subfolder;
    std::set<std::string> listed;
    bool found = false;
    for (const std::string &folder : DataFileFolders(subfolder)) {
        if (!platform::DirectoryExists(folder)) {
            if (folder == programFolder && reportedMissing_.insert(folder).second)
                dialogs_->ReportError(this, "The folder " + folder + " does not exist.");
            continue;
        }
        found = true;
        for (const platform::FolderEntry &entry : platform::ListFolder(folder, mask)) {
            if (!entry.isDirectory && listed.insert(entry.name).second)
                AddFileRow(list, entry.name);
        }
    }
    return found;
}

bool TSetting::Report(const std::function<void()> &action)
{
    try {
        action();
        return true;
    } catch (const std::exception &error) {
        dialogs_->ReportError(this, error.what());
        return false;
    }
}
