#pragma once
// RAR archives as a MemberReader, through the engine in libunrar.so (loaded from the
// helper's own folder).

#include "outside/arccommon/memberreader.h"
#include "outside/include/unrar_engine.h"

#include <memory>

namespace arc {

class RarEngineReader : public MemberReader
{
public:
    // nullptr with code and text when the engine is missing or path is no RAR archive.
    static std::unique_ptr<RarEngineReader> Open(const std::string &folder, const std::string &path,
                                                 int &code, std::string &text);
    ~RarEngineReader() override;

    int Next(MemberInfo &info) override;
    int ReadBlock(DataBlock &block, bool &fatal) override;
    int SkippedProblem() const override;
    std::string ErrorText() const override;

private:
    RarEngineReader() = default;

    void *library_ = nullptr;
    UNRAR_ENGINE *engine_ = nullptr;
    UNRAR_ENGINE_NEXT next_ = nullptr;
    UNRAR_ENGINE_READ read_ = nullptr;
    UNRAR_ENGINE_SKIPPED skipped_ = nullptr;
    UNRAR_ENGINE_ERROR_TEXT errorText_ = nullptr;
    UNRAR_ENGINE_CLOSE close_ = nullptr;
};

} // namespace arc
