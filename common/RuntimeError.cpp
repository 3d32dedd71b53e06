#include "common/RuntimeError.h"

namespace Halvane_Common_Procedures {
namespace {

std::string DescriptionOf(int number) {
  switch (number) {
    case kInvalidProcedureCall:
      return "Invalid procedure call or argument";
    case kOverflow:
      return "Overflow";
    case kSubscriptOutOfRange:
      return "Subscript out of range";
    default:
      return "Run-time error " + std::to_string(number);
  }
}

}  // namespace

RuntimeError::RuntimeError(int number) : RuntimeError(number, DescriptionOf(number)) {}

RuntimeError::RuntimeError(int number, const std::string& description)
    : std::runtime_error(description), number_(number) {}

}  // namespace Halvane_Common_Procedures
