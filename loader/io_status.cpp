#include "io_status.h"

#include <errno.h>

namespace loader {
namespace {

// True for the codes that have a message of their own; an errno of the same number
// must not be reported under it.
bool IsTableCode(int code)
{
    switch (code) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 100:
    case 101:
    case 106:
        return true;
    default:
        return false;
    }
}

} // namespace

int IoCodeFromErrno(int error, FileRole role)
{
    switch (error) {
    case ENOENT:
        return role == FileRole::Read ? SONOLUX_IO_FILE_NOT_FOUND : SONOLUX_IO_INVALID_NAME;
    case ENOTDIR:
    case EINVAL:
    case ELOOP:
        return SONOLUX_IO_INVALID_NAME;
    case EMFILE:
    case ENFILE:
        return SONOLUX_IO_TOO_MANY_OPEN;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case ENXIO:
        return SONOLUX_IO_ACCESS_DENIED;
    case EWOULDBLOCK:
        return SONOLUX_IO_SHARING_VIOLATION;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return SONOLUX_IO_DISK_FULL;
    case ENAMETOOLONG:
        return SONOLUX_IO_NAME_TOO_LONG;
    default:
        return (error <= 0 || IsTableCode(error)) ? SONOLUX_IO_DEVICE_ERROR : error;
    }
}

IoStatus Failure(int code)
{
    IoStatus status;
    status.code = code;
    return status;
}

IoStatus OpenFailure(int code)
{
    IoStatus status = Failure(code);
    status.atOpen = true;
    return status;
}

IoStatus SystemFailure(FileRole role)
{
    return Failure(IoCodeFromErrno(errno, role));
}

} // namespace loader
