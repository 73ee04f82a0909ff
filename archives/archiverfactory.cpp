#include "archiverfactory.h"

#include "arj32.h"
#include "cab32.h"
#include "earchiver.h"
#include "lha32.h"
#include "rar32.h"
#include "tar32.h"
#include "zip32.h"

namespace archives {

std::unique_ptr<TArchiver> CreateArchiver(TArchiverType type)
{
    switch (type) {
    case TArchiverType::atLha:
        return std::make_unique<TLha32>();
    case TArchiverType::atZip:
        return std::make_unique<TZip32>();
    case TArchiverType::atCab:
        return std::make_unique<TCab32>();
    case TArchiverType::atArj:
        return std::make_unique<TArj32>();
    case TArchiverType::atTar:
        return std::make_unique<TTar32>();
    case TArchiverType::atTgz:
        return std::make_unique<TTgz32>();
    case TArchiverType::atBZ2:
        return std::make_unique<TBZ232>();
    case TArchiverType::atRar:
        return std::make_unique<TRar32>();
    default:
        throw EArchiver("現在のバージョンではこの形式の書庫をサポートしていません。");
    }
}

void FreeArchiverDLLs()
{
    TLha32::UnloadDLL();
    TArj32::UnloadDLL();
    TZip32::UnloadDLL();
    TCab32::UnloadDLL();
    TTar32::UnloadDLL();
    TRar32::UnloadDLL();
}

} // namespace archives
