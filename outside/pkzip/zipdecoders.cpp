#include "zipdecoders.h"

#include "explode.h"
#include "inflate64.h"
#include "outside/codecio/storeddecoder.h"
#include "unreduce.h"
#include "unshrink.h"

#include <zlib.h>

namespace pkzip {
namespace {

// Deflate through zlib.
class Inflate : public codec::Decoder
{
public:
    explicit Inflate(codec::ByteSource &source)
        : source_(source)
    {
        broken_ = inflateInit2(&stream_, -MAX_WBITS) != Z_OK;
    }
    ~Inflate() override { inflateEnd(&stream_); }
    Inflate(const Inflate &) = delete;
    Inflate &operator=(const Inflate &) = delete;

    std::size_t Decode(unsigned char *out, std::size_t size) override
    {
        stream_.next_out = out;
        stream_.avail_out = static_cast<uInt>(size);
        while (!broken_ && !ended_ && stream_.avail_out == size) {
            if (stream_.avail_in == 0) {
                stream_.next_in = input_;
                stream_.avail_in = static_cast<uInt>(source_.Read(input_, sizeof input_));
            }
            const bool noInput = stream_.avail_in == 0;
            const int result = inflate(&stream_, Z_NO_FLUSH);
            ended_ = result == Z_STREAM_END;
            short_ = noInput && !ended_ && stream_.avail_out == size;
            broken_ = (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) || short_;
        }
        return size - stream_.avail_out;
    }
    bool Broken() const override { return broken_; }
    bool Short() const override { return short_; }
    bool HasEnd() const override { return true; }

private:
    codec::ByteSource &source_;
    z_stream stream_{};
    unsigned char input_[16384];
    bool broken_ = false;
    bool ended_ = false;
    bool short_ = false;
};

} // namespace

std::unique_ptr<codec::Decoder> MakeDecoder(const ZipEntry &entry, codec::ByteSource &source)
{
    switch (entry.method) {
    case methodStore:
        return std::make_unique<codec::StoredDecoder>(source);
    case methodShrink:
        return std::make_unique<Unshrink>(source);
    case methodImplode:
        return std::make_unique<Explode>(entry.flags, source);
    case methodDeflate:
        return std::make_unique<Inflate>(source);
    case methodDeflate64:
        return std::make_unique<Inflate64>(source);
    default:
        if (entry.method >= methodReduce1 && entry.method <= methodReduce4)
            return std::make_unique<Unreduce>(entry.method - 1, source);
        return nullptr;
    }
}

std::string MethodName(std::uint16_t method)
{
    switch (method) {
    case methodStore:
        return "store";
    case methodShrink:
        return "shrink";
    case methodImplode:
        return "implode";
    case methodDeflate:
        return "deflate";
    case methodDeflate64:
        return "deflate64";
    default:
        if (method >= methodReduce1 && method <= methodReduce4)
            return "reduce" + std::to_string(method - 1);
        return "method" + std::to_string(method);
    }
}

} // namespace pkzip
