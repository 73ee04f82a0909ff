#include "loader_module.h"

#include <dirent.h>
#include <stdexcept>

namespace loader_testing {

LoaderModule::LoaderModule()
{
    platform::SetLibrarySearchFolder(SONOLUX_DIST_DIR);
    library_ = platform::DynamicLibrary::Load("sonolux.dll");
    if (!library_.IsLoaded())
        throw std::runtime_error("cannot load sonolux.dll: " +
                                 platform::DynamicLibrary::LastError());
    comLoad_ = library_.Entry<ComLoadFunction>("ComLoad");
    macCheck_ = library_.Entry<MacCheckFunction>("MacCheck");
    if (comLoad_ == nullptr || macCheck_ == nullptr)
        throw std::runtime_error("entry missing: " + platform::DynamicLibrary::LastError());
}

Outcome LoaderModule::ComLoad(const std::string &fileName) const
{
    const std::string name = ShortString(fileName);
    std::string title(256, '\x7f');
    Outcome outcome;
    outcome.code = comLoad_(reinterpret_cast<unsigned char *>(title.data()),
                            reinterpret_cast<const unsigned char *>(name.data()));
    outcome.text = FromShortString(title);
    return outcome;
}

Outcome LoaderModule::MacCheck(const std::string &fileName, const std::string &folder) const
{
    const std::string name = ShortString(fileName);
    const std::string where = ShortString(folder);
    std::string result(256, '\x7f');
    Outcome outcome;
    outcome.code = macCheck_(reinterpret_cast<unsigned char *>(result.data()),
                             reinterpret_cast<const unsigned char *>(name.data()),
                             reinterpret_cast<const unsigned char *>(where.data()));
    outcome.text = FromShortString(result);
    return outcome;
}

std::string ShortString(const std::string &text)
{
    if (text.size() > 255)
        throw std::length_error("no short string holds " + std::to_string(text.size()) + " bytes");
    std::string buffer(256, '\0');
    buffer[0] = static_cast<char>(text.size());
    buffer.replace(1, text.size(), text);
    return buffer;
}

std::string FromShortString(const std::string &buffer)
{
    return buffer.substr(1, static_cast<unsigned char>(buffer[0]));
}

namespace {

std::string BigEndian32(std::size_t value)
{
    std::string bytes(4, '\0');
    for (int i = 3; i >= 0; --i, value >>= 8)
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
    return bytes;
}

} // namespace

std::string SmfWithTrackData(const std::string &events)
{
    const std::string header("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14);
    const std::string track = events + std::string("\0\xFF\x2F\0", 4);
    return header + "MTrk" + BigEndian32(track.size()) + track;
}

std::string SmfWithTrackName(const std::string &name)
{
    return SmfWithTrackData(std::string("\0\xFF\x03", 3) + static_cast<char>(name.size()) + name +
                            std::string("\0\x90\x3C\x40\x60\x80\x3C\x40", 8));
}

int OpenDescriptorCount()
{
    DIR *folder = ::opendir("/proc/self/fd");
    if (folder == nullptr)
        throw std::runtime_error("cannot list /proc/self/fd");
    int count = 0;
    while (::readdir(folder) != nullptr)
        ++count;
    ::closedir(folder);
    return count;
}

} // namespace loader_testing
