// halvane3-monitor: shows the entries that processes put into the shared region's queues as
// they arrive, without taking them away from anybody. See kMonitorUsage.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "Console.h"
#include "Halvane3.h"
#include "HalvaneVersion.h"
#include "LibraryQueues.h"
#include "MonitorOptions.h"
#include "QueueFollower.h"
#include "SharedValuesView.h"

namespace {

volatile sig_atomic_t stopRequested = 0;

// Ending through main, rather than by the signal, lets the library detach properly.
void requestStop(int) {
  stopRequested = 1;
}

bool attached() {
  char name[32];
  return GetShareViewName(name, sizeof name) > 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const std::optional<MonitorOptions> options = parseMonitorOptions(argc, argv, error);
  if (!options) {
    std::fprintf(stderr, "halvane3-monitor: %s\nTry 'halvane3-monitor --help'.\n", error.c_str());
    return 2;
  }
  prepareConsole();
  if (options->help) {
    std::fputs(kMonitorUsage, stdout);
    return 0;
  }
  if (options->version) {
    std::printf("halvane3-monitor %s\n", kHalvaneVersion);
    return 0;
  }
  if (!attached()) {
    const char* prefix = std::getenv("HALVANE3_NAME_PREFIX");
    std::fprintf(stderr,
                 "halvane3-monitor: cannot attach to the shared region (HALVANE3_NAME_PREFIX "
                 "'%s')\n",
                 prefix != nullptr ? prefix : "");
    return 1;
  }
  signal(SIGINT, requestStop);
  signal(SIGTERM, requestStop);

  std::vector<QueueFollower> followers;
  for (const QueueChoice& queue : options->queues)
    followers.emplace_back(queue, libraryQueueReader(queue));
  SharedValuesView values(*options);
  do {
    values.printChanges(stdout);
    for (QueueFollower& follower : followers)
      follower.printNew(stdout);
    std::fflush(stdout);
    if (options->once) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(options->intervalMilliseconds));
  } while (stopRequested == 0);
  return 0;
}
