#include "text/FileErrorText.h"

#include "text/ProgramTexts.h"
#include "text/StringIds.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// The program's own text for a cause, 0 for none.
int OwnText(int errorNumber)
{
    switch (errorNumber) {
    case EACCES:
    case EPERM: return IDS_REASON_ACCESS_DENIED;
    case EROFS: return IDS_REASON_READ_ONLY;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return IDS_REASON_NO_SPACE;
    case ENOENT: return IDS_REASON_NOT_FOUND;
    case EEXIST: return IDS_REASON_EXISTS;
    case ENAMETOOLONG: return IDS_REASON_NAME_TOO_LONG;
    case EIO:
    case ENXIO:
    case ENODEV: return IDS_REASON_DEVICE_ERROR;
    default: return 0;
    }
}

#ifdef _WIN32
// The errno value of a Windows error code that has one of our texts, 0 for
// the others.
int ErrnoOfSystemError(int code)
{
    switch (code) {
    case ERROR_ACCESS_DENIED: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE: return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_NOT_READY:
    case ERROR_CRC:
    case ERROR_GEN_FAILURE:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_IO_DEVICE: return EIO;
    default: return 0;
    }
}
#endif

} // namespace

std::string FileErrorText(int errorNumber)
{
    if (const int id = OwnText(errorNumber))
        return ProgramText(id);
    return std::strerror(errorNumber);
}

std::string FileErrorText(const std::error_code& error)
{
    if (error.category() == std::generic_category())
        return FileErrorText(error.value());
    if (error.category() == std::system_category()) {
#ifdef _WIN32
        if (const int errorNumber = ErrnoOfSystemError(error.value()))
            return FileErrorText(errorNumber);
#else
        return FileErrorText(error.value());
#endif
    }
    const std::error_condition condition = error.default_error_condition();
    if (condition.category() == std::generic_category() && OwnText(condition.value()) != 0)
        return FileErrorText(condition.value());
    return error.message();
}
