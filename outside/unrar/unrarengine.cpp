// libunrar.so: the RAR engine (see outside/include/unrar_engine.h) behind a C interface.
// RAR 1.3 to 4 archives that libarchive misreads (old compression, solid archives) go to
// our own reader; libarchive reads the others and every RAR 5 archive.

#include "oldrarreader.h"
#include "outside/arcengine/libarchivereader.h"
#include "outside/include/archiver_api.h"
#include "outside/include/unrar_engine.h"

#include <algorithm>
#include <cstring>
#include <new>

struct UNRAR_ENGINE
{
    std::unique_ptr<arc::MemberReader> reader;
    arc::MemberInfo current;
    std::string errorText;
};

namespace {

uint32_t KindCode(arc::protocol::MemberKind kind)
{
    switch (kind) {
    case arc::protocol::MemberKind::File:
        return UNRAR_KIND_FILE;
    case arc::protocol::MemberKind::Directory:
        return UNRAR_KIND_DIRECTORY;
    case arc::protocol::MemberKind::Link:
        return UNRAR_KIND_LINK;
    case arc::protocol::MemberKind::Device:
        return UNRAR_KIND_DEVICE;
    default:
        return UNRAR_KIND_OTHER;
    }
}

void CopyMessage(const std::string &text, char *message, uint32_t size)
{
    if (message == nullptr || size == 0)
        return;
    const std::size_t length = std::min<std::size_t>(text.size(), size - 1);
    std::memcpy(message, text.data(), length);
    message[length] = '\0';
}

// Runs an entry's work; nothing thrown inside crosses the C interface. Memory running out
// answers ERROR_MORE_HEAP_MEMORY, anything else the entry's own failure code.
template<typename Work>
int Guarded(Work work, int failure)
{
    try {
        return work();
    } catch (const std::bad_alloc &) {
        return ERROR_MORE_HEAP_MEMORY;
    } catch (...) {
        return failure;
    }
}

int OpenEngine(const char *path, UNRAR_ENGINE **engine, char *message, uint32_t messageSize)
{
    int code = 0;
    std::string text;
    std::unique_ptr<arc::MemberReader> reader;
    if (unrar::OldRarReader::Needed(path))
        reader = unrar::OldRarReader::Open(path, code, text);
    else
        reader = arc::LibarchiveReader::Open(arc::ArchiveKind::Rar, path, code, text);
    if (!reader) {
        CopyMessage(text, message, messageSize);
        return code;
    }
    auto *created = new (std::nothrow) UNRAR_ENGINE;
    if (created == nullptr)
        return ERROR_MORE_HEAP_MEMORY;
    created->reader = std::move(reader);
    *engine = created;
    return 0;
}

int NextMember(UNRAR_ENGINE *engine, UNRAR_MEMBER *member)
{
    const int result = engine->reader->Next(engine->current);
    if (result != 0)
        return result;
    const arc::protocol::MemberEntry &entry = engine->current.entry;
    member->name = entry.name.c_str();
    member->kind = KindCode(entry.kind);
    member->sizeKnown = engine->current.sizeKnown ? 1 : 0;
    member->size = entry.size;
    member->mtime = entry.mtime;
    member->refusal = engine->current.refusal;
    return 0;
}

int ReadBlock(UNRAR_ENGINE *engine, const void **data, uint64_t *size, uint64_t *offset,
              int32_t *fatal)
{
    arc::DataBlock block;
    bool isFatal = false;
    const int result = engine->reader->ReadBlock(block, isFatal);
    *fatal = isFatal ? 1 : 0;
    *data = block.data;
    *size = block.size;
    *offset = block.offset;
    return result;
}

} // namespace

extern "C" {

ARC_EXPORT int UnrarEngineOpen(const char *path, UNRAR_ENGINE **engine, char *message,
                               uint32_t messageSize)
{
    if (path == nullptr || engine == nullptr)
        return ERROR_NOT_FIND_ARC_FILE;
    *engine = nullptr;
    return Guarded([&] { return OpenEngine(path, engine, message, messageSize); },
                   ERROR_CANNOT_READ);
}

ARC_EXPORT int UnrarEngineNext(UNRAR_ENGINE *engine, UNRAR_MEMBER *member)
{
    if (engine == nullptr || member == nullptr)
        return ERROR_HARC_ISNOT_OPENED;
    return Guarded([&] { return NextMember(engine, member); }, ERROR_HEADER_BROKEN);
}

ARC_EXPORT int UnrarEngineRead(UNRAR_ENGINE *engine, const void **data, uint64_t *size,
                               uint64_t *offset, int32_t *fatal)
{
    if (engine == nullptr || data == nullptr || size == nullptr || offset == nullptr ||
        fatal == nullptr)
        return ERROR_HARC_ISNOT_OPENED;
    *fatal = 1; // what throws leaves the reader in no state to go on
    return Guarded([&] { return ReadBlock(engine, data, size, offset, fatal); }, ERROR_DATA_BROKEN);
}

ARC_EXPORT int UnrarEngineSkipped(UNRAR_ENGINE *engine)
{
    return engine == nullptr ? 0 : Guarded([&] { return engine->reader->SkippedProblem(); }, 0);
}

ARC_EXPORT const char *UnrarEngineErrorText(UNRAR_ENGINE *engine)
{
    if (engine == nullptr)
        return "";
    try {
        engine->errorText = engine->reader->ErrorText();
    } catch (...) {
        engine->errorText.clear(); // clearing frees, it never allocates
    }
    return engine->errorText.c_str();
}

ARC_EXPORT void UnrarEngineClose(UNRAR_ENGINE *engine)
{
    delete engine;
}

} // extern "C"
