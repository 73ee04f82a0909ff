#pragma once
// The program's file-open dialog, which shows controls of the program's own forms inside
// itself while it is open: one right of its standard controls (RightControl) and one
// below them (BottomControl). It grows to make room for them, keeps them fitted while the
// user resizes it (ControlAlign), gives them back when it closes, and reports each change
// of the current file (OnSelectionChange).
//
// The dialog is the toolkit's own widget-based file dialog (never the desktop's), so
// it behaves the same on every desktop and without a display. bx, the horizontal inset of
// the hosted controls, is that dialog's layout margin (11 pixels with the toolkit's
// layout): the bottom control starts bx from the dialog's left edge and the right control
// stands bx right of the standard controls.
//
// Paths are byte strings in the process code page, as the file system holds them.

#include "dialogs/controlalign.h"

#include <QFlags>
#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class HostPanel;
class PanelArrangement;
class QFileDialog;
class QWidget;

enum TOpenOption {
    ofHideReadOnly = 0x1,     // accepted for the forms' sake: the dialog has no read-only box
    ofAllowMultiSelect = 0x2, // several files may be chosen at once
    ofEnableSizing = 0x4,     // the user may resize the dialog; without it its size is fixed
    ofOldStyleDialog = 0x8,   // a plain dialog: no control is hosted, and that is no error
};
Q_DECLARE_FLAGS(TOpenOptions, TOpenOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TOpenOptions)

class TOtOpenDialog : public QObject
{
    Q_OBJECT
public:
    // The two panels that host the controls are created here and live as long as the
    // dialog component.
    explicit TOtOpenDialog(QObject *owner = nullptr);
    // Gives back any control still hosted.
    ~TOtOpenDialog() override;

    // "name|patterns|name|patterns|...", patterns separated by ";" (a trailing ";" is
    // allowed), e.g. "Midi Files|*.mid;*.rmi;". The first filter is selected when the
    // dialog opens. Patterns match names without regard to ASCII letter case.
    const std::string &Filter() const { return filter_; }
    void SetFilter(const std::string &filter) { filter_ = filter; }

    // The folder the dialog opens in; empty for the toolkit's choice.
    const std::string &InitialDir() const { return initialDir_; }
    void SetInitialDir(const std::string &folder) { initialDir_ = folder; }

    TOpenOptions Options() const { return options_; }
    void SetOptions(TOpenOptions options) { options_ = options; }

    // While the dialog is open, once the current file has changed: the full path of the
    // current selection (a file or a folder). Otherwise: the first file chosen in the last
    // run that chose files (empty before any). A cancelled run leaves it unchanged.
    std::string FileName() const;
    // Every file chosen in the last run, in the dialog's order, full paths; empty after a
    // cancelled run.
    const std::vector<std::string> &Files() const { return files_; }

    // May be changed at any time; while the dialog is open the controls follow at once.
    TOtDialogControlAlign ControlAlign() const { return controlAlign_; }
    void SetControlAlign(TOtDialogControlAlign align);

    // The hosted controls. The dialog does not own them; one that is destroyed is
    // forgotten (the getter returns null). Setting one while the dialog is open throws
    // std::runtime_error "Can't exchange controls when the dialog is visible." and
    // changes nothing. Otherwise the control is hidden at once on its own form; giving a
    // side the control the other side holds clears the other side. Null clears the side.
    QWidget *RightControl() const { return rightControl_; }
    void SetRightControl(QWidget *control);
    QWidget *BottomControl() const { return bottomControl_; }
    void SetBottomControl(QWidget *control);

    // Runs the dialog modally over parent (which must outlive the run, as must this
    // object) and returns true when the user chose files (see FileName and Files).
    // Around the run: OnShow once the controls are in place, just before the dialog
    // appears; OnClose after every hosted control has its former parent back, hidden,
    // at its former geometry, whether files were chosen or not.
    bool Execute(QWidget *parent = nullptr);

signals:
    void OnShow();
    void OnClose();
    // The current file or folder of the dialog has changed to path (a full path); during
    // the signal FileName() is path. A cleared selection is not reported.
    void OnSelectionChange(const std::string &path);

private:
    void CheckExchangeAllowed() const;
    void Configure(QFileDialog &window) const;
    void PlaceControls(QFileDialog &window);
    void RestoreControls();
    void CurrentChanged(const QString &path);
    void TakeChosenFiles(const QStringList &chosen);

    std::string filter_;
    std::string initialDir_;
    TOpenOptions options_;
    std::string fileName_;
    std::optional<std::string> current_;
    std::vector<std::string> files_;

    bool dialogShown_ = false;
    TOtDialogControlAlign controlAlign_ = otdaNone;
    std::unique_ptr<HostPanel> rightPanel_;
    std::unique_ptr<HostPanel> bottomPanel_;
    QPointer<QWidget> rightControl_;
    QPointer<QWidget> bottomControl_;
    std::unique_ptr<PanelArrangement> arrangement_;
};
