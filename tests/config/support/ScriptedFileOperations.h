// File operations for tests, installed while the object lives: every call goes on to the
// system's and is recorded ("Open .Receiver_0042.dat.new", "Sync ...", "Rename .Receiver_
// 0042.dat.new Receiver_0042.dat", "SyncFolder Receivers": names without folders or the
// process number), except those chosen to fail, as a full disk, a failing device or a
// rename across devices fails them. Syncs may call from several threads at once.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "config/FileOperations.h"

namespace Halvane_Config {

class ScriptedFileOperations : public FileOperations {
 public:
  enum class Call { Open, Write, Sync, Close, Rename, SyncFolder, Remove };

  ScriptedFileOperations();
  ~ScriptedFileOperations() override;

  // The calls of the kind whose line names the file (every one for none) fail with error.
  void Fail(Call call, int error, const std::string& file = {});

  std::vector<std::string> calls;

  int Open(const std::string& path, int& descriptor) override;
  int Write(int descriptor, std::string_view bytes) override;
  int Sync(int descriptor) override;
  int Close(int descriptor) override;
  int Rename(const std::string& from, const std::string& to) override;
  int SyncFolder(const std::string& folder) override;
  int Remove(const std::string& path) override;

 private:
  // Records the call; the error it fails with, or 0.
  int Record(Call call, const std::string& name, const std::string& more = {});
  std::string NameOf(int descriptor);

  FileOperations* system_;
  std::mutex mutex_;
  std::map<Call, std::pair<std::string, int>> failures_;
  std::map<int, std::string> names_;  // of open descriptors
};

}  // namespace Halvane_Config
