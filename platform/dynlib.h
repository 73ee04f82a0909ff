#pragma once
// Libraries loaded at run time by name, as the program's design binds its loader
// module, converter and archiver libraries.
//
// A name of the form "X.dll" (any letter case) stands for the file "libx.so" (the name
// lower-cased): "UNLHA32.DLL" and "unlha32.dll" both load "libunlha32.so". The program
// folder is searched first, then the system loader's own path. Any other name is passed
// to the system loader as it is.

#include <string>

namespace platform {

// The file name a library name stands for ("Sonolux.dll" -> "libsonolux.so").
std::string MapLibraryName(const std::string &name);

// The folder searched first; the running program's folder unless set. Tests point it at
// the folder where the libraries under test were built.
std::string LibrarySearchFolder();
void SetLibrarySearchFolder(const std::string &folder);

// One loaded library, unloaded when the object goes. Move-only.
class DynamicLibrary
{
public:
    DynamicLibrary() = default;
    DynamicLibrary(DynamicLibrary &&other) noexcept;
    DynamicLibrary &operator=(DynamicLibrary &&other) noexcept;
    DynamicLibrary(const DynamicLibrary &) = delete;
    DynamicLibrary &operator=(const DynamicLibrary &) = delete;
    ~DynamicLibrary();

    // Loads name; the result is empty (IsLoaded false) when it cannot be loaded, and
    // LastError() then tells why.
    static DynamicLibrary Load(const std::string &name);

    bool IsLoaded() const { return handle_ != nullptr; }
    // Address of an exported entry, or nullptr when the library has none of that name
    // (LastError() then holds the system's text).
    void *Symbol(const std::string &entry) const;
    template<typename Function>
    Function Entry(const std::string &entry) const
    {
        return reinterpret_cast<Function>(Symbol(entry));
    }
    // The path the library was loaded from.
    const std::string &Path() const { return path_; }

    void Unload();

    // The system's text for the last failed Load or Symbol on this thread.
    static std::string LastError();

private:
    void *handle_ = nullptr;
    std::string path_;
};

// True when name can be loaded (it is unloaded again at once).
bool CanLoadLibrary(const std::string &name);

} // namespace platform
