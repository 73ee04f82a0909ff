#include "dynlib.h"

#include "files.h"
#include "mbcs.h"

#include <dlfcn.h>
#include <mutex>

namespace platform {
namespace {

thread_local std::string lastError;

std::mutex searchFolderMutex;
std::string &SearchFolderSetting()
{
    static std::string folder;
    return folder;
}

void RememberError()
{
    const char *text = ::dlerror();
    lastError = text != nullptr ? text : "unknown error";
}

} // namespace

std::string MapLibraryName(const std::string &name)
{
    const std::string lower = AsciiLowerCase(name);
    if (name.find('/') == std::string::npos && lower.size() > 4 &&
        lower.compare(lower.size() - 4, 4, ".dll") == 0)
        return "lib" + lower.substr(0, lower.size() - 4) + ".so";
    return name;
}

std::string LibrarySearchFolder()
{
    std::lock_guard<std::mutex> lock(searchFolderMutex);
    if (SearchFolderSetting().empty())
        SearchFolderSetting() = ProgramFolder();
    return SearchFolderSetting();
}

void SetLibrarySearchFolder(const std::string &folder)
{
    std::lock_guard<std::mutex> lock(searchFolderMutex);
    SearchFolderSetting() = folder.empty() ? std::string() : IncludeTrailingDelimiter(folder);
}

DynamicLibrary::DynamicLibrary(DynamicLibrary &&other) noexcept
    : handle_(other.handle_)
    , path_(std::move(other.path_))
{
    other.handle_ = nullptr;
}

DynamicLibrary &DynamicLibrary::operator=(DynamicLibrary &&other) noexcept
{
    if (this != &other) {
        Unload();
        handle_ = other.handle_;
        path_ = std::move(other.path_);
        other.handle_ = nullptr;
    }
    return *this;
}

DynamicLibrary::~DynamicLibrary()
{
    Unload();
}

DynamicLibrary DynamicLibrary::Load(const std::string &name)
{
    DynamicLibrary library;
    const std::string file = MapLibraryName(name);
    std::string path = file;
    if (file.find('/') == std::string::npos) {
        const std::string local = LibrarySearchFolder() + file;
        if (FileExists(local))
            path = local;
    }
    ::dlerror();
    library.handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library.handle_ == nullptr) {
        RememberError();
        return library;
    }
    library.path_ = path;
    return library;
}

void *DynamicLibrary::Symbol(const std::string &entry) const
{
    if (handle_ == nullptr) {
        lastError = "no library is loaded";
        return nullptr;
    }
    ::dlerror();
    void *address = ::dlsym(handle_, entry.c_str());
    if (address == nullptr)
        RememberError();
    return address;
}

void DynamicLibrary::Unload()
{
    if (handle_ != nullptr) {
        ::dlclose(handle_);
        handle_ = nullptr;
        path_.clear();
    }
}

std::string DynamicLibrary::LastError()
{
    return lastError;
}

bool CanLoadLibrary(const std::string &name)
{
    return DynamicLibrary::Load(name).IsLoaded();
}

} // namespace platform
