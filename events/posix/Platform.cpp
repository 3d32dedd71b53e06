#include "events/Platform.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "events/EventLine.h"

namespace FauxlarmEvents {

namespace platform {

void* LoadLibraryFile(const std::string& path, std::string* error) {
  void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    const char* reason = ::dlerror();
    *error = reason != nullptr ? reason : "unknown error";
  }
  return library;
}

void* FindFunction(void* library, const char* name) {
  return ::dlsym(library, name);
}

void UnloadLibrary(void* library) {
  ::dlclose(library);
}

bool IsNotFound(const std::string& loaderError) {
  return loaderError.find("No such file") != std::string::npos;
}

bool FileExists(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && !S_ISDIR(status.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace platform

bool AppendToFile(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool written = true;
  for (std::size_t done = 0; done < bytes.size() && written;) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n == 0) {
      // A file that takes nothing would otherwise be asked for ever.
      errno = EIO;
      written = false;
    } else if (errno != EINTR) {
      written = false;
    }
  }
  // close() may overwrite errno; the caller reports the first failure.
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  if (!written) errno = writeError;
  return closed && written;
}

}  // namespace FauxlarmEvents
