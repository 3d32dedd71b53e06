#include "config/FileOperations.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace Halvane_Config {

namespace {

class SystemFileOperations final : public FileOperations {
 public:
  int Open(const std::string& path, int& descriptor) override {
    descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return descriptor < 0 ? errno : 0;
  }

  int Write(int descriptor, std::string_view bytes) override {
    std::size_t written = 0;
    while (written < bytes.size()) {
      const ssize_t n = ::write(descriptor, bytes.data() + written, bytes.size() - written);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return n < 0 ? errno : ENOSPC;
      written += static_cast<std::size_t>(n);
    }
    return 0;
  }

  int Sync(int descriptor) override { return ::fsync(descriptor) == 0 ? 0 : errno; }

  int Close(int descriptor) override {
    // Linux releases the descriptor even when close reports EINTR; a retry could close
    // another thread's.
    return ::close(descriptor) == 0 || errno == EINTR ? 0 : errno;
  }

  int Rename(const std::string& from, const std::string& to) override {
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
  }

  int SyncFolder(const std::string& folder) override {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    const int error = ::fsync(descriptor) == 0 ? 0 : errno;
    ::close(descriptor);
    return error;
  }

  int Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0 ? 0 : errno; }
};

SystemFileOperations systemOperations;
FileOperations* installed = nullptr;

}  // namespace

FileOperations& CurrentFileOperations() {
  return installed != nullptr ? *installed : systemOperations;
}

FileOperations* SetFileOperations(FileOperations* operations) {
  FileOperations* before = installed;
  installed = operations;
  return before;
}

}  // namespace Halvane_Config
