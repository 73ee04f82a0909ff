#include "work_file.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <unistd.h>

namespace loader {
namespace {

constexpr char kTemporarySuffix[] = ".XXXXXX";

// Fails while another opener holds the current file under name locked exclusively.
// A missing file, or one that cannot be opened to ask (a link, no read access), holds
// no lock that could be broken.
IoStatus CheckNotHeld(const char *name)
{
    const base::UniqueFd fd(
        ::open(name, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW));
    if (!fd.Valid())
        return IoStatus();
    if (::flock(fd.Get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK)
        return Failure(SONOLUX_IO_SHARING_VIOLATION);
    return IoStatus();
}

} // namespace

WorkFile::~WorkFile()
{
    Discard();
}

IoStatus WorkFile::Create(const ShortText &name)
{
    name_ = name;
    const IoStatus held = CheckNotHeld(name_.Bytes());
    if (held.Failed())
        return held;

    memcpy(temporaryName_, name_.Bytes(), name_.Length());
    memcpy(temporaryName_ + name_.Length(), kTemporarySuffix, sizeof(kTemporarySuffix));
    fd_.Reset(::mkostemp(temporaryName_, O_CLOEXEC));
    if (!fd_.Valid())
        return SystemFailure(FileRole::Create);
    pending_ = true;
    return IoStatus();
}

IoStatus WorkFile::Write(const void *bytes, size_t size)
{
    const char *next = static_cast<const char *>(bytes);
    while (size > 0) {
        const ssize_t written = ::write(fd_.Get(), next, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return SystemFailure(FileRole::Create);
        }
        next += written;
        size -= static_cast<size_t>(written);
    }
    return IoStatus();
}

IoStatus WorkFile::Commit()
{
    // close reports write-back errors of some file systems; the descriptor is gone either way.
    if (!fd_.Close() && errno != EINTR)
        return SystemFailure(FileRole::Create);
    if (::rename(temporaryName_, name_.Bytes()) != 0)
        return SystemFailure(FileRole::Create);
    pending_ = false;
    return IoStatus();
}

void WorkFile::Discard()
{
    fd_.Reset();
    if (pending_) {
        ::unlink(temporaryName_);
        pending_ = false;
    }
}

} // namespace loader
