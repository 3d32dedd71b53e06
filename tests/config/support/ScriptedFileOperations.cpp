#include "ScriptedFileOperations.h"

#include <unistd.h>

#include <filesystem>

namespace Halvane_Config {

namespace {

std::string ShortName(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  const std::string pid = "." + std::to_string(::getpid());
  if (const std::size_t at = name.find(pid + ".new"); at != std::string::npos)
    name.erase(at, pid.size());
  return name;
}

}  // namespace

ScriptedFileOperations::ScriptedFileOperations() {
  SetFileOperations(nullptr);
  system_ = &CurrentFileOperations();
  SetFileOperations(this);
}

ScriptedFileOperations::~ScriptedFileOperations() {
  SetFileOperations(nullptr);
}

void ScriptedFileOperations::Fail(Call call, int error, std::string_view file) {
  failures_[call] = {std::string(file), error};
}

int ScriptedFileOperations::Record(Call call, const std::string& line) {
  const std::lock_guard lock(mutex_);
  calls.push_back(line);
  const auto failure = failures_.find(call);
  if (failure == failures_.end()) return 0;
  const auto& [file, error] = failure->second;
  return line.find(file) != std::string::npos ? error : 0;
}

std::string ScriptedFileOperations::NameOf(int descriptor) {
  const std::lock_guard lock(mutex_);
  return names_[descriptor];
}

int ScriptedFileOperations::Open(const std::string& path, int& descriptor) {
  if (const int error = Record(Call::Open, "Open " + ShortName(path))) return error;
  const int error = system_->Open(path, descriptor);
  const std::lock_guard lock(mutex_);
  if (error == 0) names_[descriptor] = ShortName(path);
  return error;
}

int ScriptedFileOperations::Write(int descriptor, std::string_view bytes) {
  if (const int error = Record(Call::Write, "Write " + NameOf(descriptor))) return error;
  return system_->Write(descriptor, bytes);
}

int ScriptedFileOperations::Sync(int descriptor) {
  if (const int error = Record(Call::Sync, "Sync " + NameOf(descriptor))) return error;
  return system_->Sync(descriptor);
}

int ScriptedFileOperations::Close(int descriptor) {
  // A failed close still releases the descriptor.
  const int error = Record(Call::Close, "Close " + NameOf(descriptor));
  const int closed = system_->Close(descriptor);
  return error != 0 ? error : closed;
}

int ScriptedFileOperations::Rename(const std::string& from, const std::string& to) {
  if (const int error = Record(Call::Rename, "Rename " + ShortName(from) + " " + ShortName(to)))
    return error;
  return system_->Rename(from, to);
}

int ScriptedFileOperations::SyncFolder(const std::string& folder) {
  if (const int error = Record(Call::SyncFolder, "SyncFolder " + ShortName(folder))) return error;
  return system_->SyncFolder(folder);
}

int ScriptedFileOperations::Remove(const std::string& path) {
  if (const int error = Record(Call::Remove, "Remove " + ShortName(path))) return error;
  return system_->Remove(path);
}

}  // namespace Halvane_Config
