#include "responsefile.h"

#include "cmdopt.h"
#include "platform/files.h"

namespace archives {
namespace {

TStringList &SharedResponseList()
{
    static TStringList list(1);
    return list;
}

} // namespace

const TStringList *UseResponseFile(const TArchiverOptions &own, TResFileUse usage,
                                   const TStringList *files, char delimiter)
{
    const std::string &name = own.ResFileName;
    if (!own.ResFileUsage.Contains(usage) || IsUnset(name) || name.empty() || files == nullptr)
        return files;
    std::string text;
    for (const std::string &item : *files)
        text += '"' + ConvertPathDelimiter(item, delimiter) + "\"\r\n";
    platform::WriteFileAtomic(name, text);
    TStringList &shared = SharedResponseList();
    shared.front() = "@" + name;
    return &shared;
}

} // namespace archives
