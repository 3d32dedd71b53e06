// Profile files as cProfile::LoadFromDisk reads them, schedule included. Properties: a load
// never crashes; halvane-config-dump calls a file loadable exactly when the profile loads
// it; a loaded file (rewritten as version 5 when it was older) loads again to the same
// profile and schedule.
#include "FuzzSupport.h"
#include "config/cProfile.h"

using namespace Halvane_Config;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  cProfile profile;
  cProfile again;
  if (!LoadAsServerAndDump(AsBytes(data, size), configdump::decodeProfile, profile, again)) {
    return 0;
  }
  Check(!profile.HasChangedSinceLastLoadFromDisk(), "a load takes its snapshot");
  // The second load copied over a snapshot of the first must change nothing.
  cProfile compared;
  compared.CopyFrom(profile);
  compared.RememberOriginalSettings();
  compared.CopyFrom(again);
  Check(!compared.HasChangedSinceLastLoadFromDisk(),
        "a loaded file loads again to the same profile");
  return 0;
}
