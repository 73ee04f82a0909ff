#include "smf_title.h"

#include "input_file.h"

namespace loader {
namespace {

constexpr size_t kWindowSize = 500;
constexpr unsigned char kMetaEvent = 0xFF;
constexpr unsigned char kTrackName = 0x03;
constexpr char kFallbackTitle[] = "Not found Title!";

// The bytes of the file looked at: the window, and as much beyond it as a title that
// starts inside the window needs.
class TitleBytes
{
public:
    explicit TitleBytes(const InputFile &file)
        : file_(file)
    {
    }

    IoStatus ReadWindow() { return ReadUpTo(kWindowSize); }

    // Reads on so that the bytes before end are present, where the file has them.
    IoStatus ReadUpTo(size_t end)
    {
        if (end <= count_ || atEnd_)
            return IoStatus();
        size_t got = 0;
        const IoStatus status = file_.ReadAt(count_, bytes_ + count_, end - count_, got);
        count_ += got;
        atEnd_ = count_ < end;
        return status;
    }

    size_t Count() const { return count_; }
    const unsigned char *Bytes() const { return bytes_; }

private:
    const InputFile &file_;
    // Window, then up to the marker's length byte and 255 text bytes.
    unsigned char bytes_[kWindowSize + 1 + 255] = {};
    size_t count_ = 0;
    bool atEnd_ = false;
};

// Position of the first FF 03 pair lying wholly inside the window; count when none.
size_t FindTitleMarker(const unsigned char *bytes, size_t count)
{
    for (size_t i = 0; i + 1 < count; ++i)
        if (bytes[i] == kMetaEvent && bytes[i + 1] == kTrackName)
            return i;
    return count;
}

IoStatus ReadTitleText(TitleBytes &window, ShortText &title)
{
    const size_t marker = FindTitleMarker(window.Bytes(), window.Count());
    if (marker == window.Count())
        return IoStatus();
    const size_t lengthAt = marker + 2;
    IoStatus status = window.ReadUpTo(lengthAt + 1);
    if (status.Failed() || lengthAt >= window.Count())
        return status;
    const size_t textAt = lengthAt + 1;
    status = window.ReadUpTo(textAt + window.Bytes()[lengthAt]);
    if (status.Failed() || textAt >= window.Count())
        return status;
    const size_t wanted = window.Bytes()[lengthAt];
    const size_t present = window.Count() - textAt;
    title.Assign(window.Bytes() + textAt, wanted < present ? wanted : present);
    return IoStatus();
}

} // namespace

IoStatus ReadSmfTitle(const char *path, ShortText &title)
{
    InputFile file;
    IoStatus status = file.Open(path, InputFile::Lock::Exclusive);
    if (status.Failed())
        return status;
    TitleBytes window(file);
    status = window.ReadWindow();
    if (!status.Failed())
        status = ReadTitleText(window, title);
    if (status.Failed())
        return status;
    if (title.Length() == 0)
        title.Assign(kFallbackTitle, sizeof(kFallbackTitle) - 1);
    return file.Close();
}

} // namespace loader
