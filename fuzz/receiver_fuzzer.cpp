// Receiver files as cReceiver::LoadFromDisk reads them. Properties: a load never crashes;
// halvane-config-dump calls a file loadable exactly when the receiver loads it; a loaded
// file (rewritten as version 5 when it was older) loads again to the same receiver.
#include "Decoders.h"
#include "Document.h"
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
  TemporaryProgramFolder& folder = FuzzFolder();
  const std::string relative = "Receivers/Receiver_0001.dat";
  folder.Write(relative, AsBytes(data, size));

  const configdump::Decoded decoded = configdump::decodeReceiver(folder.PathOf(relative));
  configdump::renderText(decoded.details);
  configdump::renderJson(decoded.details);

  cReceiver receiver;
  const bool loaded = receiver.LoadFromDisk(1);
  Check(loaded == decoded.readable, "the dump and the loader agree on what loads");
  if (!loaded) return 0;
  Check(folder.Read(relative).substr(0, 2) == std::string("\x05\0", 2),
        "a loaded file is version 5");
  cReceiver again;
  Check(again.LoadFromDisk(1), "a loaded file loads again");
  Check(Stored(again) == Stored(receiver), "a loaded file loads again to the same receiver");
  return 0;
}
