#include "corefixture.h"

#include "platform/dynlib.h"
#include "platform/files.h"

#include <filesystem>

namespace testing_support {

void EnqueueSong(PlayQueue &queue, const std::string &path, const std::string &title)
{
    TPlayEntry entry;
    entry.Title = title;
    entry.FileName = platform::ExtractFileName(path);
    entry.FilePath = path;
    queue.Append(entry);
}

int CountResets(mci::SilentOutput &output)
{
    int count = 0;
    for (const mci::LoggedEvent &event : output.Log()) {
        const mci::MidiMessage &bytes = event.message;
        if (bytes.size() >= 6 && bytes[0] == 0xF0 && bytes[1] == 0x7E && bytes[3] == 0x09)
            ++count;
    }
    return count;
}

void CoreTest::SetUp()
{
    const std::string dist = SONOLUX_DIST_DIR;
    platform::SetLibrarySearchFolder(dist);
    std::filesystem::create_directories(program_ / "format");
    std::filesystem::copy_file(dist + "/format/GM.MID", program_ / "format/GM.MID");

    clock_ = std::make_shared<mci::VirtualClock>();
    output_ = std::make_shared<mci::SilentOutput>(clock_);
    core_ = std::make_unique<TPlayerCore>(std::make_unique<mci::TMediaPlayer>(output_));
    QObject::connect(core_.get(), &TPlayerCore::NoSongsFound, [this] { ++noSongs_; });
    SetProgramFolder(program_.Path() + "/");
    ::TempFolder = program_ / "SONOLUXTEMP";
    LibraryPresent.fill(false); // each test says which outside libraries it wants
}

void CoreTest::TearDown()
{
    core_.reset();
    platform::SetLibrarySearchFolder("");
    LibraryPresent.fill(false);
    FormatName = "GM.MID";
}

std::string CoreTest::Song(const std::string &name, std::uint32_t lengthMs,
                           const std::string &title)
{
    return program_.Write(name, MakeSmf(lengthMs, title));
}

void CoreTest::Enqueue(const std::string &path, const std::string &title)
{
    EnqueueSong(Queue(), path, title);
}

void CoreTest::Advance(std::int64_t ms)
{
    clock_->Advance(std::chrono::milliseconds(ms));
}

int CoreTest::ResetsSent()
{
    return CountResets(*output_);
}

int CoreTest::Marked() const
{
    for (int i = 0; i < core_->Queue().Count(); ++i)
        if (core_->Queue().Entry(i).Marker == ">")
            return i;
    return -1;
}

} // namespace testing_support
