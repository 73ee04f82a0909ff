#include "archivefile.h"

#include "archiverfactory.h"
#include "arcwindow.h"
#include "earchiver.h"
#include "progresswindow.h"
#include "responsefile.h"

namespace archives {

TArchiveFile::TArchiveFile() = default;

TArchiveFile::~TArchiveFile()
{
    // A listing left open would keep the library's handle for the rest of the process.
    if (archiveHandle_ != 0 && archiver_) {
        try {
            archiver_->CloseArchive(archiveHandle_);
        } catch (const std::exception &) {
        }
    }
}

void TArchiveFile::SetArchiverType(TArchiverType value)
{
    if (value == TArchiverType::atNone)
        return;
    if (value == TArchiverType::atAutoDetect) {
        archiverType_ = value;
        return;
    }
    std::unique_ptr<TArchiver> created = CreateArchiver(value);
    archiver_ = std::move(created);
    archiverType_ = value;
}

void TArchiveFile::SetFileName(const std::string &value)
{
    SetArchiverType(DetectArchiverType(value, true));
    fileName_ = value;
}

void TArchiveFile::SetOutputSize(int size)
{
    if (size <= 0)
        outputBuffer_.clear();
    else
        outputBuffer_.assign(static_cast<std::size_t>(size), '\0');
}

std::string TArchiveFile::OutputText() const
{
    return outputBuffer_.substr(0, outputBuffer_.find('\0'));
}

HWND TArchiveFile::ProgressWindow() const
{
    return progressWindow_ ? progressWindow_->Handle() : nullptr;
}

TArchiver &TArchiveFile::CheckedArchiver() const
{
    if (!archiver_)
        throw EArchiver("書庫の形式を判別できません。");
    return *archiver_;
}

void TArchiveFile::AutoDetect()
{
    if (archiverType_ == TArchiverType::atAutoDetect)
        SetArchiverType(DetectArchiverType(fileName_, false));
}

HARC TArchiveFile::OpenArchive(HWND window, std::uint32_t mode)
{
    AutoDetect();
    archiveHandle_ = CheckedArchiver().OpenArchive(window, fileName_, mode);
    return archiveHandle_;
}

int TArchiveFile::FindFirst(const std::string &wildcard, INDIVIDUALINFO &info)
{
    return CheckedArchiver().FindFirst(archiveHandle_, info, wildcard);
}

int TArchiveFile::FindNext(INDIVIDUALINFO &info)
{
    return CheckedArchiver().FindNext(archiveHandle_, info);
}

void TArchiveFile::CloseArchive()
{
    CheckedArchiver().CloseArchive(archiveHandle_);
    archiveHandle_ = 0;
}

int TArchiveFile::Extract(HWND window, const std::string &folder, const TStringList *files)
{
    return Extract(window, nullptr, files, folder);
}

int TArchiveFile::Extract(HWND window, const TArchiverOptions *options, const TStringList *files,
                          const std::string &folder)
{
    TArchiver &archiver = CheckedArchiver();
    int result = 0;
    {
        // The registration ends however the extraction ends: the library must never keep
        // a window that goes with this component.
        struct ProgressScope
        {
            TArchiveFile &file;
            const bool registered;
            ~ProgressScope()
            {
                if (registered)
                    file.EndProgress();
            }
        } progress{*this, BeginProgress()};

        const TArchiverOptions &used = options != nullptr ? *options : options_;
        const TStringList *list =
            UseResponseFile(options_, TResFileUse::ruOnUnpack, files, archiver.PathDelimiter());
        result = archiver.Extract(window, fileName_, outputBuffer_, list, folder, used);
    }
    if (progressError_) {
        std::exception_ptr error = progressError_;
        progressError_ = nullptr;
        std::rethrow_exception(error);
    }
    commandLine_ = archiver.CommandLine();
    return result;
}

bool TArchiveFile::BeginProgress()
{
    if (!onProgress_)
        return false;
    try {
        RegisterArcExtractMessage();
        if (!progressWindow_)
            progressWindow_ = std::make_unique<TProgressWindow>(
                [this](std::int32_t state, EXTRACTINGINFOEX *info) {
                    return ReceiveProgress(state, info);
                });
        archiver_->SetOwnerWindow(progressWindow_->Handle(), nullptr);
    } catch (const std::exception &) {
    }
    return progressWindow_ != nullptr;
}

void TArchiveFile::EndProgress()
{
    try {
        archiver_->KillOwnerWindow(progressWindow_->Handle());
    } catch (const std::exception &) {
    }
}

bool TArchiveFile::ReceiveProgress(std::int32_t state, EXTRACTINGINFOEX *info)
{
    bool abort = false;
    if (!onProgress_)
        return abort;
    try {
        onProgress_(*this, state, info, abort);
    } catch (...) {
        if (!progressError_)
            progressError_ = std::current_exception();
        return true;
    }
    return abort;
}

} // namespace archives
