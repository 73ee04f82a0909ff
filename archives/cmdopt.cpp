#include "cmdopt.h"

#include "base/textbytes.h"

#include "earchiver.h"
#include "platform/mbcs.h"
#include "platform/textcodec.h"

namespace archives {

std::string ConvertPathDelimiter(const std::string &path, char delimiter)
{
    std::string result = path;
    // A name that is no valid UTF-8 is a Shift-JIS member name of an old archive, whatever
    // the process code page: its second bytes may have the value of a backslash.
    const bool shiftJis =
        platform::CodePage() == platform::cpShiftJis || !platform::IsValidUtf8(path);
    // Only the first byte of each character is looked at; a lead byte is never a backslash.
    for (std::size_t i = 0; i < result.size(); ++i) {
        const auto c = static_cast<unsigned char>(result[i]);
        if (shiftJis && (base::IsShiftJisLead(c)))
            ++i;
        else if (result[i] == '\\')
            result[i] = delimiter;
    }
    return result;
}

bool EndsWithBackslash(const std::string &text)
{
    return !text.empty() && platform::LastDelimiter("\\", text) == text.size() - 1;
}

void TCmdOpt::Add(const std::string &item)
{
    text_ += ' ';
    text_ += item;
}

void TCmdOpt::AddNumber(const std::string &name, int number)
{
    if (number != -1)
        Add("-" + name + std::to_string(number));
}

void TCmdOpt::AddString(const std::string &name, const std::string &value)
{
    if (IsUnset(value))
        return;
    // The archivers' syntax has no escape for a double quote: written in, it would end the
    // item early and the rest would be read as other items.
    if (value.find('"') != std::string::npos)
        throw EArchiver("二重引用符 (\") を含む名前は書庫操作に渡せません: " + value);
    if (name.empty())
        Add('"' + value + '"');
    else
        Add("\"-" + name + value + '"');
}

void TCmdOpt::AddPath(const std::string &name, const std::string &path)
{
    AddString(name, pathDelimiter_ == '\\' ? path : ConvertPathDelimiter(path, pathDelimiter_));
}

void TCmdOpt::AddDir(const std::string &name, const std::string &folder)
{
    if (folder.empty() || IsUnset(folder))
        return;
    AddPath(name, EndsWithBackslash(folder) ? folder : folder + '\\');
}

void TCmdOpt::AddList(const std::string &name, const TStringList &list)
{
    for (const std::string &item : list)
        AddPath(name, item);
}

} // namespace archives
