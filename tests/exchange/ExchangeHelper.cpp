// A process of the family for the multi-process tests: it loads libHalvane3.so at start and
// runs the commands on its command line in order, one output line per command (see
// usage()). The test that starts it sets the namespace through the environment.
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <string>
#include <thread>

#include "Halvane3.h"
#include "StressRoles.h"

namespace {

void usage() {
  std::fputs(
      "commands: wait | push Q TEXT | read Q | syslog PATH TEXT | syslog-long PATH N |\n"
      "  tree V1 V2 V3 V4 TEXT | debug TEXT | sysinfo TEXT | watchdog N |\n"
      "  set-apps MASK RUNNING | get-apps MASK | cyclic | names |\n"
      "  stress-write Q NAME THREADS MS | stress-read Q THREADS MS |\n"
      "  fork-parent-exits (the child goes on once the parent has ended) |\n"
      "  child-push Q TEXT | child-get-apps MASK (in a forked child that then ends) |\n"
      "  push-stuck Q TEXT (a thread pushes; goes on once it waits for a lock)\n",
      stderr);
}

int32_t number(const char* text) {
  return static_cast<int32_t>(std::strtoll(text, nullptr, 0));
}

// Reads every entry of command queue q that is new to this helper.
void readQueue(int32_t queue, int32_t& cursor) {
  char buffer[4096];
  int32_t size = sizeof buffer;
  while (GetCommandEntry(&cursor, buffer, &size, queue) == 1) {
    std::printf("entry %s\n", buffer);
    size = sizeof buffer;
  }
  std::printf("end\n");
}

// Runs `work` in a forked child that then ends normally; gives the child's result, or -1.
template <typename Work>
int inForkedChild(Work work) {
  const pid_t child = fork();
  if (child == 0) std::exit(work());
  int status = 0;
  return waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts a thread that pushes, and returns once the thread waits for a lock, or after ten
// seconds; true when it waits.
bool pushOnAThreadThatGetsStuck(int32_t queue, const char* text) {
  std::atomic<pid_t> thread{0};
  std::thread([&thread, queue, text] {
    thread = static_cast<pid_t>(syscall(SYS_gettid));
    SetCommandEntry(text, queue);
  }).detach();
  for (int round = 0; round < 10'000; ++round) {
    if (const pid_t id = thread.load()) {
      std::ifstream call("/proc/self/task/" + std::to_string(id) + "/syscall");
      long number = -1;
      if (call >> number && number == SYS_futex) return true;
    }
    usleep(1000);
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  std::map<int32_t, int32_t> cursors;
  for (int i = 1; i < argc; ++i) {
    const std::string command = argv[i];
    const auto needs = [&](int count) {
      if (i + count >= argc) {
        usage();
        std::exit(2);
      }
    };
    if (command == "wait") {
      std::printf("waiting\n");
      std::string line;
      std::getline(std::cin, line);
    } else if (command == "push") {
      needs(2);
      std::printf("push %d\n", SetCommandEntry(argv[i + 2], number(argv[i + 1])));
      i += 2;
    } else if (command == "read") {
      needs(1);
      const int32_t queue = number(argv[++i]);
      readQueue(queue, cursors.try_emplace(queue, -1).first->second);
    } else if (command == "syslog") {
      needs(2);
      std::printf("syslog %d\n", SetSysLogEntry(argv[i + 1], argv[i + 2]));
      i += 2;
    } else if (command == "syslog-long") {
      needs(2);
      const std::string text(static_cast<size_t>(number(argv[i + 2])), 'x');
      std::printf("syslog %d\n", SetSysLogEntry(argv[i + 1], text.c_str()));
      i += 2;
    } else if (command == "tree") {
      needs(5);
      std::printf("tree %d\n",
                  SetTreeViewEntry(number(argv[i + 1]), number(argv[i + 2]), argv[i + 5],
                                   number(argv[i + 3]), number(argv[i + 4])));
      i += 5;
    } else if (command == "debug") {
      needs(1);
      std::printf("debug %d\n", SetDebugEntry(argv[++i]));
    } else if (command == "sysinfo") {
      needs(1);
      SetSysInfo(argv[++i]);
      std::printf("sysinfo\n");
    } else if (command == "watchdog") {
      needs(1);
      for (int32_t n = number(argv[++i]); n > 0; --n)
        IncreaseWatchdog();
      std::printf("watchdog %d\n", ReadWatchdog());
    } else if (command == "set-apps") {
      needs(2);
      SetRunningApps(number(argv[i + 1]), number(argv[i + 2]));
      std::printf("set-apps\n");
      i += 2;
    } else if (command == "get-apps") {
      needs(1);
      std::printf("apps %d\n", GetRunningApps(number(argv[++i])));
    } else if (command == "cyclic") {
      int32_t switched = -1;
      const int32_t moved = CyclicCleanup(0, &switched);
      std::printf("cyclic %d %d\n", moved, switched);
    } else if (command == "names") {
      char view[64];
      char mutex[64];
      GetShareViewName(view, sizeof view);
      GetShareMutexName(mutex, sizeof mutex);
      std::printf("names %s|%s\n", view, mutex);
    } else if (command == "fork-parent-exits") {
      const pid_t parent = getpid();
      if (fork() != 0) return 0;
      while (getppid() == parent)
        usleep(1000);
      std::printf("parent ended\n");
    } else if (command == "child-push") {
      needs(2);
      const char* text = argv[i + 2];
      const int32_t queue = number(argv[i + 1]);
      std::printf("child push %d\n", inForkedChild([=] { return SetCommandEntry(text, queue); }));
      i += 2;
    } else if (command == "child-get-apps") {
      needs(1);
      const int32_t mask = number(argv[++i]);
      std::printf("child apps %d\n", inForkedChild([=] { return GetRunningApps(mask); }));
    } else if (command == "push-stuck") {
      needs(2);
      const bool stuck = pushOnAThreadThatGetsStuck(number(argv[i + 1]), argv[i + 2]);
      std::printf("stuck %d\n", stuck ? 1 : 0);
      i += 2;
    } else if (command == "stress-write") {
      needs(4);
      const uint64_t pushed = runStressWriters(number(argv[i + 1]), argv[i + 2],
                                               number(argv[i + 3]), number(argv[i + 4]));
      std::printf("written %llu\n", static_cast<unsigned long long>(pushed));
      i += 4;
    } else if (command == "stress-read") {
      needs(3);
      const StressReadCounts counts =
          runStressReaders(number(argv[i + 1]), number(argv[i + 2]), number(argv[i + 3]));
      std::printf("read %llu torn %llu disorder %llu\n",
                  static_cast<unsigned long long>(counts.entries),
                  static_cast<unsigned long long>(counts.torn),
                  static_cast<unsigned long long>(counts.disorder));
      i += 3;
    } else {
      usage();
      return 2;
    }
  }
  return 0;
}
