#include "messages.h"

#include "sonolux_module.h"

#include <string.h>

namespace loader {
namespace {

// Each text comes in both code pages; the Shift-JIS form is written as its bytes.
const char *Pick(CodePage codePage, const char *utf8, const char *shiftJis)
{
    return codePage == CodePage::ShiftJis ? shiftJis : utf8;
}

// The text of the I/O codes that have one; nullptr for the others.
const char *CodeText(int code, CodePage codePage)
{
    switch (code) {
    case SONOLUX_IO_FILE_NOT_FOUND:
        return Pick(codePage, "ファイルが見つかりません",
                    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8"
                    "\x82\xdc\x82\xb9\x82\xf1");
    case SONOLUX_IO_INVALID_NAME:
        return Pick(codePage, "不正なファイル名です",
                    "\x95\x73\x90\xb3\x82\xc8\x83\x74\x83\x40\x83\x43\x83\x8b\x96\xbc\x82\xc5"
                    "\x82\xb7");
    case SONOLUX_IO_TOO_MANY_OPEN:
        return Pick(codePage, "オープンしたファイルが多すぎます",
                    "\x83\x49\x81\x5b\x83\x76\x83\x93\x82\xb5\x82\xbd\x83\x74\x83\x40\x83\x43"
                    "\x83\x8b\x82\xaa\x91\xbd\x82\xb7\x82\xac\x82\xdc\x82\xb7");
    case SONOLUX_IO_ACCESS_DENIED:
        return Pick(codePage, "ファイルへのアクセスが拒否されました",
                    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xd6\x82\xcc\x83\x41\x83\x4e\x83\x5a"
                    "\x83\x58\x82\xaa\x8b\x91\x94\xdb\x82\xb3\x82\xea\x82\xdc\x82\xb5\x82\xbd");
    case SONOLUX_IO_READ_PAST_END:
        return Pick(codePage, "ファイルの末尾以降を読み込みました",
                    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcc\x96\x96\x94\xf6\x88\xc8\x8d\x7e"
                    "\x82\xf0\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x82\xdc\x82\xb5\x82\xbd");
    case SONOLUX_IO_DISK_FULL:
        return Pick(codePage, "ディスクがいっぱいです",
                    "\x83\x66\x83\x42\x83\x58\x83\x4e\x82\xaa\x82\xa2\x82\xc1\x82\xcf\x82\xa2"
                    "\x82\xc5\x82\xb7");
    case SONOLUX_IO_NAME_TOO_LONG:
        return Pick(codePage, "ファイル名が長すぎます",
                    "\x83\x74\x83\x40\x83\x43\x83\x8b\x96\xbc\x82\xaa\x92\xb7\x82\xb7\x82\xac"
                    "\x82\xdc\x82\xb7");
    default:
        return nullptr;
    }
}

// A message being put together; longer than a short string so that it can be cut
// between characters once it is complete.
class MessageBuilder
{
public:
    explicit MessageBuilder(CodePage codePage)
        : codePage_(codePage)
    {
    }

    void Append(const void *bytes, size_t length)
    {
        const size_t room = sizeof(text_) - length_;
        const size_t taken = length < room ? length : room;
        memcpy(text_ + length_, bytes, taken);
        length_ += taken;
    }
    void Append(const char *text) { Append(text, strlen(text)); }

    void AppendDecimal(int value)
    {
        char digits[12];
        size_t count = 0;
        unsigned int rest =
            value < 0 ? 0u - static_cast<unsigned int>(value) : static_cast<unsigned int>(value);
        do {
            digits[sizeof(digits) - 1 - count++] = static_cast<char>('0' + rest % 10);
            rest /= 10;
        } while (rest != 0);
        if (value < 0)
            digits[sizeof(digits) - 1 - count++] = '-';
        Append(digits + sizeof(digits) - count, count);
    }

    void StoreTo(unsigned char *buffer) const
    {
        const size_t length = CutBetweenCharacters(text_, length_, kShortStringCapacity, codePage_);
        buffer[0] = static_cast<unsigned char>(length);
        memcpy(buffer + 1, text_, length);
    }

private:
    CodePage codePage_;
    unsigned char text_[2 * kShortStringCapacity] = {};
    size_t length_ = 0;
};

} // namespace

void StoreOpenErrorMessage(unsigned char *buffer, const ShortText &fileName, CodePage codePage)
{
    MessageBuilder message(codePage);
    message.Append(Pick(codePage, "ファイル ", "\x83\x74\x83\x40\x83\x43\x83\x8b "));
    message.Append(fileName.Data(), fileName.Length());
    message.Append(
        Pick(codePage, " は開けません", " \x82\xcd\x8a\x4a\x82\xaf\x82\xdc\x82\xb9\x82\xf1"));
    message.StoreTo(buffer);
}

void StoreIoErrorMessage(unsigned char *buffer, int code, CodePage codePage)
{
    MessageBuilder message(codePage);
    if (const char *text = CodeText(code, codePage)) {
        message.Append(text);
    } else {
        message.Append(Pick(codePage, "I/O エラー (", "I/O \x83\x47\x83\x89\x81\x5b ("));
        message.AppendDecimal(code);
        message.Append(")");
    }
    message.StoreTo(buffer);
}

} // namespace loader
