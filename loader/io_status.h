#pragma once
// The outcome of a file operation, as the module reports it across its boundary.

#include "sonolux_module.h"

namespace loader {

struct IoStatus
{
    int code = 0;        // 0: success; otherwise one of the I/O codes of sonolux_module.h
    bool atOpen = false; // the failure happened while opening the file

    bool Failed() const { return code != 0; }
};

// What a file was being used for when the system refused it. A missing entry means
// "file not found" for a file that is read, but "folder not found" for one being created.
enum class FileRole { Read, Create };

// The I/O code for a system error number.
int IoCodeFromErrno(int error, FileRole role);

IoStatus Failure(int code);
IoStatus OpenFailure(int code);
// The status for the current errno.
IoStatus SystemFailure(FileRole role);

} // namespace loader
