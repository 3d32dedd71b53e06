// Receiver files as cReceiver::LoadFromDisk reads them. Properties: a load never crashes;
// halvane-config-dump calls a file loadable exactly when the receiver loads it; a loaded
// file (rewritten as version 5 when it was older) loads again to the same receiver.
#include "FuzzSupport.h"
#include "common/BinaryCodec.h"
#include "config/cReceiver.h"

namespace {

using namespace Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

std::string Stored(const cReceiver& receiver) {
  std::string bytes;
  hcp::PutText(bytes, receiver.m_ReceiverName);
  hcp::PutText(bytes, receiver.m_BackupReceiver);
  hcp::PutFlag(bytes, receiver.m_Enabled);
  hcp::PutInt16(bytes, receiver.GetReceiverTypeId());
  for (std::int16_t i = 0; i < kReceiverSettings; ++i)
    hcp::PutVariant(bytes, receiver.GetSetting(i));
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  cReceiver receiver;
  cReceiver again;
  if (LoadAsServerAndDump(AsBytes(data, size), configdump::decodeReceiver, receiver, again)) {
    Check(Stored(again) == Stored(receiver), "a loaded file loads again to the same receiver");
  }
  return 0;
}
