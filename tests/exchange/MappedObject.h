// A shared object of some namespace mapped into the test process directly, by its POSIX
// name, the way code without the library opens it. The test process holds no flock on it,
// so it never keeps the object alive.
#pragma once

#include <cstddef>
#include <string>

#include "SharedRegion.h"

class MappedObject {
 public:
  MappedObject(const std::string& posixName, size_t size);
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
