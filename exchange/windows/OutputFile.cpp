// Log files and printer devices as file handles.
#include "LibraryState.h"
#include "Platform.h"

namespace halvane3 {
namespace {

// Opened for writing at the end. Writers of the library append under the region mutex, so
// nobody appends between the move and the write. A device or pipe cannot be positioned, and
// the move then fails harmlessly.
intptr_t openAtEnd(const char* path, DWORD disposition) {
  const HANDLE handle = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return -1;
  SetFilePointer(handle, 0, nullptr, FILE_END);
  return reinterpret_cast<intptr_t>(handle);
}

}  // namespace

OutputFile OutputFile::appendToLog(const char* path) {
  return OutputFile(openAtEnd(path, OPEN_ALWAYS));
}

// A file standing in for a device (a capture of what is printed) collects every job.
OutputFile OutputFile::openDevice(const char* device) {
  return OutputFile(openAtEnd(device, OPEN_EXISTING));
}

bool OutputFile::write(const char* bytes, size_t length) {
  const HANDLE handle = reinterpret_cast<HANDLE>(handle_);
  while (length > 0) {
    DWORD written = 0;
    if (!WriteFile(handle, bytes, static_cast<DWORD>(length), &written, nullptr) || written == 0) {
      return false;
    }
    bytes += written;
    length -= written;
  }
  return true;
}

bool OutputFile::close() {
  if (!isOpen()) return false;
  const HANDLE handle = reinterpret_cast<HANDLE>(handle_);
  handle_ = kClosed;
  return CloseHandle(handle) != FALSE;
}

}  // namespace halvane3
