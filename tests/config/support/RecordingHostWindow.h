// A host window for tests: it logs every call, answers "Get_" operations from a table that
// "Set_" operations of the same name write to (so a host's controls keep what the class
// put into them), and refuses what it is told to refuse with error 438.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "config/HostWindow.h"

namespace Halvane_Config {

class RecordingHostWindow : public HostWindow {
 public:
  struct Call {
    std::u16string operation;
    std::vector<Variant> arguments;
  };
  using Answerer = std::function<Variant(std::span<const Variant> arguments)>;

  Variant CallByName(std::u16string_view operation, std::span<const Variant> arguments) override;

  // What a "Get_" operation answers from now on: a fixed value, or one computed from the
  // arguments ("Get_Combo_Calendar_DayType_ComboItems"(index)).
  void Answer(std::u16string_view getOperation, Variant value);
  void AnswerWith(std::u16string_view getOperation, Answerer answerer);
  // The operation now raises 438, like a host that does not offer it.
  void Refuse(std::u16string_view operation);

  // Every call in order, as "Name(argument, ...)" with arguments in their text form and
  // a suffix for the kind (% 16-bit, & 32-bit, ! single, # double, quotes for texts).
  std::vector<std::string> Log() const;
  // The calls to one operation.
  std::vector<Call> CallsTo(std::u16string_view operation) const;
  void ClearLog() { calls.clear(); }

  std::vector<Call> calls;

 private:
  std::map<std::u16string, Answerer, std::less<>> answers_;
  std::set<std::u16string, std::less<>> refused_;
};

// One value as the log shows it: 0%, 179&, 1.5!, 290#, "07:00", True, Empty, Nothing ...
std::string DescribeVariant(const Variant& value);

}  // namespace Halvane_Config
