// A shared object mapped into the test process directly, by the name the platform gives it
// (the POSIX name of a namespace's object, or the name of a Windows file mapping), the way
// code without the library opens it. On POSIX the test process holds no flock on it, so it
// never keeps the object alive.
#pragma once

#include <cstddef>
#include <string>

#include "SharedRegion.h"

class MappedObject {
 public:
  MappedObject(const std::string& objectName, size_t size);
  ~MappedObject();
  MappedObject(const MappedObject&) = delete;
  MappedObject& operator=(const MappedObject&) = delete;

  bool mapped() const { return address_ != nullptr; }
  void* address() const { return address_; }
  halvane3::SharedRegion& region() const { return *static_cast<halvane3::SharedRegion*>(address_); }

 private:
  void* address_ = nullptr;
  size_t size_;
};
