// Song intake: files chosen or dropped become play list entries; archives are extracted
// into the temporary folder and the songs found there are taken in.
#include "main.h"

#include "ui_main.h"

#include "app/appstate.h"

#include "archives/archives.h"
#include "formats/registry.h"
#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/textcodec.h"
#include "playlist/view.h"

#include <QMessageBox>

using archives::TArchiveFile;
using archives::TStringList;

namespace {

constexpr int ExtractOutputSize = 8192;
constexpr const char *WorkFileName = "TEMP.MID";

std::string TrimLines(const std::string &text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

} // namespace

void TMidi_main::AddSong(const std::string &path, const std::string &archivePath)
{
    // The title is read first so that a failing probe leaves no half-filled entry.
    TPlayEntry entry;
    entry.Title = ReadTitle(path);
    entry.FileName = platform::ExtractFileName(path);
    entry.FilePath = path;
    entry.ArchivePath = archivePath;
    Queue().Append(entry);
}

bool TMidi_main::IsListed(const std::string &name)
{
    return Queue().IsListed(name);
}

void TMidi_main::TakeIn(const std::string &path)
{
    if (IsSongFile(platform::AsciiLowerCase(platform::ExtractFileExt(path)))) {
        AddSong(path, std::string());
    } else {
        ExtractArchive(path, std::string(), ExtractMode);
        ScanTempFolder(path);
    }
}

void TMidi_main::TakeInAll(const std::vector<std::string> &paths)
{
    PlayQueue &queue = Queue();
    try {
        for (const std::string &path : paths)
            TakeIn(path);
    } catch (...) {
        // The intake stops; what was added stays, and the play position stays valid.
        queue.ClampPlayPosition();
        throw;
    }
    CurrentIndex = 0;
    LastIndex = queue.Count() - 1;
    if (LastIndex < 0) {
        LastIndex = 0;
        QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                        QString::fromUtf8("対応するMIDIファイルが存在していません。"),
                        QMessageBox::Ok, this);
        box.exec();
        ShowIcon(StateIcon::Idle);
        return;
    }
    StartCurrentSong();
}

void TMidi_main::WMDropFiles(const std::vector<std::string> &paths)
{
    Queue().Clear();
    ClearTempFolder();
    TakeInAll(paths);
}

void TMidi_main::ExtractArchive(const std::string &archivePath, const std::string &mask, int mode)
{
    if (!formats::IsArchiveName(archivePath))
        return;
    const std::vector<std::string> masks =
        mask.empty() ? formats::SongMasks() : std::vector<std::string>{mask};
    TArchiveFile archive;
    archive.SetFileName(archivePath);
    if (mode == ExtractMode) {
        archive.SetOutputSize(ExtractOutputSize);
        archive.Options().e = 1;
        archive.Options().n = 1;
        archive.Options().x = 0;
        archive.Extract(nullptr, TempFolder, &masks);
        return;
    }

    std::string lines;
    if (archive.OpenArchive(nullptr, 0) != 0) {
        INDIVIDUALINFO info{};
        for (int found = archive.FindFirst("*.*", info); found == 0;
             found = archive.FindNext(info)) {
            const std::string name(info.szFileName,
                                   strnlen(info.szFileName, sizeof info.szFileName));
            if (IsSongFile(platform::AsciiLowerCase(platform::ExtractFileExt(name))))
                lines += name + "\r\n";
        }
        archive.CloseArchive();
    }
    if (lines.empty())
        lines = "対応するMIDIファイルがありません。";
    SetPreviewText(TrimLines(lines));
}

void TMidi_main::ExtractArchive(const std::string &archivePath, const std::string &mask)
{
    ExtractArchive(archivePath, mask, ExtractMode);
}

void TMidi_main::ScanTempFolder(const std::string &archivePath)
{
    if (!platform::DirectoryExists(TempFolder))
        return;
    for (const platform::FolderEntry &entry : platform::ListFolder(TempFolder)) {
        if (entry.isDirectory || entry.name == WorkFileName)
            continue;
        if (IsSongFile(platform::AsciiLowerCase(platform::ExtractFileExt(entry.name))) &&
            !IsListed(entry.name))
            AddSong(TempFolder + "/" + entry.name, archivePath);
    }
}

void TMidi_main::SetPreviewText(const std::string &text)
{
    previewText_ = text;
    ui->DialogTitle->setText(platform::DecodeText(text));
    ui->DialogTitle->setCursorPosition(0);
}
