#include "TestNamespace.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

TestNamespace::TestNamespace() {
  static int created = 0;
  prefix_ = "h3t" + std::to_string(getpid()) + "n" + std::to_string(created++) + ".";
  char folderTemplate[] = "/tmp/halvane3-test-XXXXXX";
  folder_ = mkdtemp(folderTemplate);
  setenv("HALVANE3_NAME_PREFIX", prefix_.c_str(), 1);
  setenv("HALVANE3_LPT_DIR", folder_.c_str(), 1);
}

TestNamespace::~TestNamespace() {
  if (DIR* objects = opendir("/dev/shm")) {
    while (dirent* entry = readdir(objects)) {
      const std::string name = entry->d_name;
      if (name.rfind(prefix_, 0) == 0) shm_unlink(("/" + name).c_str());
    }
    closedir(objects);
  }
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string TestNamespace::printerDevice(int port) const {
  return folder_ + "/lp" + std::to_string(port);
}

std::string TestNamespace::regionObjectName() const {
  return posixName("QorShareView3");
}

bool TestNamespace::globalObjectsExist() const {
  return objectExists(posixName("QorShareView3")) || objectExists(posixName("QorStructMutEx3"));
}

std::string TestNamespace::localPosixName(const std::string& base) const {
  return posixName(base) + "." + std::to_string(geteuid());
}

bool TestNamespace::objectExists(const std::string& posixName) const {
  const int fd = shm_open(posixName.c_str(), O_RDONLY, 0);
  if (fd < 0) return false;
  close(fd);
  return true;
}
