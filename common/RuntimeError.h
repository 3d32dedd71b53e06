// The run-time error that the shared procedures and the configuration classes raise to
// their callers. It carries the error number the family's programs have always reported
// (5, 6, 9, 62, 438, ...), so callers and logs can tell an overflow from a bad subscript
// or a short file without parsing the text.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace Halvane_Common_Procedures {

enum ErrorNumber : int {
  kInvalidProcedureCall = 5,
  kOverflow = 6,
  kSubscriptOutOfRange = 9,
  kTypeMismatch = 13,
  kBadFileNameOrNumber = 52,
  kFileNotFound = 53,
  kBadFileMode = 54,
  kFileAlreadyOpen = 55,
  kDeviceIoError = 57,
  kBadRecordLength = 59,
  kDiskFull = 61,
  kInputPastEndOfFile = 62,
  kBadRecordNumber = 63,
  kTooManyFiles = 67,
  kPermissionDenied = 70,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
  kObjectVariableNotSet = 91,
  kInvalidUseOfNull = 94,
  kInvalidFileFormat = 321,
  kObjectDoesNotSupportMember = 438,
};

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number);
  RuntimeError(int number, const std::string& description);

  int Number() const noexcept { return number_; }

  // The family's standard description of an error number ("Input past end of file").
  static std::string DescriptionOf(int number);

 private:
  int number_;
};

// For the errno of a failed system call (POSIX builds only: SystemError.cpp).
// The error number: 76 for a missing file or folder, 70 no permission, 61 a full disk, 57 a
// device error, 67 too many open files, 75 anything else.
int ErrorNumberOfSystemError(int error);
// The error with that number; the path, when given, follows its description in brackets.
RuntimeError SystemError(int error, std::string_view path = {});
// Raises SystemError(error, path).
[[noreturn]] void RaiseSystemError(int error, std::string_view path = {});

}  // namespace Halvane_Common_Procedures
