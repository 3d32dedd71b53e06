#include "SharedObject.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace halvane3 {
namespace {

int lockFile(int fd, int operation) {
  int result;
  do {
    result = flock(fd, operation);
  } while (result != 0 && errno == EINTR);
  return result;
}

// A local object must be the user's own: one planted under that name by another user
// would share the user's region with them.
bool ownedAsRequired(int fd, Scope scope) {
  if (scope == Scope::Global) return true;
  struct stat status;
  return fstat(fd, &status) == 0 && status.st_uid == geteuid();
}

int openObject(const PosixName& name, Scope scope, IfMissing ifMissing, bool& created) {
  created = false;
  // Another process may create or remove the name between our two calls; a few rounds settle
  // it.
  for (int round = 0; round < 3; ++round) {
    int fd = shm_open(name.text, O_RDWR, 0);
    if (fd < 0) {
      if (errno != ENOENT || ifMissing == IfMissing::Fail) return -1;
      fd = shm_open(name.text, O_RDWR | O_CREAT | O_EXCL, objectMode(scope));
      if (fd < 0) {
        if (errno == EEXIST) continue;
        return -1;
      }
      created = true;
      // The umask must not narrow who may open a global object.
      if (fchmod(fd, objectMode(scope)) == 0) return fd;
    } else if (ownedAsRequired(fd, scope)) {
      return fd;
    }
    close(fd);
    return -1;
  }
  return -1;
}

}  // namespace

AttachLock::~AttachLock() {
  if (fd_ >= 0) close(fd_);
}

bool AttachLock::acquire(const PosixName& name, Scope scope, IfMissing ifMissing) {
  bool created;
  fd_ = openObject(name, scope, ifMissing, created);
  if (fd_ >= 0 && lockFile(fd_, LOCK_EX) != 0) {
    close(fd_);
    fd_ = -1;
  }
  return fd_ >= 0;
}

bool SharedObject::join(const PosixName& name, Scope scope, size_t size, IfMissing ifMissing) {
  bool created;
  fd_ = openObject(name, scope, ifMissing, created);
  if (fd_ < 0) return false;
  name_ = &name;
  size_ = size;
  bool joinedHolders;
  if (lockFile(fd_, LOCK_EX | LOCK_NB) == 0) {
    // Nobody holds it: whatever it contains was left by processes that are gone. Truncating
    // to nothing first makes every byte zero.
    fresh_ = true;
    joinedHolders = (created || ifMissing == IfMissing::Create) && ftruncate(fd_, 0) == 0 &&
                    ftruncate(fd_, static_cast<off_t>(size)) == 0 && lockFile(fd_, LOCK_SH) == 0;
  } else {
    fresh_ = false;
    struct stat status;
    joinedHolders = lockFile(fd_, LOCK_SH | LOCK_NB) == 0 && fstat(fd_, &status) == 0 &&
                    status.st_size >= static_cast<off_t>(size);
  }
  if (!joinedHolders) closeDescriptor();
  return joinedHolders;
}

bool SharedObject::map() {
  void* address = mmap(nullptr, size_, PROT_READ | PROT_WRITE, MAP_SHARED, fd_, 0);
  if (address == MAP_FAILED) return false;
  address_ = address;
  return true;
}

void SharedObject::unmap() {
  if (address_ != nullptr) munmap(address_, size_);
  address_ = nullptr;
}

void SharedObject::leave(WhenLast whenLast) {
  unmap();
  if (fd_ < 0) return;
  if (whenLast == WhenLast::Remove && lockFile(fd_, LOCK_EX | LOCK_NB) == 0) {
    shm_unlink(name_->text);
  }
  closeDescriptor();
}

void SharedObject::closeDescriptor() {
  close(fd_);
  fd_ = -1;
  fresh_ = false;
}

}  // namespace halvane3
