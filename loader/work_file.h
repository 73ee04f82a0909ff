#pragma once
// The work file "TEMP.MID", replaced as a whole: the new bytes go to a temporary file
// beside it, which is renamed over it once complete.
//
// Replacing by rename rather than truncating in place means that a reader that still
// has the old file open (a song playing from it) keeps its bytes intact, that a symbolic
// link under the name is replaced instead of its target being written, and that a
// failure leaves the old file as it was.

#include "base/uniquefd.h"
#include "io_status.h"
#include "short_string.h"

#include <stddef.h>

namespace loader {

class WorkFile
{
public:
    WorkFile() = default;
    // A copy that was not committed is closed and removed.
    ~WorkFile();
    WorkFile(const WorkFile &) = delete;
    WorkFile &operator=(const WorkFile &) = delete;

    // Starts replacing the file name. Fails with SONOLUX_IO_SHARING_VIOLATION while
    // another opener holds the current file locked exclusively, and with the creation
    // error when the temporary file cannot be made beside it.
    IoStatus Create(const ShortText &name);
    IoStatus Write(const void *bytes, size_t size);
    // Closes the new file and renames it over the name.
    IoStatus Commit();

private:
    void Discard();

    base::UniqueFd fd_;
    bool pending_ = false;
    ShortText name_;
    char temporaryName_[kShortStringCapacity + 16] = {};
};

} // namespace loader
