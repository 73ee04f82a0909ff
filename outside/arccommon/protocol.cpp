#include "protocol.h"

namespace arc::protocol {
namespace {

class PayloadWriter
{
public:
    void Number(std::uint64_t value)
    {
        for (int i = 0; i < 8; ++i)
            out_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
    void Text(const std::string &text)
    {
        Number(text.size());
        out_ += text;
    }
    std::string Record(RecordType type) const
    {
        std::string record(1, static_cast<char>(type));
        const std::uint32_t length = static_cast<std::uint32_t>(out_.size());
        for (int i = 0; i < 4; ++i)
            record.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
        return record + out_;
    }

private:
    std::string out_;
};

class PayloadReader
{
public:
    explicit PayloadReader(const std::string &payload)
        : payload_(payload)
    {
    }

    bool Number(std::uint64_t &value)
    {
        if (payload_.size() - position_ < 8)
            return false;
        value = 0;
        for (int i = 0; i < 8; ++i)
            value |= static_cast<std::uint64_t>(static_cast<unsigned char>(payload_[position_ + i]))
                     << (8 * i);
        position_ += 8;
        return true;
    }
    template<typename T>
    bool Small(T &value)
    {
        std::uint64_t wide = 0;
        if (!Number(wide))
            return false;
        value = static_cast<T>(wide);
        return true;
    }
    bool Text(std::string &text)
    {
        std::uint64_t length = 0;
        if (!Number(length) || payload_.size() - position_ < length)
            return false;
        text.assign(payload_, position_, static_cast<std::size_t>(length));
        position_ += static_cast<std::size_t>(length);
        return true;
    }
    bool AtEnd() const { return position_ == payload_.size(); }

private:
    const std::string &payload_;
    std::size_t position_ = 0;
};

void Put(PayloadWriter &writer, const MemberEntry &entry)
{
    writer.Text(entry.name);
    writer.Number(static_cast<std::uint64_t>(entry.kind));
    writer.Number(entry.size);
    writer.Number(entry.compressedSize);
    writer.Number(entry.crc);
    writer.Number(static_cast<std::uint64_t>(entry.mtime));
    writer.Number(entry.osType);
    writer.Text(entry.method);
}

bool Get(PayloadReader &reader, MemberEntry &entry)
{
    std::uint64_t kind = 0;
    if (!reader.Text(entry.name) || !reader.Number(kind) ||
        kind > static_cast<std::uint64_t>(MemberKind::Other) || !reader.Number(entry.size) ||
        !reader.Number(entry.compressedSize) || !reader.Small(entry.crc) ||
        !reader.Small(entry.mtime) || !reader.Small(entry.osType) || !reader.Text(entry.method))
        return false;
    entry.kind = static_cast<MemberKind>(kind);
    return true;
}

} // namespace

std::string Encode(const MemberEntry &entry)
{
    PayloadWriter writer;
    Put(writer, entry);
    return writer.Record(RecordType::Member);
}

std::string Encode(const BeginEntry &entry)
{
    PayloadWriter writer;
    Put(writer, entry.member);
    writer.Text(entry.destination);
    return writer.Record(RecordType::Begin);
}

std::string EncodeTemp(const std::string &path)
{
    PayloadWriter writer;
    writer.Text(path);
    return writer.Record(RecordType::Temp);
}

std::string EncodeProgress(std::uint64_t written)
{
    PayloadWriter writer;
    writer.Number(written);
    return writer.Record(RecordType::Progress);
}

std::string EncodeDone()
{
    return PayloadWriter().Record(RecordType::Done);
}

std::string Encode(const FailedEntry &entry)
{
    PayloadWriter writer;
    writer.Text(entry.name);
    writer.Number(static_cast<std::uint32_t>(entry.code));
    writer.Text(entry.text);
    return writer.Record(RecordType::Failed);
}

std::string Encode(const ResultEntry &entry)
{
    PayloadWriter writer;
    writer.Number(static_cast<std::uint32_t>(entry.code));
    writer.Text(entry.text);
    return writer.Record(RecordType::Result);
}

std::string EncodeTarType(bool isTar)
{
    PayloadWriter writer;
    writer.Number(isTar ? 1 : 0);
    return writer.Record(RecordType::TarType);
}

bool Decode(const std::string &payload, MemberEntry &entry)
{
    PayloadReader reader(payload);
    return Get(reader, entry) && reader.AtEnd();
}

bool Decode(const std::string &payload, BeginEntry &entry)
{
    PayloadReader reader(payload);
    return Get(reader, entry.member) && reader.Text(entry.destination) && reader.AtEnd();
}

bool DecodeString(const std::string &payload, std::string &text)
{
    PayloadReader reader(payload);
    return reader.Text(text) && reader.AtEnd();
}

bool DecodeNumber(const std::string &payload, std::uint64_t &value)
{
    PayloadReader reader(payload);
    return reader.Number(value) && reader.AtEnd();
}

bool Decode(const std::string &payload, FailedEntry &entry)
{
    PayloadReader reader(payload);
    std::uint32_t code = 0;
    if (!reader.Text(entry.name) || !reader.Small(code) || !reader.Text(entry.text) ||
        !reader.AtEnd())
        return false;
    entry.code = static_cast<std::int32_t>(code);
    return true;
}

bool Decode(const std::string &payload, ResultEntry &entry)
{
    PayloadReader reader(payload);
    std::uint32_t code = 0;
    if (!reader.Small(code) || !reader.Text(entry.text) || !reader.AtEnd())
        return false;
    entry.code = static_cast<std::int32_t>(code);
    return true;
}

void RecordParser::Feed(const char *data, std::size_t size)
{
    if (position_ > 0 && position_ == buffer_.size()) {
        buffer_.clear();
        position_ = 0;
    }
    buffer_.append(data, size);
}

bool RecordParser::Next(RecordType &type, std::string &payload)
{
    if (broken_ || buffer_.size() - position_ < 5)
        return false;
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i)
        length |= static_cast<std::uint32_t>(static_cast<unsigned char>(buffer_[position_ + 1 + i]))
                  << (8 * i);
    if (length > maxPayload) {
        broken_ = true;
        return false;
    }
    if (buffer_.size() - position_ - 5 < length)
        return false;
    type = static_cast<RecordType>(buffer_[position_]);
    payload.assign(buffer_, position_ + 5, length);
    position_ += 5 + length;
    if (position_ > (1u << 16) && position_ * 2 > buffer_.size()) {
        buffer_.erase(0, position_);
        position_ = 0;
    }
    return true;
}

} // namespace arc::protocol
