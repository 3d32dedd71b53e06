#define WIN32_LEAN_AND_MEAN
#include "events/Platform.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>

#include "events/EventLine.h"
#include "events/windows/WindowsText.h"

namespace FauxlarmEvents {

namespace platform {
namespace {

// The C library's number for a system error, which callers of AppendToFile read.
int ErrnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    default:
      return EIO;
  }
}

// "(error 126)" ends the loader's reason when the library is not there.
std::string LoaderError(DWORD error) {
  return windows::ErrorText(error) + " (error " + std::to_string(error) + ")";
}

}  // namespace

void* LoadLibraryFile(const std::string& path, std::string* error) {
  // A library that cannot be loaded is told in the error; no dialog waits for a user on a
  // server's console.
  DWORD previousMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  const std::wstring name = windows::Wide(path);
  // By name, the program's folder and the system's folders only: the current folder, and
  // the folders of PATH, are no places to load code from, since whoever may write there
  // would choose the code that runs.
  HMODULE library = LoadLibraryExW(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
  DWORD reason = GetLastError();
  if (library == nullptr && reason == ERROR_INVALID_PARAMETER) {
    // Windows 7 without its update KB2533623 knows no such flags; there the current folder
    // at least can be taken out.
    SetDllDirectoryW(L"");
    library = LoadLibraryW(name.c_str());
    reason = GetLastError();
  }
  SetThreadErrorMode(previousMode, nullptr);
  if (library == nullptr) *error = LoaderError(reason);
  return reinterpret_cast<void*>(library);
}

void* FindFunction(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void UnloadLibrary(void* library) {
  FreeLibrary(static_cast<HMODULE>(library));
}

bool IsNotFound(const std::string& loaderError) {
  const std::string notFound = "(error " + std::to_string(ERROR_MOD_NOT_FOUND) + ")";
  return loaderError.size() >= notFound.size() &&
         loaderError.compare(loaderError.size() - notFound.size(), notFound.size(), notFound) == 0;
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(windows::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(windows::Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace platform

bool AppendToFile(const std::string& path, const std::string& bytes) {
  // Append access alone: every write lands at the end, whatever others wrote meanwhile. The
  // alarm server may read, rename or delete the file while it is open.
  const HANDLE file = CreateFileW(windows::Wide(path).c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    errno = platform::ErrnoOf(GetLastError());
    return false;
  }
  DWORD failure = ERROR_SUCCESS;
  for (std::size_t done = 0; done < bytes.size() && failure == ERROR_SUCCESS;) {
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 30));
    DWORD n = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &n, nullptr)) {
      failure = GetLastError();
    } else if (n == 0) {
      failure = ERROR_WRITE_FAULT;
    }
    done += n;
  }
  if (!CloseHandle(file) && failure == ERROR_SUCCESS) failure = GetLastError();
  if (failure != ERROR_SUCCESS) errno = platform::ErrnoOf(failure);
  return failure == ERROR_SUCCESS;
}

}  // namespace FauxlarmEvents
