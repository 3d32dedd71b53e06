// The summary of the receivers and profiles in a folder: for each file its identity,
// version, name, whether it is enabled, whether the server can load it and what is wrong
// with it; and the files that are neither.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "Decoders.h"
#include "Document.h"

namespace configdump {

struct FolderEntry {
  std::string file;  // below the folder summarised
  int identity = 0;
  Decoded decoded;
};

struct FolderReport {
  std::string folder;
  std::vector<FolderEntry> receivers;
  std::vector<FolderEntry> profiles;
  std::vector<std::pair<std::string, std::string>> otherFiles;  // file, why it is left out

  // Whether the server can load every receiver and profile.
  bool allReadable() const;
};

// A program folder (with Receivers/ and Profiles/ below it) or a folder that holds the
// files themselves. Raises std::runtime_error when the folder cannot be listed.
FolderReport summarizeFolder(const std::string& folder);

// A table per kind of file, then the other files.
std::string folderText(const FolderReport& report);
Node folderNode(const FolderReport& report);

}  // namespace configdump
