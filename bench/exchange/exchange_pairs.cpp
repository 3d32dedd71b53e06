// N SetCommandEntry + GetCommandEntry pairs of 100-byte texts in one process, for counting
// the instructions of one pair with callgrind: run it for two values of N and divide the
// difference of the counts by the difference of N (see exchange/README.md).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Transport.h"

int main(int argc, char** argv) {
  const long pairs = argc == 2 ? std::atol(argv[1]) : 0;
  if (pairs <= 0) {
    std::fputs("usage: exchange_pairs N\n", stderr);
    return 2;
  }
  // Never the live system's region.
  const std::string prefix = "h3pairs" + std::to_string(getpid()) + ".";
  setenv("HALVANE3_NAME_PREFIX", prefix.c_str(), 1);
  char text[101];
  std::memset(text, 'x', 100);
  text[100] = '\0';
  char buffer[4096];
  {
    const std::unique_ptr<Transport> transport = makeHalvane3Transport(false);
    for (long i = 0; i < pairs; ++i) {
      transport->send(text, 100);
      transport->receive(buffer, sizeof buffer);
    }
  }
  unloadHalvane3();
  // The one object that outlives the last process: the attach lock.
  shm_unlink(("/" + prefix + "QorAttach3").c_str());
  return 0;
}
