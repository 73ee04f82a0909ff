#include "archivefile.h"

#include "arj32.h"
#include "cab32.h"
#include "formats/registry.h"
#include "lha32.h"
#include "rar32.h"
#include "tar32.h"
#include "zip32.h"

namespace archives {
namespace {

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
        const TArchiverType type = formats::ArchiverOfName(name);
        if (type != TArchiverType::atAutoDetect)
            return type;
    }
    return TypeOfContent(name);
}

} // namespace archives
