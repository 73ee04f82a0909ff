#pragma once
// RAR archives before RAR 5 that libarchive does not read right: RAR 1.3/1.4 archives,
// RAR 1.5 data, RAR 2.0 data (also audio), solid archives and members whose header CRC is
// damaged. Headers are ours (outside/oldrar); RAR 1.5 data is decoded by our decoder,
// later data by unarr. Every member is checked against the size and checksum of its
// header: a member that fails never ends in success.

#include "outside/arccommon/memberreader.h"
#include "outside/oldrar/rararchive.h"

#include <memory>
#include <vector>

namespace codec {
class CheckedMember;
class Decoder;
class FileRange;
} // namespace codec

namespace oldrar {
class Unpack15;
}

namespace unrar {

class UnarrSession;

class OldRarReader : public arc::MemberReader
{
public:
    // Whether the archive at path is a RAR archive before RAR 5 that this reader is for.
    static bool Needed(const std::string &path);
    // nullptr with code and text when path is no readable RAR archive before RAR 5.
    static std::unique_ptr<OldRarReader> Open(const std::string &path, int &code,
                                              std::string &text);
    ~OldRarReader() override;

    int Next(arc::MemberInfo &info) override;
    int ReadBlock(arc::DataBlock &block, bool &fatal) override;
    int SkippedProblem() const override { return 0; }
    std::string ErrorText() const override { return errorText_; }

private:
    OldRarReader();
    int Refusal(const oldrar::RarMember &member) const;
    int StartData();
    void FinishSolidPredecessor();
    void DropMember();
    int Fail(int code);

    std::string path_;
    oldrar::RarArchive archive_;
    oldrar::RarMember current_;
    bool haveCurrent_ = false;
    std::unique_ptr<oldrar::Unpack15> unpack15_;
    std::unique_ptr<UnarrSession> unarr_;
    std::unique_ptr<codec::FileRange> range_;
    std::unique_ptr<codec::Decoder> decoder_;
    std::unique_ptr<codec::CheckedMember> member_;
    bool currentDone_ = false;  // the current member was read to its end or failed
    bool unpack15Sound_ = true; // the RAR 1.5 decoder's state is that of sound members
    std::vector<unsigned char> buffer_ = std::vector<unsigned char>(64 * 1024);
    std::string errorText_;
};

} // namespace unrar
