// The run-time error that the shared procedures raise to their callers. It carries the
// error number the family's programs have always reported (5, 6, 9, ...), so callers and
// logs can tell an overflow from a bad subscript without parsing the text.
#pragma once

#include <stdexcept>
#include <string>

namespace Halvane_Common_Procedures {

enum ErrorNumber : int {
  kInvalidProcedureCall = 5,
  kOverflow = 6,
  kSubscriptOutOfRange = 9,
};

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number);
  RuntimeError(int number, const std::string& description);

  int Number() const noexcept { return number_; }

 private:
  int number_;
};

}  // namespace Halvane_Common_Procedures
