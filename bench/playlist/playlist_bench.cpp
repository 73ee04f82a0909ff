// Load, Save and reordering of a long play list through the play list window, as the user
// drives them: the list file written and read back in full (every entry's file checked for
// existence, no title probes), and entries dragged to new places while the window shows.
//
// Usage: playlist_bench [entries (10000)] [rounds (7)]

#include "app/appstate.h"
#include "app/datafolder.h"
#include "core/listfile.h"
#include "playlist/listview.h"
#include "playlist/view.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Every fifth entry is an archive member (of one of 20 archives), the others plain files;
// titles are Japanese text of typical length.
std::vector<TPlayEntry> MakeEntries(const std::string &folder, int count)
{
    std::vector<std::string> archives;
    for (int a = 0; a < 20; ++a) {
        archives.push_back(folder + "/set" + std::to_string(a) + ".lzh");
        std::ofstream(archives.back()) << "-lh5-";
    }
    std::vector<TPlayEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        TPlayEntry entry;
        entry.FileName = "song" + std::to_string(i) + ".mid";
        entry.Title = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\xE3\x81\xAE\xE6\x9B\xB2 No." +
                      std::to_string(i) + " (Sound Module Arrangement)";
        if (i % 5 == 4) {
            entry.FilePath = NullPath;
            entry.ArchivePath = archives[static_cast<std::size_t>(i % 20)];
        } else {
            entry.FilePath = folder + "/" + entry.FileName;
            std::ofstream(entry.FilePath) << "MThd";
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Median and worst time of action over rounds runs.
void Measure(const char *what, int rounds, const std::function<void()> &action)
{
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        const auto start = Clock::now();
        action();
        QApplication::processEvents(); // the view's repaint after the change
        times.push_back(Milliseconds(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %8.2f ms   worst %8.2f ms\n", what, times[times.size() / 2],
                times.back());
}

// Drops the entry at from on the row under the viewport point pos, as a drag does.
void DragRow(QTreeView *list, int from, const QPoint &pos)
{
    list->selectionModel()->select(list->model()->index(from, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const auto data = static_cast<TListView *>(list)->RowDragData();
    QDragEnterEvent enter(pos, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    QDropEvent drop(pos, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const std::string path = folder.path().toStdString();
    SetProgramFolder(path + "/");
    TempFolder = path + "/SONOLUXTEMP";
    const std::vector<TPlayEntry> entries = MakeEntries(path, count);

    Tview_form form;
    form.show();
    form.Queue().Assign(entries);
    QApplication::processEvents();
    std::printf("%d entries, %d rounds\n", count, rounds);

    Measure("Save (format, write, sync, rename)", rounds, [&] { form.SaveList(); });
    std::ifstream file(listfile::ListFilePath(), std::ios::binary | std::ios::ate);
    std::printf("  list file: %lld bytes\n", static_cast<long long>(file.tellg()));
    Measure("Load (read, parse, check files, show)", rounds, [&] { form.LoadList(); });
    if (form.Queue().Count() != count) {
        std::fprintf(stderr, "Load kept %d of %d entries\n", form.Queue().Count(), count);
        return 1;
    }

    const std::string data = listfile::FormatEntries(entries);
    Measure("  of which parsing alone", rounds, [&] { listfile::ParseEntries(data); });
    Measure("  of which checking files alone", rounds,
            [&] { listfile::CheckEntries(listfile::ParseEntries(data)); });

    QTreeView *list = form.findChild<QTreeView *>("ListView1");
    const QPoint onThirdRow = list->visualRect(list->model()->index(2, 1)).center();
    std::mt19937 random(8);
    std::uniform_int_distribution<int> anyRow(0, count - 1);
    Measure("Drag a random entry onto the third row", rounds * 20,
            [&] { DragRow(list, anyRow(random), onThirdRow); });
    list->scrollToBottom();
    QApplication::processEvents();
    const QPoint nearTheEnd = list->visualRect(list->model()->index(count - 2, 1)).center();
    Measure("Drag the first entry to the end of the list", rounds * 20,
            [&] { DragRow(list, 0, nearTheEnd); });
    return 0;
}
