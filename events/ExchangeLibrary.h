// The exchange library as the injectors use it: SetCommandEntry, bound by name at its
// first use, from the given folders first (the program's own, then an installation's
// library folder), then wherever the system's loader finds it. A failed load is tried
// again at the next call, so a library copied into place later is picked up. Once bound,
// the library stays loaded until the process ends: unloading it would detach the process
// from the shared region.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace FauxlarmEvents {

// The library's file name, as the system's loader knows it.
std::string ExchangeLibraryFileName();

// The program's folder and, when it is there, the folder installedRelative leads to from
// it; each ends with "/". Programs look there for what they load before anywhere else.
std::vector<std::string> BesideAndInstalled(const std::string& programFolder,
                                            const std::string& installedRelative);
// The folders that may hold the exchange library, in the order to look.
std::vector<std::string> LibraryFolders(const std::string& programFolder);

class ExchangeLibrary {
 public:
  explicit ExchangeLibrary(std::vector<std::string> folders) : folders_(std::move(folders)) {}

  // Loads the library and binds SetCommandEntry unless done already. False, with the
  // reason in error (UTF-8), when the library cannot be loaded or lacks the function.
  bool Bind(std::string* error);
  // The library's result: 1, or 0 when it refused the text. Only after Bind succeeded.
  std::int32_t SetCommandEntry(const std::string& command, std::int32_t queue) const;
  // The file the library was loaded from; after Bind.
  const std::string& FileName() const { return fileName_; }

 private:
  bool Load(std::string* error);

  std::vector<std::string> folders_;
  void* library_ = nullptr;
  std::string fileName_;
  void* setCommandEntry_ = nullptr;
};

}  // namespace FauxlarmEvents
