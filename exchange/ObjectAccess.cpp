#include "ObjectAccess.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace halvane3 {
namespace {

// A group number, or a group name looked up in the system's group database.
bool findGroup(const char* text, gid_t& group) {
  if (*text >= '0' && *text <= '9') {
    char* end = nullptr;
    errno = 0;
    const unsigned long number = std::strtoul(text, &end, 10);
    group = static_cast<gid_t>(number);
    return *end == '\0' && errno == 0 && number == group;
  }
  struct group entry;
  struct group* found = nullptr;
  char buffer[4096];
  if (getgrnam_r(text, &entry, buffer, sizeof buffer, &found) != 0 || found == nullptr) {
    return false;
  }
  group = found->gr_gid;
  return true;
}

// Sets the mode and group that `access` asks for on an object of this process's user.
bool putRight(int fd, const struct stat& status, const ObjectAccess& access) {
  if (access.owners == AcceptedOwners::FamilyGroup && status.st_gid != access.group &&
      fchown(fd, static_cast<uid_t>(-1), access.group) != 0) {
    return false;
  }
  return (status.st_mode & 07777) == access.mode || fchmod(fd, access.mode) == 0;
}

}  // namespace

ObjectAccess globalObjectAccess() {
  const char* groupText = std::getenv("HALVANE3_GROUP");
  if (groupText == nullptr || *groupText == '\0') return {0666, AcceptedOwners::Anybody, 0};
  ObjectAccess access{0660, AcceptedOwners::FamilyGroup, 0};
  if (!findGroup(groupText, access.group)) access.owners = AcceptedOwners::Nobody;
  return access;
}

ObjectAccess localObjectAccess() {
  return {0600, AcceptedOwners::ThisUser, 0};
}

bool acceptObject(int fd, const ObjectAccess& access) {
  struct stat status;
  if (access.owners == AcceptedOwners::Nobody || fstat(fd, &status) != 0 ||
      !S_ISREG(status.st_mode)) {
    return false;
  }
  if (status.st_uid == geteuid()) return putRight(fd, status, access);
  switch (access.owners) {
    case AcceptedOwners::Anybody:
      return true;
    case AcceptedOwners::FamilyGroup:
      return status.st_gid == access.group && (status.st_mode & S_IRWXO) == 0;
    case AcceptedOwners::ThisUser:
    case AcceptedOwners::Nobody:
      break;
  }
  return false;
}

}  // namespace halvane3
