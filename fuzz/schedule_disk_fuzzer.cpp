// A time schedule's disk form as cTimeSchedule::GetDiskForm reads it. Properties: a read
// never crashes and fails only with a run-time error; what it read writes back to a form
// that reads to the same schedule and writes the same bytes.
#include "FuzzSupport.h"
#include "common/BinaryCodec.h"
#include "config/cTimeSchedule.h"

namespace {

using namespace Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  hcp::ByteReader in(AsBytes(data, size));
  cTimeSchedule schedule;
  try {
    schedule.GetDiskForm(in);
  } catch (const hcp::RuntimeError&) {
    return 0;
  }
  std::string written;
  schedule.PutDiskForm(written);
  Check(written.size() == in.Position(), "the disk form keeps its length");
  hcp::ByteReader again(written);
  cTimeSchedule copy;
  copy.GetDiskForm(again);
  Check(again.Remaining() == 0, "the disk form is read whole");
  std::string rewritten;
  copy.PutDiskForm(rewritten);
  Check(rewritten == written, "the disk form reads and writes back the same");
  Check(copy.ComposePeriodArray() == schedule.ComposePeriodArray(), "the same schedule");
  return 0;
}
