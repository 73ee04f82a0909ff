#include "faultfixture.h"

#include "platform/files.h"
#include "platform/mci/smfparser.h"
#include "platform/mci/songfile.h"

#include <algorithm>

namespace testing_support {

std::string ErrorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const std::exception &error) {
        return error.what();
    }
    return "(no error)";
}

std::vector<std::string> NamesIn(const std::string &folder)
{
    std::vector<std::string> names;
    for (const platform::FolderEntry &entry : platform::ListFolder(folder))
        names.push_back(entry.name);
    std::sort(names.begin(), names.end());
    return names;
}

void FaultTest::UseDevice(std::unique_ptr<mci::TMediaPlayer> device)
{
    bar_.reset();
    bar_ = std::make_unique<TMidi_main>(std::move(device));
    ExeFolder = program_.Path() + "/";
    LibraryPresent.fill(false);
    bar_->SetViewForm(view_.get());
    bar_->show();
}

std::int64_t FaultTest::ResetFileLengthMs() const
{
    const std::string bytes = mci::ReadSongFile(program_ / "format/GM.MID");
    const mci::Song song =
        mci::ParseSong(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    return song.lengthNs / 1000000;
}

} // namespace testing_support
