#include "fuzzsupport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fuzzing {
namespace {

class OwnFolder
{
public:
    OwnFolder()
    {
        const char *base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/sonolux-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            Fail("cannot create a private folder from " + pattern);
        path_ = pattern;
    }
    ~OwnFolder() { RemoveTree(path_); }
    OwnFolder(const OwnFolder &) = delete;
    OwnFolder &operator=(const OwnFolder &) = delete;

    const std::string &Path() const { return path_; }

private:
    std::string path_;
};

} // namespace

const std::string &PrivateFolder()
{
    static const OwnFolder folder;
    return folder.Path();
}

void WriteWholeFile(const std::string &path, const std::uint8_t *data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out)
        Fail("cannot write " + path);
}

void WriteWholeFile(const std::string &path, const std::string &data)
{
    WriteWholeFile(path, reinterpret_cast<const std::uint8_t *>(data.data()), data.size());
}

void RemoveTree(const std::string &path)
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void Fail(const std::string &what)
{
    std::fprintf(stderr, "fuzz target: %s\n", what.c_str());
    std::abort();
}

} // namespace fuzzing
