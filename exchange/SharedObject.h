// A named POSIX shared-memory object with the lifetime of a platform named mapping: it lives
// while some process is attached to it. Every attached process holds a shared flock() on its
// descriptor, which the kernel drops when the process ends however it ends; an object on
// which nobody holds one was left behind by processes that are gone, and starts afresh.
// Joining and leaving happen under the scope's AttachLock, so that "does anybody hold it?"
// and the reset or removal that follows are one step for every other process.
#pragma once

#include <cstddef>

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

  // Blocks until held; false when the lock object cannot be opened (or, with Fail, is not
  // there).
  bool acquire(const PosixName& name, Scope scope, IfMissing ifMissing);
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

class SharedObject {
 public:
  // Opens the object (creating it when allowed) and joins its holders. An object nobody
  // holds is reset to `size` zero bytes, or, when it may not be created, counts as missing.
  // An object others hold that is smaller than `size` cannot be had.
  bool join(const PosixName& name, Scope scope, size_t size, IfMissing ifMissing);
  bool map();
  void unmap();
  // Unmaps and closes; with Remove, also removes the object when this process was its last
  // holder.
  void leave(WhenLast whenLast);

  bool joined() const { return fd_ >= 0; }
  // True when join found nobody holding the object: its bytes are all zero.
  bool fresh() const { return fresh_; }
  void* address() const { return address_; }

 private:
  void closeDescriptor();

  const PosixName* name_ = nullptr;
  int fd_ = -1;
  size_t size_ = 0;
  bool fresh_ = false;
  void* address_ = nullptr;
};

}  // namespace halvane3
