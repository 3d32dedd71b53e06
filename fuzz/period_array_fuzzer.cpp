// Period array texts as cTimeSchedule::ExtractPeriodArray reads them, each two input bytes
// one UTF-16 unit. Properties: extracting never crashes and fails only with a run-time
// error; what it extracted composes to a text that extracts to the same schedule.
#include "FuzzSupport.h"
#include "config/cTimeSchedule.h"

namespace {

using namespace Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  cTimeSchedule schedule;
  try {
    schedule.ExtractPeriodArray(text);
  } catch (const hcp::RuntimeError&) {
    return 0;
  }
  const std::u16string composed = schedule.ComposePeriodArray();
  Check(composed.size() <= text.size(), "the text never grows");
  cTimeSchedule copy;
  copy.ExtractPeriodArray(composed);
  Check(copy.ComposePeriodArray() == composed, "the text extracts to the same schedule");
  return 0;
}
