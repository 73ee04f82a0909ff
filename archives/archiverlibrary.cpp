#include "archiverlibrary.h"

#include "earchiver.h"
#include "platform/mbcs.h"

#include <utility>

namespace archives {
namespace {

// The module name goes through a 257-byte buffer, as the platform reports it.
constexpr std::size_t moduleNameLimit = 256;

} // namespace

ArchiverLibrary::ArchiverLibrary(std::string name)
    : name_(std::move(name))
{
}

bool ArchiverLibrary::Load()
{
    if (!module_.IsLoaded())
        module_ = platform::DynamicLibrary::Load(name_);
    return module_.IsLoaded();
}

void ArchiverLibrary::Free()
{
    module_.Unload();
}

void *ArchiverLibrary::Find(const std::string &entry) const
{
    return module_.IsLoaded() ? module_.Symbol(entry) : nullptr;
}

std::string ArchiverLibrary::FileName() const
{
    return module_.IsLoaded() ? module_.Path() : platform::MapLibraryName(name_);
}

void *GetEntry(const ArchiverLibrary &library, const std::string &entry)
{
    void *address = library.Find(entry);
    if (address == nullptr) {
        const std::string module = platform::TruncateText(library.FileName(), moduleNameLimit);
        throw EArchiver(module + " に " + entry + " のエントリが見つかりません。");
    }
    return address;
}

void *EntryCache::Find(const std::string &entry) const
{
    const auto found = entries_.find(entry);
    return found == entries_.end() ? nullptr : found->second;
}

} // namespace archives
