// Alarm records as cAlarm::ReadFromDisk reads them from an open file. Properties: a read
// never crashes and fails only with a run-time error; halvane-config-dump reads exactly
// the records that cAlarm reads; a record read, written and read again is the same.
#include "FuzzSupport.h"
#include "common/BinaryCodec.h"
#include "config/cAlarm.h"

namespace {

using namespace Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

hcp::BinaryFile Open(const std::string& path) {
  return hcp::BinaryFile(hcp::Utf8ToUtf16(path), hcp::FileMode::Binary, hcp::FileAccess::ReadWrite);
}

// The record read from the start of "alarm.dat", written anew.
std::string Rewritten(TemporaryProgramFolder& folder) {
  hcp::BinaryFile file = Open(folder.PathOf("alarm.dat"));
  cAlarm alarm;
  alarm.ReadFromDisk(file, 1);
  folder.Write("again.dat", "");
  hcp::BinaryFile out = Open(folder.PathOf("again.dat"));
  alarm.WriteToDisk(out, 1);
  return out.GetAt(1, static_cast<std::size_t>(out.Length()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TemporaryProgramFolder& folder = FuzzFolder();
  folder.Write("alarm.dat", AsBytes(data, size));
  const std::string path = folder.PathOf("alarm.dat");

  const configdump::Decoded decoded = configdump::decodeAlarms(path, 0, 1);
  configdump::renderText(decoded.details);
  configdump::renderJson(decoded.details);

  std::string written;
  try {
    written = Rewritten(folder);
  } catch (const hcp::RuntimeError&) {
    Check(!decoded.readable, "the dump and cAlarm agree on what reads");
    return 0;
  }
  Check(decoded.readable, "the dump and cAlarm agree on what reads");
  folder.Write("alarm.dat", written);
  Check(Rewritten(folder) == written, "a record written and read again is the same");
  return 0;
}
