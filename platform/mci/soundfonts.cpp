#include "platform/mci/soundfonts.h"

#include "platform/files.h"
#include "platform/mbcs.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <set>
#include <sys/stat.h>

namespace mci {

namespace {

// Lower is preferred: FluidR3_GM, then General MIDI sets, then the rest.
int Rank(const std::string &path)
{
    const std::string name = platform::AsciiLowerCase(platform::ExtractFileName(path));
    if (name.rfind("fluidr3_gm", 0) == 0)
        return 0;
    if (name.find("gm") != std::string::npos)
        return 1;
    return 2;
}

std::string Canonical(const std::string &path)
{
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool IsLink(const std::string &path)
{
    struct stat info
    {
    };
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

} // namespace

std::vector<std::string> SoundFontFolders()
{
    std::vector<std::string> folders = {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3",
                                        "/usr/share/soundfonts", "/usr/local/share/soundfonts"};
    if (const char *home = std::getenv("HOME"); home && *home)
        folders.push_back(std::string(home) + "/.local/share/soundfonts");
    return folders;
}

std::vector<std::string> FindSoundFonts(const std::vector<std::string> &folders)
{
    std::vector<std::string> candidates;
    for (const std::string &folder : folders) {
        for (const platform::FolderEntry &entry : platform::ListFolder(folder, "*.sf?")) {
            const std::string path = platform::IncludeTrailingDelimiter(folder) + entry.name;
            const std::string ext = platform::AsciiLowerCase(platform::ExtractFileExt(path));
            if ((ext == ".sf2" || ext == ".sf3") && platform::FileExists(path))
                candidates.push_back(path);
        }
    }
    // A file is listed under its own name rather than a link's ("default-GM.sf2").
    std::stable_partition(candidates.begin(), candidates.end(),
                          [](const std::string &path) { return !IsLink(path); });
    std::vector<std::string> found;
    std::set<std::string> seen;
    for (const std::string &path : candidates)
        if (seen.insert(Canonical(path)).second)
            found.push_back(path);
    std::stable_sort(found.begin(), found.end(), [](const std::string &a, const std::string &b) {
        const int ra = Rank(a), rb = Rank(b);
        if (ra != rb)
            return ra < rb;
        return platform::AsciiLowerCase(platform::ExtractFileName(a)) <
               platform::AsciiLowerCase(platform::ExtractFileName(b));
    });
    return found;
}

std::vector<std::string> InstalledSoundFonts()
{
    return FindSoundFonts(SoundFontFolders());
}

std::string DefaultSoundFont()
{
    const std::vector<std::string> all = InstalledSoundFonts();
    return all.empty() ? std::string() : all.front();
}

} // namespace mci
