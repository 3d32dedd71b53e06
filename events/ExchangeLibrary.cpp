#include "events/ExchangeLibrary.h"

#include <filesystem>

#include "events/Platform.h"
#include "exchange/Halvane3.h"

namespace FauxlarmEvents {
namespace {

using SetCommandEntryFunction = decltype(&::SetCommandEntry);

// "in /a/, in /b/ and in the system's library path"
std::string PlacesLookedIn(const std::vector<std::string>& folders) {
  std::string places;
  for (const std::string& folder : folders)
    places += "in " + folder + ", ";
  if (!places.empty()) places.resize(places.size() - 2);
  return places + " and in the system's library path";
}

}  // namespace

std::string ExchangeLibraryFileName() {
  return HALVANE3_LIBRARY_FILE;
}

std::vector<std::string> BesideAndInstalled(const std::string& programFolder,
                                            const std::string& installedRelative) {
  std::vector<std::string> folders{programFolder};
  std::string installed =
      std::filesystem::path(programFolder + installedRelative).lexically_normal().generic_string();
  if (installed.empty() || installed.back() != '/') installed += '/';
  if (installed != programFolder && platform::FolderExists(installed)) folders.push_back(installed);
  return folders;
}

std::vector<std::string> LibraryFolders(const std::string& programFolder) {
  return BesideAndInstalled(programFolder, HALVANE_LIBDIR_FROM_BINDIR);
}

bool ExchangeLibrary::Load(std::string* error) {
  const std::string fileName = ExchangeLibraryFileName();
  std::string reason;
  for (const std::string& folder : folders_) {
    const std::string path = folder + fileName;
    if (!platform::FileExists(path)) continue;
    library_ = platform::LoadLibraryFile(path, &reason);
    if (library_ != nullptr) {
      fileName_ = path;
      return true;
    }
    *error = "The exchange library " + path + " could not be loaded: " + reason + ".";
    return false;
  }
  library_ = platform::LoadLibraryFile(fileName, &reason);
  if (library_ != nullptr) {
    fileName_ = fileName;
    return true;
  }
  *error = "The exchange library could not be loaded: looked for " + fileName + " " +
           PlacesLookedIn(folders_) + ".";
  // A library that the loader found but could not use says why.
  if (!platform::IsNotFound(reason)) *error += " (" + reason + ")";
  return false;
}

bool ExchangeLibrary::Bind(std::string* error) {
  if (setCommandEntry_ != nullptr) return true;
  if (!Load(error)) return false;
  setCommandEntry_ = platform::FindFunction(library_, "SetCommandEntry");
  if (setCommandEntry_ == nullptr) {
    *error = "The exchange library " + fileName_ + " has no function SetCommandEntry.";
    platform::UnloadLibrary(library_);
    library_ = nullptr;
    return false;
  }
  return true;
}

std::int32_t ExchangeLibrary::SetCommandEntry(const std::string& command,
                                              std::int32_t queue) const {
  return reinterpret_cast<SetCommandEntryFunction>(setCommandEntry_)(command.c_str(), queue);
}

}  // namespace FauxlarmEvents
