#include "archiver.h"

#include "earchiver.h"

namespace archives {

void TArchiver::LoadDLL()
{
    throw EArchiver("Abstract method 'TArchiver.LoadDLL' was called");
}

void TArchiver::FreeDLL()
{
    throw EArchiver("Abstract method 'TArchiver.FreeDLL' was called");
}

HARC TArchiver::OpenArchive(HWND, const std::string &, std::uint32_t)
{
    return 0;
}

int TArchiver::FindFirst(HARC, INDIVIDUALINFO &, const std::string &)
{
    return -1;
}

int TArchiver::FindNext(HARC, INDIVIDUALINFO &)
{
    return -1;
}

int TArchiver::CloseArchive(HARC)
{
    return 0;
}

int TArchiver::Pack(HWND, const std::string &, std::string &, const TStringList *,
                    const std::string &, const TArchiverOptions &)
{
    throw EArchiver("この形式では書庫ファイルの作成をサポートしておりません。");
}

int TArchiver::Delete(HWND, const std::string &, std::string &, const TStringList *,
                      const std::string &, const TArchiverOptions &)
{
    throw EArchiver("この形式の書庫ではファイルの削除をサポートしておりません。");
}

int TArchiver::Update(HWND, const std::string &, std::string &, const TStringList *,
                      const std::string &, const TArchiverOptions &)
{
    throw EArchiver("この形式の書庫では書庫の更新をサポートしておりません。");
}

int TArchiver::MakeSFX(HWND, const std::string &, std::string &, const std::string &,
                       const TArchiverOptions &)
{
    throw EArchiver("この形式では自己解凍書庫の作成をサポートしておりません。");
}

int TArchiver::CheckArchive(const std::string &, int, int)
{
    throw EArchiver("この形式では書庫チェック機能をサポートしておりません。");
}

bool TArchiver::SetOwnerWindow(HWND, void *)
{
    return false;
}

bool TArchiver::KillOwnerWindow(HWND)
{
    return false;
}

void TArchiver::AddArchiveAndFiles(TCmdOpt &cmd, const TArchiverOptions &options,
                                   const std::string &archiveName, const std::string &folder,
                                   const TStringList *files)
{
    cmd.Add(options.UserOptions);
    cmd.AddPath("", archiveName);
    cmd.AddDir("", folder);
    if (files != nullptr)
        cmd.AddList("", *files);
    cmd.Add(options.UserFileList);
}

} // namespace archives
