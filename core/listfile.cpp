#include "listfile.h"

#include "app/appstate.h"
#include "platform/files.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace listfile {

const char *const ListFileName = "Sonolux.lst";
const char *const MissingCaption = "File not found! Once again, please confirm. ";

namespace {

constexpr char EndOfFile = '\x1A';
constexpr char Cr = '\r';
constexpr char Lf = '\n';
const std::string_view LineEnd = "\r\n";

// Sequential line reading over the data up to its first Ctrl-Z.
class LineReader
{
public:
    explicit LineReader(std::string_view data)
        : data_(data.substr(0, data.find(EndOfFile)))
    {
    }

    bool AtEnd() const { return pos_ >= data_.size(); }

    // The next line up to its CR (or the end); the CR and one LF after it are skipped.
    std::string ReadLine()
    {
        if (AtEnd())
            return std::string();
        const std::size_t cr = std::min(data_.find(Cr, pos_), data_.size());
        std::string line(data_.substr(pos_, cr - pos_));
        pos_ = cr;
        if (pos_ < data_.size())
            ++pos_;
        if (pos_ < data_.size() && data_[pos_] == Lf)
            ++pos_;
        return line;
    }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

// Appends a field and its line end; characters that would break the line structure
// become spaces.
void AppendLine(std::string &out, const std::string &field)
{
    const std::size_t start = out.size();
    out += field;
    for (std::size_t i = start; i < out.size(); ++i)
        if (out[i] == Cr || out[i] == Lf || out[i] == EndOfFile)
            out[i] = ' ';
    out += LineEnd;
}

bool IsArchiveMember(const TPlayEntry &entry)
{
    return entry.FilePath == NullPath;
}

} // namespace

std::string ListFilePath()
{
    return ConfigFolder + ListFileName;
}

std::vector<TPlayEntry> ParseEntries(const std::string &data)
{
    std::vector<TPlayEntry> entries;
    LineReader reader(data);
    while (!reader.AtEnd()) {
        TPlayEntry entry;
        entry.Title = reader.ReadLine();
        entry.FileName = reader.ReadLine();
        entry.FilePath = reader.ReadLine();
        entry.ArchivePath = reader.ReadLine();
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string FormatEntries(const std::vector<TPlayEntry> &entries)
{
    std::string out;
    std::size_t size = 0;
    for (const TPlayEntry &entry : entries)
        size += entry.Title.size() + entry.FileName.size() + entry.FilePath.size() +
                entry.ArchivePath.size() + 4 * LineEnd.size();
    out.reserve(size);
    for (const TPlayEntry &entry : entries) {
        AppendLine(out, entry.Title);
        AppendLine(out, entry.FileName);
        AppendLine(out, entry.ArchivePath.empty() ? entry.FilePath : std::string(NullPath));
        AppendLine(out, entry.ArchivePath);
    }
    return out;
}

CheckedEntries CheckEntries(std::vector<TPlayEntry> entries)
{
    CheckedEntries result;
    result.kept.reserve(entries.size());
    for (TPlayEntry &entry : entries) {
        if (IsArchiveMember(entry)) {
            if (platform::FileExists(entry.ArchivePath)) {
                result.kept.push_back(std::move(entry));
                continue;
            }
            result.report += entry.FileName + "\t[" + entry.ArchivePath + "]\r\n";
        } else {
            if (platform::FileExists(entry.FilePath)) {
                result.kept.push_back(std::move(entry));
                continue;
            }
            result.report += entry.FileName + "\r\n";
        }
    }
    return result;
}

std::vector<TPlayEntry> ReadListFile(const std::string &path)
{
    std::string data;
    try {
        data = platform::ReadFile(path, MaxListFileBytes);
    } catch (const platform::FileTooLargeError &) {
        throw std::runtime_error("The list file " + path +
                                 " is too large for a list file (more than " +
                                 std::to_string(MaxListFileBytes >> 20) + " MB).");
    }
    // Four lines per entry; counted before any entry is made.
    const std::string_view text = std::string_view(data).substr(0, data.find(EndOfFile));
    const std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), Cr));
    if (lines / 4 > MaxListEntries)
        throw std::runtime_error("The list file " + path + " holds more than " +
                                 std::to_string(MaxListEntries) + " entries.");
    return ParseEntries(data);
}

void WriteListFile(const std::string &path, const std::vector<TPlayEntry> &entries)
{
    platform::WriteFileAtomic(path, FormatEntries(entries));
}

} // namespace listfile
