#include "devicesettings.h"

#include "platform/files.h"
#include "platform/tempdir.h"
#include "platform/userfolders.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <unistd.h>

namespace render {

namespace {

// The device reads its settings from a folder's "midimap.ini"; a file of any other name is
// read through a link of that name in a private folder of its own, removed again after.
class MidiMapLink
{
public:
    explicit MidiMapLink(const std::string &target)
    {
        std::string pattern = platform::GetTempPath() + "sonolux-render-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("Cannot read the device settings \"" + target +
                                     "\": no private folder: " + std::strerror(errno));
        folder_ = pattern;
        link_ = folder_ + "/" + mci::kMidiMapFileName;
        if (::symlink(target.c_str(), link_.c_str()) != 0) {
            const int error = errno;
            ::rmdir(folder_.c_str());
            throw std::runtime_error("Cannot read the device settings \"" + target +
                                     "\": " + std::strerror(error));
        }
    }
    ~MidiMapLink()
    {
        ::unlink(link_.c_str());
        ::rmdir(folder_.c_str());
    }
    MidiMapLink(const MidiMapLink &) = delete;
    MidiMapLink &operator=(const MidiMapLink &) = delete;

    const std::string &Folder() const { return folder_; }

private:
    std::string folder_;
    std::string link_;
};

// The absolute, resolved path of a readable regular file. Throws std::runtime_error.
std::string ReadableFile(const std::string &path)
{
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr || ::access(resolved, R_OK) != 0)
        throw std::runtime_error("Cannot read the device settings \"" + path +
                                 "\": " + std::strerror(errno));
    if (!platform::FileExists(resolved))
        throw std::runtime_error("Cannot read the device settings \"" + path +
                                 "\": it is not a file.");
    return resolved;
}

} // namespace

mci::OutputConfig ReadDeviceSettings(const std::string &programFolder,
                                     const std::string &midimapFile)
{
    if (midimapFile.empty())
        return mci::ReadOutputConfig(platform::UserFoldersFor(programFolder).config);
    const MidiMapLink link(ReadableFile(midimapFile));
    return mci::ReadOutputConfig(link.Folder());
}

} // namespace render
