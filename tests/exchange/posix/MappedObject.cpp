#include "MappedObject.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

MappedObject::MappedObject(const std::string& objectName, size_t size) : size_(size) {
  const int fd = shm_open(objectName.c_str(), O_RDWR, 0);
  if (fd < 0) return;
  struct stat status;
  if (fstat(fd, &status) == 0 && static_cast<size_t>(status.st_size) >= size) {
    void* address = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (address != MAP_FAILED) address_ = address;
  }
  close(fd);
}

MappedObject::~MappedObject() {
  if (address_ != nullptr) munmap(address_, size_);
}
