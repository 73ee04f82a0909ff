// The library's three entries. Nothing thrown inside may cross them.

#include "outside/rcpcv/rcpcv.h"

#include "outside/rcpcv/file_conversion.h"

#include <memory>
#include <new>

namespace {

// What a handle points to.
struct ConvertedSong
{
    rcpcv::Song song;
};

} // namespace

extern "C" void *rcpcvConvertFile(const char *path, int32_t, int32_t, int32_t, int32_t)
{
    if (path == nullptr)
        return nullptr;
    try {
        auto converted = std::make_unique<ConvertedSong>();
        if (rcpcv::ConvertFile(path, converted->song) != rcpcv::FileStatus::kOk)
            return nullptr;
        return converted.release();
    } catch (...) {
        return nullptr;
    }
}

extern "C" int32_t rcpcvSaveSMF(void *handle, const char *outputPath)
{
    if (handle == nullptr || outputPath == nullptr)
        return RCPCV_ERROR_ARGUMENT;
    try {
        const auto *converted = static_cast<const ConvertedSong *>(handle);
        return rcpcv::SaveSmf(converted->song, outputPath) ? RCPCV_OK : RCPCV_ERROR_WRITE;
    } catch (const std::bad_alloc &) {
        return RCPCV_ERROR_MEMORY;
    } catch (...) {
        return RCPCV_ERROR_WRITE;
    }
}

extern "C" void rcpcvDeleteObject(void *handle)
{
    const std::unique_ptr<ConvertedSong> owned(static_cast<ConvertedSong *>(handle));
}
