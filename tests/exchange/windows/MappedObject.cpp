// A file mapping opened by name. While the view exists it keeps the mapping alive.
#define WIN32_LEAN_AND_MEAN
#include "MappedObject.h"

#include <windows.h>

MappedObject::MappedObject(const std::string& objectName, size_t size) : size_(size) {
  const HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, objectName.c_str());
  if (mapping == nullptr) return;
  address_ = MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, size);
  CloseHandle(mapping);
}

MappedObject::~MappedObject() {
  if (address_ != nullptr) UnmapViewOfFile(address_);
}
