// Texts handed from a writer to a reader: through the exchange library's command queue,
// through the two locks and copies alone (the floor), and through Boost's and POSIX message
// queues. Each in one process (send, then receive) and, except the floor, with the reader
// in a second process. See exchange/README.md for how to run it and the figures.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sched.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>

#include "Transport.h"

namespace {

using TransportMaker = std::function<std::unique_ptr<Transport>(bool twoProcesses)>;

std::string queueName() {
  return "/halvane3-bench-" + std::to_string(getpid());
}

// The text and the reader's buffer lie at fixed places, half a page apart: left to the heap
// and the stack, their page offsets change from run to run, and when one matches a slot's
// the copies stall on false store-to-load dependencies (4K aliasing), which moved single
// runs by 30%.
struct alignas(4096) Texts {
  char text[4096];
  char gap[2048];
  char buffer[4096];
};
Texts texts;

// A text of `length` characters in texts.text.
const char* textOf(size_t length) {
  for (size_t i = 0; i < length; ++i)
    texts.text[i] = static_cast<char>('a' + i % 26);
  texts.text[length] = '\0';
  return texts.text;
}

void oneProcess(benchmark::State& state, const TransportMaker& make) {
  const size_t length = static_cast<size_t>(state.range(0));
  const char* text = textOf(length);
  const std::unique_ptr<Transport> transport = make(false);
  for (auto _ : state) {
    transport->send(text, length);
    benchmark::DoNotOptimize(transport->receive(texts.buffer, sizeof texts.buffer));
  }
  state.SetItemsProcessed(state.iterations());
}

// The reader, a forked process, takes texts until the stop text "!".
void twoProcesses(benchmark::State& state, const TransportMaker& make) {
  const size_t length = static_cast<size_t>(state.range(0));
  const char* text = textOf(length);
  const std::unique_ptr<Transport> transport = make(true);
  const pid_t reader = fork();
  if (reader == 0) {
    for (;;) {
      if (transport->receive(texts.buffer, sizeof texts.buffer) == 0) {
        sched_yield();
      } else if (texts.buffer[0] == '!') {
        _exit(0);
      }
    }
  }
  for (auto _ : state)
    transport->send(text, length);
  transport->send("!", 1);
  waitpid(reader, nullptr, 0);
  state.SetItemsProcessed(state.iterations());
}

const TransportMaker halvane3 = [](bool twoProcesses) {
  return makeHalvane3Transport(twoProcesses);
};
const TransportMaker floorLocks = [](bool) { return makeFloorTransport(); };
const TransportMaker boostQueue = [](bool) {
  return makeBoostQueueTransport(queueName().substr(1));
};
const TransportMaker posixQueue = [](bool) { return makePosixQueueTransport(queueName()); };

void Halvane3_OneProcess(benchmark::State& state) {
  oneProcess(state, halvane3);
}
void Halvane3_TwoProcesses(benchmark::State& state) {
  twoProcesses(state, halvane3);
}
void Floor_OneProcess(benchmark::State& state) {
  oneProcess(state, floorLocks);
}
void BoostQueue_OneProcess(benchmark::State& state) {
  oneProcess(state, boostQueue);
}
void BoostQueue_TwoProcesses(benchmark::State& state) {
  twoProcesses(state, boostQueue);
}
void PosixQueue_OneProcess(benchmark::State& state) {
  oneProcess(state, posixQueue);
}
void PosixQueue_TwoProcesses(benchmark::State& state) {
  twoProcesses(state, posixQueue);
}

BENCHMARK(Halvane3_OneProcess)->Arg(100)->Arg(4000);
BENCHMARK(Floor_OneProcess)->Arg(100)->Arg(4000);
BENCHMARK(BoostQueue_OneProcess)->Arg(100)->Arg(4000);
BENCHMARK(PosixQueue_OneProcess)->Arg(100)->Arg(4000);
BENCHMARK(Halvane3_TwoProcesses)->Arg(100)->Arg(4000)->UseRealTime();
BENCHMARK(BoostQueue_TwoProcesses)->Arg(100)->Arg(4000)->UseRealTime();
BENCHMARK(PosixQueue_TwoProcesses)->Arg(100)->Arg(4000)->UseRealTime();

// Objects the library leaves under the prefix (the never-removed attach locks).
void removeObjects(const std::string& prefix) {
  if (DIR* objects = opendir("/dev/shm")) {
    while (dirent* entry = readdir(objects)) {
      const std::string name = entry->d_name;
      if (name.rfind(prefix, 0) == 0) shm_unlink(("/" + name).c_str());
    }
    closedir(objects);
  }
}

}  // namespace

int main(int argc, char** argv) {
  // Never the live system's region.
  const std::string prefix = "h3bench" + std::to_string(getpid()) + ".";
  setenv("HALVANE3_NAME_PREFIX", prefix.c_str(), 1);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  unloadHalvane3();
  removeObjects(prefix);
  return 0;
}
