// Song intake: files chosen or dropped become play list entries; archives are extracted
// into the temporary folder and the songs found there are taken in.
#include "playercore.h"

#include "bindings.h"

#include "app/appstate.h"
#include "archives/archives.h"
#include "base/trimstring.h"
#include "base/workfile.h"
#include "formats/registry.h"
#include "platform/files.h"
#include "platform/mbcs.h"

#include <algorithm>
#include <cstring>

using archives::TArchiveFile;

namespace {

constexpr int ExtractOutputSize = 8192;

bool IsSongName(const std::string &name)
{
    return IsSongFile(platform::AsciiLowerCase(platform::ExtractFileExt(name)));
}

} // namespace

void TPlayerCore::AddSong(const std::string &path, const std::string &archivePath)
{
    // The title is read first so that a failing probe leaves no half-filled entry.
    TPlayEntry entry;
    entry.Title = ReadTitle(path);
    entry.FileName = platform::ExtractFileName(path);
    entry.FilePath = path;
    entry.ArchivePath = archivePath;
    queue_.Append(entry);
}

bool TPlayerCore::IsListed(const std::string &name) const
{
    return queue_.IsListed(name);
}

void TPlayerCore::TakeIn(const std::string &path)
{
    if (IsSongName(path)) {
        AddSong(path, std::string());
    } else {
        ExtractArchive(path, std::string());
        ScanTempFolder(path);
    }
}

void TPlayerCore::TakeInAll(const std::vector<std::string> &paths)
{
    try {
        for (const std::string &path : paths)
            TakeIn(path);
    } catch (...) {
        // The intake stops; what was added stays, and the play position stays valid.
        queue_.ClampPlayPosition();
        throw;
    }
    queue_.SetCurrentIndex(0);
    queue_.SetLastIndex(std::max(queue_.Count() - 1, 0));
    if (queue_.Count() == 0) {
        emit NoSongsFound();
        ShowIcon(StateIcon::Idle);
        return;
    }
    StartCurrentSong();
}

void TPlayerCore::OpenFiles(const std::vector<std::string> &paths)
{
    queue_.Clear();
    ClearTempFolder();
    TakeInAll(paths);
}

void TPlayerCore::AppendFiles(const std::vector<std::string> &paths)
{
    for (const std::string &path : paths)
        TakeIn(path);
}

void TPlayerCore::ExtractArchive(const std::string &archivePath, const std::string &mask)
{
    if (!formats::IsArchiveName(archivePath))
        return;
    const std::vector<std::string> masks =
        mask.empty() ? formats::SongMasks() : std::vector<std::string>{mask};
    TArchiveFile archive;
    archive.SetFileName(archivePath);
    archive.SetOutputSize(ExtractOutputSize);
    archive.Options().e = 1;
    archive.Options().n = 1;
    archive.Options().x = 0;
    archive.Extract(nullptr, TempFolder, &masks);
}

std::optional<std::string> TPlayerCore::ArchiveSongList(const std::string &archivePath) const
{
    if (!formats::IsArchiveName(archivePath))
        return std::nullopt;
    TArchiveFile archive;
    archive.SetFileName(archivePath);
    std::string lines;
    if (archive.OpenArchive(nullptr, 0) != 0) {
        INDIVIDUALINFO info{};
        for (int found = archive.FindFirst("*.*", info); found == 0;
             found = archive.FindNext(info)) {
            const std::string name(info.szFileName,
                                   strnlen(info.szFileName, sizeof info.szFileName));
            if (IsSongName(name))
                lines += name + "\r\n";
        }
        archive.CloseArchive();
    }
    if (lines.empty())
        lines = "対応するMIDIファイルがありません。";
    return base::Trim(lines, base::IsSpaceOrLineBreak);
}

void TPlayerCore::ScanTempFolder(const std::string &archivePath)
{
    if (!platform::DirectoryExists(TempFolder))
        return;
    for (const platform::FolderEntry &entry : platform::ListFolder(TempFolder)) {
        if (entry.isDirectory || entry.name == base::kWorkFileName)
            continue;
        if (IsSongName(entry.name) && !IsListed(entry.name))
            AddSong(TempFolder + "/" + entry.name, archivePath);
    }
}

void TPlayerCore::ExtractMember(int index)
{
    if (!queue_.IsValidIndex(index) || queue_.Entry(index).FilePath != NullPath)
        return;
    const TPlayEntry member = queue_.Entry(index);
    ExtractArchive(member.ArchivePath, member.FileName);
    queue_.SetFilePath(index, TempFolder + "/" + member.FileName);
}

void TPlayerCore::PlayEntry(int index)
{
    ExtractMember(index);
    queue_.SetCurrentIndex(index);
    StartCurrentSong();
}
