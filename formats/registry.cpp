#include "registry.h"

#include "platform/files.h"
#include "platform/mbcs.h"

#include <algorithm>

namespace formats {

const std::array<TLibrary, LibraryCount> Libraries = {{
    {"unlha32.dll", nullptr},
    {"unzip32.dll", nullptr},
    {"cab32.dll", nullptr},
    {"unrar32.dll", "unrar.dll"},
    {"tar32.dll", nullptr},
    {"unarj32j.dll", nullptr},
    {"rcpcv.dll", nullptr},
}};

namespace {

constexpr int Lha = 0, Zip = 1, Cab = 2, Rar = 3, Tar = 4, Arj = 5, Rcp = 6;

std::vector<TFormat> MakeFormats()
{
    using K = TFormatKind;
    using A = TArchiverType;
    return {
        {K::Song, {".mid", ".rmi"}, NoLibrary, A::atNone, true},
        {K::Archive, {".lzh"}, Lha, A::atLha, true},
        {K::Archive, {".zip"}, Zip, A::atZip, true},
        {K::Archive, {".cab"}, Cab, A::atCab, true},
        {K::Archive, {".rar"}, Rar, A::atRar, true},
        {K::Archive, {".tar"}, Tar, A::atTar, true},
        {K::Archive, {".arj"}, Arj, A::atArj, true},
        {K::ConvertedSong, {".rcp", ".r36", ".g36"}, Rcp, A::atNone, true},
        {K::Archive, {".tgz", ".gz", ".z", ".taz"}, Tar, A::atTgz, false},
        {K::Archive, {".bz2"}, Tar, A::atBZ2, false},
        {K::Archive, {".exe"}, NoLibrary, A::atAutoDetect, false},
    };
}

bool IsSongKind(TFormatKind kind)
{
    return kind == TFormatKind::Song || kind == TFormatKind::ConvertedSong;
}

bool IsServed(const TFormat &format, const TLibraryFlags &present)
{
    return format.library == NoLibrary || present[static_cast<std::size_t>(format.library)];
}

std::string Patterns(const TFormat &format)
{
    std::string patterns;
    for (const std::string &extension : format.extensions)
        patterns += "*" + extension + ";";
    return patterns;
}

} // namespace

const std::vector<TFormat> &Formats()
{
    static const std::vector<TFormat> formats = MakeFormats();
    return formats;
}

const TFormat *FormatOfExtension(const std::string &extension)
{
    const std::string lower = platform::AsciiLowerCase(extension);
    for (const TFormat &format : Formats()) {
        const auto &known = format.extensions;
        if (std::find(known.begin(), known.end(), lower) != known.end())
            return &format;
    }
    return nullptr;
}

const TFormat *FormatOfName(const std::string &name)
{
    return FormatOfExtension(platform::ExtractFileExt(name));
}

bool IsSongExtension(const std::string &extension, const TLibraryFlags &present)
{
    const TFormat *format = FormatOfExtension(extension);
    return format != nullptr && IsSongKind(format->kind) && IsServed(*format, present);
}

bool IsArchiveName(const std::string &name)
{
    const TFormat *format = FormatOfName(name);
    return format != nullptr && format->kind == TFormatKind::Archive && format->offered;
}

TArchiverType ArchiverOfName(const std::string &name)
{
    const TFormat *format = FormatOfName(name);
    return format != nullptr ? format->archiver : TArchiverType::atNone;
}

std::vector<std::string> SongMasks()
{
    std::vector<std::string> masks;
    for (const TFormat &format : Formats()) {
        if (!IsSongKind(format.kind))
            continue;
        for (const std::string &extension : format.extensions)
            masks.push_back("*" + extension);
    }
    return masks;
}

std::string OpenFilter(const TLibraryFlags &present)
{
    std::string all = "Support Files|";
    std::string songs = "|Midi Fles|";
    for (const TFormat &format : Formats()) {
        if (!format.offered || !IsServed(format, present))
            continue;
        all += Patterns(format);
        if (IsSongKind(format.kind))
            songs += Patterns(format);
    }
    return all + songs;
}

} // namespace formats
