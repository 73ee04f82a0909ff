// Time and peak memory of the inputs far beyond any user's files: songs with millions of
// events, an archive of 100,000 members, a list file of 100,000 entries, and 2 GB files
// taken for a song, a list file and a settings file. Each case runs in a process of its
// own, so its peak resident memory is its own.
//
// Usage: resource_bench [case]   (no case: every case, one line each)

#include "app/appstate.h"
#include "archives/archives.h"
#include "core/listfile.h"
#include "core/playqueue.h"
#include "platform/dynlib.h"
#include "platform/files.h"
#include "platform/mci/mediaplayer.h"
#include "platform/mci/silentoutput.h"
#include "platform/mci/smfparser.h"
#include "platform/mci/songfile.h"
#include "platform/profile.h"
#include "support/bigfiles.h"
#include "support/smfbuilder.h"
#include "support/tempfolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::uint64_t TwoGiB = std::uint64_t{2} << 30;

double MsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Runs step, and says how long it took (or what it threw).
std::string Timed(const char *what, const std::function<void()> &step)
{
    const Clock::time_point start = Clock::now();
    std::string outcome;
    try {
        step();
    } catch (const std::exception &error) {
        outcome = " (refused: " + std::string(error.what()).substr(0, 60) + ")";
    }
    char text[160];
    std::snprintf(text, sizeof text, "  %s %.0f ms%s", what, MsSince(start), outcome.c_str());
    return text;
}

std::string Song(std::size_t events)
{
    testing_support::TempFolder folder;
    const std::string path = folder.Write("song.mid", testing_support::MakeManyEventsSmf(events));
    mci::TMediaPlayer device(std::make_shared<mci::SilentOutput>());
    device.SetFileName(path);
    return Timed("open", [&] { device.Open(); });
}

std::string Archive()
{
    testing_support::TempFolder folder;
    const std::string path = folder / "many.zip";
    testing_support::WriteManyMembersZip(path, 100000, "last.mid", testing_support::MakeSmf(1500));
    platform::SetLibrarySearchFolder(SONOLUX_DIST_DIR);
    std::string line = Timed("list", [&] {
        archives::TArchiveFile archive;
        archive.SetFileName(path);
        if (archive.OpenArchive(nullptr, 0) == 0)
            throw std::runtime_error("cannot list");
        INDIVIDUALINFO info{};
        for (int found = archive.FindFirst("*.*", info); found == 0;
             found = archive.FindNext(info)) {
        }
        archive.CloseArchive();
    });
    line += Timed("extract *.mid", [&] {
        archives::TArchiveFile archive;
        archive.SetFileName(path);
        const archives::TStringList masks = {"*.mid"};
        archive.Extract(nullptr, folder / "out", &masks);
    });
    struct rusage helper
    {
    };
    ::getrusage(RUSAGE_CHILDREN, &helper);
    return line + "  helper peak " + std::to_string(helper.ru_maxrss / 1024) + " MB";
}

// Every member a song: extraction of all, then one title probe per song through the loader
// module, loaded and unloaded around each call as the player's intake does.
std::string ArchiveOfSongs()
{
    testing_support::TempFolder folder;
    const std::string path = folder / "songs.zip";
    testing_support::WriteManyMembersZip(path, 100000, "last.mid", testing_support::MakeSmf(500),
                                         ".mid");
    platform::SetLibrarySearchFolder(SONOLUX_DIST_DIR);
    std::string line = Timed("extract *.mid", [&] {
        archives::TArchiveFile archive;
        archive.SetFileName(path);
        const archives::TStringList masks = {"*.mid"};
        archive.Extract(nullptr, folder / "out", &masks);
    });
    line += Timed("title probes", [&] {
        using ComLoadEntry = int (*)(unsigned char *, const unsigned char *);
        for (const platform::FolderEntry &entry : platform::ListFolder(folder / "out")) {
            const platform::DynamicLibrary loader = platform::DynamicLibrary::Load("sonolux.dll");
            const auto comLoad = loader.Entry<ComLoadEntry>("ComLoad");
            const std::string name = folder / ("out/" + entry.name);
            unsigned char in[256] = {static_cast<unsigned char>(name.size())};
            std::copy(name.begin(), name.end(), in + 1);
            unsigned char title[256] = {};
            comLoad(title, in);
        }
    });
    return line;
}

std::string List()
{
    testing_support::TempFolder folder;
    const std::string song = folder.Write("song.mid", testing_support::MakeSmf(800));
    std::vector<TPlayEntry> entries(100000);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].Title = "Title " + std::to_string(i);
        entries[i].FileName = "song" + std::to_string(i) + ".mid";
        entries[i].FilePath = song;
    }
    const std::string path = folder / "Sonolux.lst";
    listfile::WriteListFile(path, entries);
    PlayQueue queue;
    std::string line = Timed(
        "load", [&] { queue.Assign(listfile::CheckEntries(listfile::ReadListFile(path)).kept); });
    return line + Timed("save", [&] { listfile::WriteListFile(path, queue.Entries()); });
}

std::string Huge()
{
    testing_support::TempFolder folder;
    const std::string path = folder / "huge";
    testing_support::WriteSparseFile(path, TwoGiB, "MThd");
    std::string line = Timed("song check", [&] { mci::CheckSongFileSize(path); });
    line += Timed("list file", [&] { listfile::ReadListFile(path); });
    line += Timed("settings file", [&] {
        platform::ProfileFile(path).ReadString("Main", "X", "");
        platform::ProfileFile(path).WriteString("Main", "X", "1");
    });
    return line;
}

const std::map<std::string, std::function<std::string()>> &Cases()
{
    static const std::map<std::string, std::function<std::string()>> cases = {
        {"song-1M-events", [] { return Song(1000000); }},
        {"song-4M-events", [] { return Song(4000000); }},
        {"song-8M-events", [] { return Song(mci::kMaxSongEvents); }},
        {"song-8M+1-events", [] { return Song(mci::kMaxSongEvents + 1); }},
        {"archive-100k-members", Archive},
        {"archive-100k-songs", ArchiveOfSongs},
        {"list-100k-entries", List},
        {"files-of-2GB", Huge},
    };
    return cases;
}

int RunCase(const std::string &name)
{
    const auto found = Cases().find(name);
    if (found == Cases().end()) {
        std::fprintf(stderr, "unknown case %s\n", name.c_str());
        return 2;
    }
    const std::string line = found->second();
    std::printf("%-22s peak %4llu MB%s\n", name.c_str(),
                static_cast<unsigned long long>(testing_support::PeakResidentBytes() >> 20),
                line.c_str());
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1)
        return RunCase(argv[1]);
    for (const auto &[name, run] : Cases()) {
        std::fflush(stdout);
        const pid_t child = ::fork();
        if (child == 0)
            ::_exit(RunCase(name));
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    return 0;
}
