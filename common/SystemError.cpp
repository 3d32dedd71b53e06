// The family's error numbers for the errno of a failed system call (POSIX).
#include <cerrno>

#include "common/RuntimeError.h"

namespace Halvane_Common_Procedures {

int ErrorNumberOfSystemError(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return kPermissionDenied;
    case EMFILE:
    case ENFILE:
      return kTooManyFiles;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kDiskFull;
    case EIO:
      return kDeviceIoError;
    default:
      return kPathFileAccessError;
  }
}

RuntimeError SystemError(int error, std::string_view path) {
  const int number = ErrorNumberOfSystemError(error);
  std::string description = RuntimeError::DescriptionOf(number);
  if (!path.empty()) description += " (" + std::string(path) + ")";
  return RuntimeError(number, description);
}

void RaiseSystemError(int error, std::string_view path) {
  throw SystemError(error, path);
}

}  // namespace Halvane_Common_Procedures
