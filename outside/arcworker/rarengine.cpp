#include "rarengine.h"

#include "outside/include/archiver_api.h"

#include <dlfcn.h>

namespace arc {
namespace {

constexpr const char *engineFileName = "libunrar.so";

protocol::MemberKind KindOf(std::uint32_t kind)
{
    switch (kind) {
    case UNRAR_KIND_FILE:
        return protocol::MemberKind::File;
    case UNRAR_KIND_DIRECTORY:
        return protocol::MemberKind::Directory;
    case UNRAR_KIND_LINK:
        return protocol::MemberKind::Link;
    case UNRAR_KIND_DEVICE:
        return protocol::MemberKind::Device;
    default:
        return protocol::MemberKind::Other;
    }
}

template<typename Function>
bool Resolve(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

} // namespace

std::unique_ptr<RarEngineReader> RarEngineReader::Open(const std::string &folder,
                                                       const std::string &path, int &code,
                                                       std::string &text)
{
    std::unique_ptr<RarEngineReader> reader(new RarEngineReader());
    const std::string enginePath = folder + "/" + engineFileName;
    reader->library_ = ::dlopen(enginePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    UNRAR_ENGINE_OPEN open = nullptr;
    if (reader->library_ == nullptr || !Resolve(reader->library_, "UnrarEngineOpen", open) ||
        !Resolve(reader->library_, "UnrarEngineNext", reader->next_) ||
        !Resolve(reader->library_, "UnrarEngineRead", reader->read_) ||
        !Resolve(reader->library_, "UnrarEngineSkipped", reader->skipped_) ||
        !Resolve(reader->library_, "UnrarEngineErrorText", reader->errorText_) ||
        !Resolve(reader->library_, "UnrarEngineClose", reader->close_)) {
        code = ERROR_NOT_SUPPORT;
        text = "the RAR engine " + enginePath + " cannot be loaded";
        return nullptr;
    }
    char message[512] = {};
    code = open(path.c_str(), &reader->engine_, message, sizeof message);
    if (code != 0) {
        text = message;
        return nullptr;
    }
    return reader;
}

RarEngineReader::~RarEngineReader()
{
    if (engine_ != nullptr)
        close_(engine_);
    if (library_ != nullptr)
        ::dlclose(library_);
}

int RarEngineReader::Next(MemberInfo &info)
{
    UNRAR_MEMBER member{};
    const int result = next_(engine_, &member);
    if (result != 0)
        return result;
    info = MemberInfo();
    info.entry.name = member.name != nullptr ? member.name : "";
    info.entry.kind = KindOf(member.kind);
    info.entry.size = member.size;
    info.entry.mtime = member.mtime;
    info.sizeKnown = member.sizeKnown != 0;
    info.refusal = member.refusal;
    return 0;
}

int RarEngineReader::ReadBlock(DataBlock &block, bool &fatal)
{
    const void *data = nullptr;
    std::uint64_t size = 0;
    std::uint64_t offset = 0;
    std::int32_t isFatal = 0;
    const int result = read_(engine_, &data, &size, &offset, &isFatal);
    fatal = isFatal != 0;
    block.data = data;
    block.size = static_cast<std::size_t>(size);
    block.offset = offset;
    return result;
}

int RarEngineReader::SkippedProblem() const
{
    return skipped_(engine_);
}

std::string RarEngineReader::ErrorText() const
{
    const char *text = errorText_(engine_);
    return text != nullptr ? text : "";
}

} // namespace arc
