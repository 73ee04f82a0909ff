#include "bindings.h"

#include "app/appstate.h"
#include "base/workfile.h"
#include "loader/sonolux_module.h"
#include "outside/rcpcv/rcpcv.h"
#include "platform/dynlib.h"

#include <cstring>

namespace {

constexpr const char *LoaderModule = "sonolux.dll";
constexpr const char *Converter = "rcpcv.dll";
constexpr std::size_t ShortStringMax = 255;

// The converter's entries, typed as its header publishes them.
using ConvertFileEntry = decltype(&rcpcvConvertFile);
using SaveSmfEntry = decltype(&rcpcvSaveSMF);
using DeleteObjectEntry = decltype(&rcpcvDeleteObject);

struct ShortString
{
    unsigned char bytes[ShortStringMax + 1] = {};
};

// A path as a short string. A longer path is refused: cut to 255 bytes it would name
// another file.
ShortString ToShortString(const std::string &text)
{
    if (text.size() > ShortStringMax)
        throw std::runtime_error("The path is longer than 255 bytes and cannot be read: " + text);
    ShortString s;
    s.bytes[0] = static_cast<unsigned char>(text.size());
    std::memcpy(s.bytes + 1, text.data(), text.size());
    return s;
}

std::string FromShortString(const ShortString &s)
{
    return std::string(reinterpret_cast<const char *>(s.bytes + 1), s.bytes[0]);
}

platform::DynamicLibrary LoadOrFail(const char *name)
{
    platform::DynamicLibrary library = platform::DynamicLibrary::Load(name);
    if (!library.IsLoaded())
        throw EDLLoadError("Unable to Load DLL");
    return library;
}

template<typename Entry>
Entry EntryOrFail(const platform::DynamicLibrary &library, const char *name)
{
    const auto entry = library.Entry<Entry>(name);
    if (entry == nullptr)
        throw std::runtime_error(platform::DynamicLibrary::LastError());
    return entry;
}

} // namespace

EDLLoadError::EDLLoadError()
    : std::runtime_error("Unable to Load DLL")
{
}

EDLLoadError::EDLLoadError(const std::string &message)
    : std::runtime_error(message)
{
}

std::string ReadTitle(const std::string &path)
{
    const platform::DynamicLibrary library = LoadOrFail(LoaderModule);
    const auto comLoad = EntryOrFail<ComLoadFunction>(library, "ComLoad");
    const ShortString fileName = ToShortString(path);
    ShortString title;
    if (comLoad(title.bytes, fileName.bytes) != 0)
        throw std::runtime_error(FromShortString(title));
    return FromShortString(title);
}

std::string CheckHeader(const std::string &path)
{
    const platform::DynamicLibrary library = LoadOrFail(LoaderModule);
    const auto macCheck = EntryOrFail<MacCheckFunction>(library, "MacCheck");
    EnsureTempFolder();
    const ShortString folder = ToShortString(TempFolder);
    const ShortString fileName = ToShortString(path);
    ShortString result;
    if (macCheck(result.bytes, fileName.bytes, folder.bytes) != 0)
        throw std::runtime_error(FromShortString(result));
    return FromShortString(result);
}

std::string ConvertRcp(const std::string &path)
{
    const platform::DynamicLibrary library = LoadOrFail(Converter);
    const auto convertFile = EntryOrFail<ConvertFileEntry>(library, "rcpcvConvertFile");
    const auto saveSmf = EntryOrFail<SaveSmfEntry>(library, "rcpcvSaveSMF");
    const auto deleteObject = EntryOrFail<DeleteObjectEntry>(library, "rcpcvDeleteObject");
    EnsureTempFolder();
    const std::string output = TempFolder + "/" + base::kWorkFileName;

    void *song = convertFile(path.c_str(), 0, 0, 0, 0);
    if (song == nullptr)
        throw std::runtime_error("The song file " + path + " could not be converted.");
    const std::int32_t saved = saveSmf(song, output.c_str());
    deleteObject(song);
    // A song that was not written must not play the previous conversion in its place.
    if (saved != RCPCV_OK)
        throw std::runtime_error("The converted song could not be written to " + output + ".");
    return output;
}
