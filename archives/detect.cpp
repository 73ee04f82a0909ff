#include "archivefile.h"

#include "arj32.h"
#include "cab32.h"
#include "lha32.h"
#include "platform/files.h"
#include "platform/mbcs.h"
#include "rar32.h"
#include "tar32.h"
#include "zip32.h"

#include <utility>

namespace archives {
namespace {

// The format of a lower-cased extension; atAutoDetect for ".exe" (look at the content).
TArchiverType TypeOfExtension(const std::string &extension)
{
    static const std::pair<const char *, TArchiverType> table[] = {
        {".lzh", TArchiverType::atLha}, {".cab", TArchiverType::atCab},
        {".zip", TArchiverType::atZip}, {".arj", TArchiverType::atArj},
        {".rar", TArchiverType::atRar}, {".bz2", TArchiverType::atBZ2},
        {".tar", TArchiverType::atTar}, {".z", TArchiverType::atTgz},
        {".gz", TArchiverType::atTgz},  {".tgz", TArchiverType::atTgz},
        {".taz", TArchiverType::atTgz}, {".exe", TArchiverType::atAutoDetect},
    };
    for (const auto &[known, type] : table)
        if (extension == known)
            return type;
    return TArchiverType::atNone;
}

TArchiverType TypeOfContent(const std::string &name)
{
    // Every probe runs, in this order, whatever the earlier ones found.
    const TArchiverType tar = TTar32::ProbeArchive(name);
    const bool rar = TRar32::ProbeArchive(name);
    const bool arj = TArj32::ProbeArchive(name);
    const bool cab = TCab32::ProbeArchive(name);
    const bool zip = TZip32::ProbeArchive(name);
    const bool lha = TLha32::ProbeArchive(name);
    if (lha)
        return TArchiverType::atLha;
    if (zip)
        return TArchiverType::atZip;
    if (cab)
        return TArchiverType::atCab;
    if (arj)
        return TArchiverType::atArj;
    if (rar)
        return TArchiverType::atRar;
    return tar;
}

} // namespace

TArchiverType TArchiveFile::DetectArchiverType(const std::string &name, bool byExtension)
{
    if (byExtension) {
        const TArchiverType type =
            TypeOfExtension(platform::AsciiLowerCase(platform::ExtractFileExt(name)));
        if (type != TArchiverType::atAutoDetect)
            return type;
    }
    return TypeOfContent(name);
}

} // namespace archives
