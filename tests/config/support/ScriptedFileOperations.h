// File operations for tests: every call goes on to the system's and is recorded, and the
// calls chosen fail with the error chosen instead, as a full disk, a failing device or a
// rename across devices would make them fail. Installed while the object lives. Calls may
// come from several threads (syncs run side by side).
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "config/FileOperations.h"

namespace Halvane_Config {

class ScriptedFileOperations : public FileOperations {
 public:
  enum class Call { Open, Write, Sync, Close, Rename, SyncFolder, Remove };

  ScriptedFileOperations();
  ~ScriptedFileOperations() override;
  ScriptedFileOperations(const ScriptedFileOperations&) = delete;
  ScriptedFileOperations& operator=(const ScriptedFileOperations&) = delete;

  // The calls of the kind whose line names the file (every call when empty) fail with
  // error and do nothing.
  void Fail(Call call, int error, std::string_view file = {});

  // One line per call: "Open .Receiver_0042.dat.new", "Write ...", "Sync ...",
  // "Close ...", "Rename .Receiver_0042.dat.new Receiver_0042.dat", "SyncFolder Receivers",
  // "Remove ...": file names without their folder, the process number taken out of copies'.
  std::vector<std::string> calls;

  int Open(const std::string& path, int& descriptor) override;
  int Write(int descriptor, std::string_view bytes) override;
  int Sync(int descriptor) override;
  int Close(int descriptor) override;
  int Rename(const std::string& from, const std::string& to) override;
  int SyncFolder(const std::string& folder) override;
  int Remove(const std::string& path) override;

 private:
  // Records the call; the error it is to fail with, or 0.
  int Record(Call call, const std::string& line);

  // The name of an open descriptor's file.
  std::string NameOf(int descriptor);

  FileOperations* system_;
  std::mutex mutex_;
  std::map<Call, std::pair<std::string, int>> failures_;  // the file named, the error
  std::map<int, std::string> names_;
};

}  // namespace Halvane_Config
