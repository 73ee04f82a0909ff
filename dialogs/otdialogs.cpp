#include "otdialogs.h"

#include "hostpanel.h"
#include "openfilter.h"
#include "panelarrangement.h"

#include "platform/mbcs.h"
#include "platform/textcodec.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QScopeGuard>
#include <QStringDecoder>
#include <stdexcept>

namespace {

const char ExchangeWhileVisible[] = "Can't exchange controls when the dialog is visible.";

// The toolkit's name of a folder given as bytes: the inverse of platform::EncodeFileName.
QString DecodeFileName(const std::string &bytes)
{
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (platform::CodePage() != platform::cpShiftJis)
        return QFile::decodeName(data);
    QStringDecoder decoder("windows-31j");
    if (!decoder.isValid())
        decoder = QStringDecoder("Shift_JIS");
    return decoder.decode(data);
}

// The folder itself, or its nearest existing parent when it has gone (a removed disk, a
// deleted folder), so the dialog never opens on a listing of a folder that is not there.
QString ExistingFolder(QString folder)
{
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            break;
        folder = parent;
    }
    return folder;
}

} // namespace

TOtOpenDialog::TOtOpenDialog(QObject *owner)
    : QObject(owner)
    , rightPanel_(std::make_unique<HostPanel>(QStringLiteral("RightPanel")))
    , bottomPanel_(std::make_unique<HostPanel>(QStringLiteral("BottomPanel")))
{
}

TOtOpenDialog::~TOtOpenDialog()
{
    RestoreControls();
}

std::string TOtOpenDialog::FileName() const
{
    return current_ ? *current_ : fileName_;
}

void TOtOpenDialog::SetControlAlign(TOtDialogControlAlign align)
{
    controlAlign_ = align;
    if (arrangement_)
        arrangement_->Apply(align);
}

void TOtOpenDialog::CheckExchangeAllowed() const
{
    if (dialogShown_)
        throw std::runtime_error(ExchangeWhileVisible);
}

void TOtOpenDialog::SetRightControl(QWidget *control)
{
    CheckExchangeAllowed();
    if (control && control == bottomControl_)
        bottomControl_.clear();
    rightControl_ = control;
    if (control)
        control->hide();
}

void TOtOpenDialog::SetBottomControl(QWidget *control)
{
    CheckExchangeAllowed();
    if (control && control == rightControl_)
        rightControl_.clear();
    bottomControl_ = control;
    if (control)
        control->hide();
}

bool TOtOpenDialog::Execute(QWidget *parent)
{
    QFileDialog window(parent);
    Configure(window);
    files_.clear();

    bool chosen = false;
    {
        const QMetaObject::Connection selection =
            connect(&window, &QFileDialog::currentChanged, this, &TOtOpenDialog::CurrentChanged);
        const auto endRun = qScopeGuard([&] {
            disconnect(selection);
            current_.reset();
            RestoreControls();
        });
        if (!options_.testFlag(ofOldStyleDialog))
            PlaceControls(window);
        emit OnShow();
        if (window.exec() == QDialog::Accepted) {
            TakeChosenFiles(window.selectedFiles());
            chosen = !files_.empty();
        }
    }
    emit OnClose();
    return chosen;
}

void TOtOpenDialog::Configure(QFileDialog &window) const
{
    window.setOption(QFileDialog::DontUseNativeDialog);
    window.setOption(QFileDialog::HideNameFilterDetails);
    window.setAcceptMode(QFileDialog::AcceptOpen);
    window.setFileMode(options_.testFlag(ofAllowMultiSelect) ? QFileDialog::ExistingFiles
                                                             : QFileDialog::ExistingFile);
    // Patterns match as on the system the lists were made on: "GM.MID" is a "*.mid" file.
    window.setFilter(window.filter() & ~QDir::CaseSensitive);
    const QStringList filters = NameFilters(filter_);
    if (!filters.isEmpty()) {
        window.setNameFilters(filters);
        window.selectNameFilter(filters.front());
    }
    if (!initialDir_.empty())
        window.setDirectory(ExistingFolder(DecodeFileName(initialDir_)));
    if (!options_.testFlag(ofEnableSizing)) {
        window.setSizeGripEnabled(false);
        if (QLayout *layout = window.layout())
            layout->setSizeConstraint(QLayout::SetFixedSize);
    }
}

void TOtOpenDialog::PlaceControls(QFileDialog &window)
{
    auto *grid = qobject_cast<QGridLayout *>(window.layout());
    if (!grid)
        throw std::runtime_error("The file dialog has no grid layout to host controls in.");
    const QSize before = window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint();

    dialogShown_ = true;
    HostPanel *const right = rightControl_ ? rightPanel_.get() : nullptr;
    HostPanel *const bottom = bottomControl_ ? bottomPanel_.get() : nullptr;
    if (!right && !bottom)
        return;
    if (right)
        right->Host(rightControl_);
    if (bottom)
        bottom->Host(bottomControl_);
    arrangement_ = std::make_unique<PanelArrangement>(*grid, right, bottom);
    arrangement_->Apply(controlAlign_);
    if (right)
        right->show();
    if (bottom)
        bottom->show();

    // Grow rather than squeeze the file list; the toolkit centres the dialog when it shows.
    window.resize((before + arrangement_->Room()).expandedTo(grid->totalMinimumSize()));
}

void TOtOpenDialog::RestoreControls()
{
    if (!dialogShown_)
        return;
    arrangement_.reset();
    rightPanel_->GiveBack();
    bottomPanel_->GiveBack();
    dialogShown_ = false;
}

void TOtOpenDialog::CurrentChanged(const QString &path)
{
    if (path.isEmpty())
        return;
    const std::string bytes = platform::EncodeFileName(path);
    current_ = bytes;
    emit OnSelectionChange(bytes);
}

void TOtOpenDialog::TakeChosenFiles(const QStringList &chosen)
{
    files_.clear();
    for (const QString &path : chosen)
        files_.push_back(platform::EncodeFileName(path));
    if (!files_.empty())
        fileName_ = files_.front();
}
