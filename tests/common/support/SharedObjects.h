// Removes what a test's shared-memory name prefix left in /dev/shm: the library removes
// its region with its last process, but its attach locks stay by design.
#pragma once

#include <dirent.h>
#include <sys/mman.h>

#include <string>

inline void RemoveSharedObjects(const std::string& prefix) {
  DIR* objects = opendir("/dev/shm");
  if (objects == nullptr) return;
  while (const dirent* entry = readdir(objects)) {
    const std::string name = entry->d_name;
    if (name.rfind(prefix, 0) == 0) shm_unlink(("/" + name).c_str());
  }
  closedir(objects);
}
