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

// Tries the lock until it is had or the deadline passes.
bool lockBefore(int fd, int operation, const Deadline& deadline) {
  for (int attempt = 1; lockFile(fd, operation | LOCK_NB) != 0; ++attempt) {
    if (errno != EWOULDBLOCK || !deadline.pauseBeforeRetry(attempt)) return false;
  }
  return true;
}

// shm_open never follows a symbolic link; O_NONBLOCK keeps a FIFO planted under the name from
// stopping the open.
int openExisting(const PosixName& name) {
  return shm_open(name.text, O_RDWR | O_NONBLOCK, 0);
}

bool sameObject(int fd, int otherFd) {
  struct stat status;
  struct stat other;
  return fstat(fd, &status) == 0 && fstat(otherFd, &other) == 0 && status.st_dev == other.st_dev &&
         status.st_ino == other.st_ino;
}

int openObject(const PosixName& name, const ObjectAccess& access, IfMissing ifMissing,
               bool& created) {
  created = false;
  if (access.owners == AcceptedOwners::Nobody) return -1;
  // Another process may create or remove the name between our two calls; a few rounds settle
  // it.
  for (int round = 0; round < 3; ++round) {
    int fd = openExisting(name);
    if (fd < 0) {
      if (errno != ENOENT || ifMissing == IfMissing::Fail) return -1;
      // Closed to everybody else until its mode and group are set.
      fd = shm_open(name.text, O_RDWR | O_CREAT | O_EXCL, 0600);
      if (fd < 0) {
        if (errno == EEXIST) continue;
        return -1;
      }
      created = true;
    }
    if (acceptObject(fd, access)) return fd;
    // One made here that cannot be set up as asked would only stand in others' way.
    if (created) shm_unlink(name.text);
    close(fd);
    return -1;
  }
  return -1;
}

}  // namespace

AttachLock::~AttachLock() {
  if (fd_ >= 0) close(fd_);
}

bool AttachLock::acquire(const PosixName& name, const ObjectAccess& access, IfMissing ifMissing,
                         const Deadline& deadline) {
  bool created;
  fd_ = openObject(name, access, ifMissing, created);
  if (fd_ >= 0 && !lockBefore(fd_, LOCK_EX, deadline)) {
    close(fd_);
    fd_ = -1;
  }
  return fd_ >= 0;
}

bool SharedObject::join(const PosixName& name, const ObjectAccess& access, size_t size,
                        IfMissing ifMissing) {
  bool created;
  fd_ = openObject(name, access, ifMissing, created);
  if (fd_ < 0) return false;
  name_ = &name;
  size_ = size;
  bool joinedHolders;
  if (lockFile(fd_, LOCK_EX | LOCK_NB) == 0) {
    // Nobody holds it: whatever it contains was left by processes that are gone. Truncating
    // to nothing first makes every byte zero.
    fresh_ = true;
    joinedHolders = (created || ifMissing == IfMissing::Create) && ftruncate(fd_, 0) == 0 &&
                    ftruncate(fd_, static_cast<off_t>(size)) == 0 &&
                    lockFile(fd_, LOCK_SH | LOCK_NB) == 0;
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
    // The name may stand for another object by now (its owner removed and made it again):
    // that one belongs to others.
    const int named = openExisting(*name_);
    if (named >= 0) {
      if (sameObject(fd_, named)) shm_unlink(name_->text);
      close(named);
    }
  }
  closeDescriptor();
}

bool SharedObject::holdForChild() {
  if (fd_ < 0) return true;
  const int fd = openExisting(*name_);
  if (fd < 0) return false;
  // Nobody can hold it exclusively while this process holds it shared.
  if (sameObject(fd_, fd) && lockFile(fd, LOCK_SH | LOCK_NB) == 0) {
    childFd_ = fd;
    return true;
  }
  close(fd);
  return false;
}

void SharedObject::afterForkInParent() {
  if (childFd_ >= 0) close(childFd_);
  childFd_ = -1;
}

void SharedObject::afterForkInChild(bool adopt) {
  if (!adopt || childFd_ < 0) {
    afterForkInParent();
    return;
  }
  // Closing the inherited descriptor leaves the parent's lock alone: the parent still has
  // its description open.
  close(fd_);
  fd_ = childFd_;
  childFd_ = -1;
}

void SharedObject::closeDescriptor() {
  close(fd_);
  fd_ = -1;
  fresh_ = false;
}

}  // namespace halvane3
