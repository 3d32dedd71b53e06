// Profile files as cProfile::LoadFromDisk reads them, schedule included. Properties: a load
// never crashes; halvane-config-dump calls a file loadable exactly when the profile loads
// it; a loaded file (rewritten as version 5 when it was older) loads again to the same
// profile and schedule.
#include "Decoders.h"
#include "Document.h"
#include "FuzzSupport.h"
#include "common/BinaryCodec.h"
#include "config/cProfile.h"

namespace {

using namespace Halvane_Config;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TemporaryProgramFolder& folder = FuzzFolder();
  const std::string relative = "Profiles/Profile_0001.dat";
  folder.Write(relative, AsBytes(data, size));

  const configdump::Decoded decoded = configdump::decodeProfile(folder.PathOf(relative));
  configdump::renderText(decoded.details);
  configdump::renderJson(decoded.details);

  cProfile profile;
  const bool loaded = profile.LoadFromDisk(1);
  Check(loaded == decoded.readable, "the dump and the loader agree on what loads");
  if (!loaded) return 0;
  Check(!profile.HasChangedSinceLastLoadFromDisk(), "a load takes its snapshot");
  Check(folder.Read(relative).substr(0, 2) == std::string("\x05\0", 2),
        "a loaded file is version 5");
  cProfile again;
  Check(again.LoadFromDisk(1), "a loaded file loads again");
  // The second load copied over a snapshot of the first must change nothing.
  cProfile compared;
  compared.CopyFrom(profile);
  compared.RememberOriginalSettings();
  compared.CopyFrom(again);
  Check(!compared.HasChangedSinceLastLoadFromDisk(),
        "a loaded file loads again to the same profile");
  return 0;
}
