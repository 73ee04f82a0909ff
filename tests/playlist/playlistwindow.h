#pragma once
// Shared pieces of the play list window tests: a player that records what it is asked,
// a window with the program folder and the temporary folder in a fresh test folder, and
// helpers that drop, click and read the message window without ever blocking.

#include "app/appstate.h"
#include "app/datafolder.h"
#include "core/playercore.h"
#include "platform/files.h"
#include "playlist/view.h"
#include "support/realinput.h"
#include "support/tempfolder.h"

#include <QApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A player core that records what the window asks of it instead of taking files in or
// playing.
class FakePlayer : public TPlayerCore
{
public:
    void AppendFiles(const std::vector<std::string> &paths) override
    {
        std::string call = "AppendFiles";
        for (const std::string &path : paths)
            call += " [" + path + "]";
        calls.push_back(call);
    }
    void PlayEntry(int index) override { calls.push_back("PlayEntry " + std::to_string(index)); }

    std::vector<std::string> calls;
};

// What the message window showed.
struct ShownReport
{
    QString caption;
    QString text;
};

// Runs action; a modal message window it opens is read and closed at once.
inline std::optional<ShownReport> RunReadingReport(const std::function<void()> &action)
{
    std::optional<ShownReport> shown;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&shown] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        const auto *text = modal->findChild<QPlainTextEdit *>("ErrorMsg");
        shown = ShownReport{modal->windowTitle(), text ? text->toPlainText() : QString()};
        modal->close();
    });
    poll.start();
    action();
    return shown;
}

// A window on a fake player, with ExeFolder and TempFolder inside a fresh test folder.
class PlayListWindow
{
public:
    PlayListWindow()
    {
        SetProgramFolder(folder.Path() + "/");
        TempFolder = folder / "SONOLUXTEMP";
        LibraryPresent.fill(false);
        form.SetCore(&player);
    }

    // A file that exists, named name inside the test folder; returns its path.
    std::string MakeFile(const std::string &name) const { return folder.Write(name, "MThd"); }

    // An entry for an existing plain file.
    TPlayEntry PlainEntry(const std::string &name) const
    {
        return TPlayEntry{"", "title of " + name, name, MakeFile(name), ""};
    }

    std::string ListFile() const { return folder / "Sonolux.lst"; }

    QTreeView *List() const { return form.findChild<QTreeView *>("ListView1"); }
    QWidget *Strip() const { return form.findChild<QWidget *>("ViewCtrlBtn"); }

    // File names of the queue in order, with the marker in front of the marked one.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const TPlayEntry &entry : form.Queue().Entries())
            names.push_back(entry.Marker + entry.FileName);
        return names;
    }

    testing_support::TempFolder folder;
    FakePlayer player;
    Tview_form form;
};

using testing_support::FileDrop;

// Drags data onto target at pos and drops it there, as the window system delivers a drop.
// Returns whether the drop was taken.
inline bool DropOn(QWidget *target, const QPoint &pos, const QMimeData *data,
                   Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction)
{
    return testing_support::DropAt(target, pos, data, actions).accepted;
}
