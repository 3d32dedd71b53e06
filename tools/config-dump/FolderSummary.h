// The summary of the receivers, profiles and calendar in a folder: for each receiver and
// profile its identity, version, name, whether it is enabled, whether the server can load
// it and what is wrong with it; the calendar's size, dates set per year and damage; and
// the files that are none of these.
#pragma once

#include <optional>
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
  std::optional<Decoded> calendar;  // of Calendar.dat, when the folder has one
  std::vector<std::pair<std::string, std::string>> otherFiles;  // file, why it is left out

  // Whether the server can load every receiver, profile and the calendar.
  bool allReadable() const;
  // The files it cannot load, below the folder, with the reason.
  std::vector<std::pair<std::string, std::string>> unreadable() const;
};

// A program folder (with Receivers/ and Profiles/ below it) or a folder that holds the
// files themselves; Calendar.dat in it either way. Raises std::runtime_error when the
// folder cannot be listed.
FolderReport summarizeFolder(const std::string& folder);

// A table per kind of file, the calendar, then the other files.
std::string folderText(const FolderReport& report);
Node folderNode(const FolderReport& report);

}  // namespace configdump
