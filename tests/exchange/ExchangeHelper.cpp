// A process of the family for the multi-process tests: it is linked with the library, so
// it attaches at start, and runs the commands on its command line in order, one output line
// per command (see usage()). On POSIX the test that starts it sets the namespace through
// the environment.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>

#include "Halvane3.h"
#include "HelperCommands.h"

namespace {

void usage() {
  std::fputs(
      "commands: wait | push Q TEXT | read Q | syslog PATH TEXT | syslog-long PATH N |\n"
      "  tree V1 V2 V3 V4 TEXT | debug TEXT | sysinfo TEXT | watchdog N |\n"
      "  set-apps MASK RUNNING | get-apps MASK | cyclic | names",
      stderr);
  std::fputs(kPlatformCommands, stderr);
  std::fputs("\n", stderr);
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

}  // namespace

int32_t number(const char* text) {
  return static_cast<int32_t>(std::strtoll(text, nullptr, 0));
}

void needArguments(int argc, int i, int count) {
  if (i + count >= argc) {
    usage();
    std::exit(2);
  }
}

int main(int argc, char** argv) {
  // Every line reaches the test at once (the C runtime of Windows has no line buffering).
  setvbuf(stdout, nullptr, _IONBF, 0);
  std::map<int32_t, int32_t> cursors;
  for (int i = 1; i < argc; ++i) {
    const std::string command = argv[i];
    const auto needs = [&](int count) { needArguments(argc, i, count); };
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
    } else if (!runPlatformCommand(command, argc, argv, i)) {
      usage();
      return 2;
    }
  }
  return 0;
}
