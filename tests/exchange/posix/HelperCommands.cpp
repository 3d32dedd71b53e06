// The exchange helper's commands for forked processes, threads stuck in the library and the
// stress test.
#include "HelperCommands.h"

#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "Halvane3.h"
#include "StressRoles.h"

const char* const kPlatformCommands =
    " |\n"
    "  stress-write Q NAME THREADS MS | stress-read Q THREADS MS |\n"
    "  fork-parent-exits (the child goes on once the parent has ended) |\n"
    "  child-push Q TEXT | child-get-apps MASK (in a forked child that then ends) |\n"
    "  push-stuck Q TEXT (a thread pushes; goes on once it waits for a lock)";

namespace {

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

bool runPlatformCommand(const std::string& command, int argc, char** argv, int& i) {
  if (command == "fork-parent-exits") {
    const pid_t parent = getpid();
    if (fork() != 0) std::exit(0);
    while (getppid() == parent)
      usleep(1000);
    std::printf("parent ended\n");
  } else if (command == "child-push") {
    needArguments(argc, i, 2);
    const char* text = argv[i + 2];
    const int32_t queue = number(argv[i + 1]);
    std::printf("child push %d\n", inForkedChild([=] { return SetCommandEntry(text, queue); }));
    i += 2;
  } else if (command == "child-get-apps") {
    needArguments(argc, i, 1);
    const int32_t mask = number(argv[++i]);
    std::printf("child apps %d\n", inForkedChild([=] { return GetRunningApps(mask); }));
  } else if (command == "push-stuck") {
    needArguments(argc, i, 2);
    const bool stuck = pushOnAThreadThatGetsStuck(number(argv[i + 1]), argv[i + 2]);
    std::printf("stuck %d\n", stuck ? 1 : 0);
    i += 2;
  } else if (command == "stress-write") {
    needArguments(argc, i, 4);
    const uint64_t pushed = runStressWriters(number(argv[i + 1]), argv[i + 2], number(argv[i + 3]),
                                             number(argv[i + 4]));
    std::printf("written %llu\n", static_cast<unsigned long long>(pushed));
    i += 4;
  } else if (command == "stress-read") {
    needArguments(argc, i, 3);
    const StressReadCounts counts =
        runStressReaders(number(argv[i + 1]), number(argv[i + 2]), number(argv[i + 3]));
    std::printf("read %llu torn %llu disorder %llu\n",
                static_cast<unsigned long long>(counts.entries),
                static_cast<unsigned long long>(counts.torn),
                static_cast<unsigned long long>(counts.disorder));
    i += 3;
  } else {
    return false;
  }
  return true;
}
