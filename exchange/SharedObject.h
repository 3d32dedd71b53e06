// A named POSIX shared-memory object with the lifetime of a platform named mapping: it lives
// while some process is attached to it. Every attached process holds a shared flock() on its
// own open file description of the object, which the kernel drops when the process ends
// however it ends; an object on which nobody holds one was left behind by processes that
// are gone, and starts afresh. Joining and leaving happen under the scope's AttachLock, so
// that "does anybody hold it?" and the reset or removal that follows are one step for every
// other process.
//
// No call here waits for a lock that somebody else holds, but the attach lock, and that one
// only until a deadline: anybody who can open an object can lock it.
#pragma once

#include <cstddef>

#include "Deadline.h"
#include "ObjectNames.h"

namespace halvane3 {

enum class IfMissing { Create, Fail };
enum class WhenLast { Remove, Keep };

// The never-removed object whose exclusive flock serialises attach and detach in a scope.
class AttachLock {
 public:
  AttachLock() = default;
  AttachLock(const AttachLock&) = delete;
  AttachLock& operator=(const AttachLock&) = delete;
  ~AttachLock();

  // Waits until held or until the deadline; false when the lock object cannot be opened
  // (or, with Fail, is not there) or somebody else held it all along.
  bool acquire(const PosixName& name, const ObjectAccess& access, IfMissing ifMissing,
               const Deadline& deadline);
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

class SharedObject {
 public:
  // Opens the object (creating it when allowed) and joins its holders. An object nobody
  // holds is reset to `size` zero bytes, or, when it may not be created, counts as missing.
  // An object others hold that is smaller than `size` cannot be had, nor can one that
  // `access` does not accept.
  bool join(const PosixName& name, const ObjectAccess& access, size_t size, IfMissing ifMissing);
  bool map();
  void unmap();
  // Unmaps and closes; with Remove, also removes the object's name when this process was
  // its last holder and the name still stands for it.
  void leave(WhenLast whenLast);

  // A forked child shares this process's open file descriptions, and with them its locks,
  // so without a hold of its own it would not count as a holder. Before the fork the process
  // opens the object once more and holds it there too (false when it cannot); after it, the
  // parent closes that description again and the child keeps it in place of the inherited
  // one (or, when `adopt` is false, drops it).
  bool holdForChild();
  void afterForkInParent();
  void afterForkInChild(bool adopt);

  bool joined() const { return fd_ >= 0; }
  // True when join found nobody holding the object: its bytes are all zero.
  bool fresh() const { return fresh_; }
  void* address() const { return address_; }

 private:
  void closeDescriptor();

  const PosixName* name_ = nullptr;
  int fd_ = -1;
  int childFd_ = -1;
  size_t size_ = 0;
  bool fresh_ = false;
  void* address_ = nullptr;
};

}  // namespace halvane3
