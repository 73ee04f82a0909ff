#pragma once
// ARJ archives as a MemberReader, over our own decoder.

#include "outside/arccommon/memberreader.h"
#include "outside/arj/arjarchive.h"

#include <memory>
#include <vector>

namespace arc {

class ArjReader : public MemberReader
{
public:
    // nullptr with code and text when path is no readable ARJ archive.
    static std::unique_ptr<ArjReader> Open(const std::string &path, int &code, std::string &text);

    int Next(MemberInfo &info) override;
    int ReadBlock(DataBlock &block, bool &fatal) override;
    int SkippedProblem() const override { return 0; }
    std::string ErrorText() const override { return errorText_; }

private:
    ArjReader() = default;

    arj::ArjArchive archive_;
    std::vector<unsigned char> buffer_ = std::vector<unsigned char>(64 * 1024);
    std::uint64_t offset_ = 0;
    std::string errorText_;
};

} // namespace arc
