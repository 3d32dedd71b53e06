// A process that does not use the library, for the tests that play another local user: it
// locks or plants objects under the family's names. It runs the commands on its command
// line in order, one output line per command (see usage()).
#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

void usage() {
  std::fputs(
      "commands: lock-shared NAME | lock-exclusive NAME | lock-mutex NAME |\n"
      "  create NAME MODE SIZE | wait\n"
      "  (NAME: a POSIX shared-memory name; MODE in octal)\n",
      stderr);
}

// Anybody who can open an object, even only for reading, can lock it. The descriptors stay
// open, and the locks held, until the process ends.
bool lock(const char* name, int operation) {
  const int fd = shm_open(name, O_RDONLY, 0);
  return fd >= 0 && flock(fd, operation | LOCK_NB) == 0;
}

// Anybody who can write the mutex object can take the region mutex and keep it.
bool lockMutex(const char* name) {
  const int fd = shm_open(name, O_RDWR, 0);
  if (fd < 0) return false;
  void* mutex = mmap(nullptr, sizeof(pthread_mutex_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  return mutex != MAP_FAILED && pthread_mutex_lock(static_cast<pthread_mutex_t*>(mutex)) == 0;
}

bool create(const char* name, const char* modeText, const char* sizeText) {
  const auto mode = static_cast<mode_t>(std::strtoul(modeText, nullptr, 8));
  const int fd = shm_open(name, O_RDWR | O_CREAT | O_EXCL, mode);
  return fd >= 0 && fchmod(fd, mode) == 0 && ftruncate(fd, std::atoll(sizeText)) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IOLBF, 0);
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    const auto needs = [&](size_t count) {
      if (i + count >= args.size()) {
        usage();
        std::exit(2);
      }
    };
    bool done = true;
    if (args[i] == "lock-shared" || args[i] == "lock-exclusive") {
      needs(1);
      done = lock(args[i + 1].c_str(), args[i] == "lock-shared" ? LOCK_SH : LOCK_EX);
      std::printf("locked %d\n", done ? 1 : 0);
      i += 1;
    } else if (args[i] == "lock-mutex") {
      needs(1);
      done = lockMutex(args[i + 1].c_str());
      std::printf("locked %d\n", done ? 1 : 0);
      i += 1;
    } else if (args[i] == "create") {
      needs(3);
      done = create(args[i + 1].c_str(), args[i + 2].c_str(), args[i + 3].c_str());
      std::printf("created %d\n", done ? 1 : 0);
      i += 3;
    } else if (args[i] == "wait") {
      std::printf("waiting\n");
      std::string line;
      std::getline(std::cin, line);
    } else {
      usage();
      return 2;
    }
    if (!done) return 1;
  }
  return 0;
}
