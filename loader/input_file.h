#pragma once
// A song file opened for reading, closed when the object goes.

#include "io_status.h"

#include "base/uniquefd.h"

#include <stddef.h>
#include <stdint.h>

namespace loader {

class InputFile
{
public:
    // How the file is locked while it is open (advisory, see sonolux_module.h):
    // Exclusive keeps out every other locking opener, Shared only exclusive ones.
    enum class Lock { Exclusive, Shared };

    InputFile() = default;
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    // Opens the existing regular file at path for reading and takes the lock without
    // waiting: a lock held by another opener fails the open. Anything but a regular file
    // (folder, pipe, device) is refused, so a call never blocks on it. Failures are
    // marked atOpen.
    IoStatus Open(const char *path, Lock lock);

    // Reads size bytes at offset into buffer; got receives how many were read, fewer only
    // where the file ends.
    IoStatus ReadAt(uint64_t offset, void *buffer, size_t size, size_t &got) const;

    // Closes the file; the result of the close is reported.
    IoStatus Close();

private:
    base::UniqueFd fd_;
};

} // namespace loader
