#include "ScriptedFileOperations.h"

#include <unistd.h>

#include <filesystem>

namespace Halvane_Config {

namespace {

const char* const kCallNames[] = {"Open",   "Write",      "Sync",  "Close",
                                  "Rename", "SyncFolder", "Remove"};

std::string ShortName(const std::string& path) {
  std::string name = std::filesystem::path(path).filename().string();
  std::string pid(1, '.');
  pid += std::to_string(::getpid());
  pid += ".new";
  if (const std::size_t at = name.find(pid); at != std::string::npos)
    name.replace(at, pid.size(), ".new");
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

void ScriptedFileOperations::Fail(Call call, int error, const std::string& file) {
  failures_[call] = {file, error};
}

int ScriptedFileOperations::Record(Call call, const std::string& name, const std::string& more) {
  const std::lock_guard lock(mutex_);
  calls.push_back(kCallNames[static_cast<int>(call)] + (" " + name) + more);
  const auto failure = failures_.find(call);
  return failure != failures_.end() && name.find(failure->second.first) != std::string::npos
             ? failure->second.second
             : 0;
}

std::string ScriptedFileOperations::NameOf(int descriptor) {
  const std::lock_guard lock(mutex_);
  return names_[descriptor];
}

int ScriptedFileOperations::Open(const std::string& path, int& descriptor) {
  if (const int error = Record(Call::Open, ShortName(path))) return error;
  const int error = system_->Open(path, descriptor);
  const std::lock_guard lock(mutex_);
  names_[descriptor] = ShortName(path);
  return error;
}

int ScriptedFileOperations::Write(int descriptor, std::string_view bytes) {
  const int error = Record(Call::Write, NameOf(descriptor));
  return error != 0 ? error : system_->Write(descriptor, bytes);
}

int ScriptedFileOperations::Sync(int descriptor) {
  const int error = Record(Call::Sync, NameOf(descriptor));
  return error != 0 ? error : system_->Sync(descriptor);
}

int ScriptedFileOperations::Close(int descriptor) {
  // A failed close still releases the descriptor.
  const int error = Record(Call::Close, NameOf(descriptor));
  const int closed = system_->Close(descriptor);
  return error != 0 ? error : closed;
}

int ScriptedFileOperations::Rename(const std::string& from, const std::string& to) {
  std::string more(1, ' ');
  more += ShortName(to);
  const int error = Record(Call::Rename, ShortName(from), more);
  return error != 0 ? error : system_->Rename(from, to);
}

int ScriptedFileOperations::SyncFolder(const std::string& folder) {
  const int error = Record(Call::SyncFolder, ShortName(folder));
  return error != 0 ? error : system_->SyncFolder(folder);
}

int ScriptedFileOperations::Remove(const std::string& path) {
  const int error = Record(Call::Remove, ShortName(path));
  return error != 0 ? error : system_->Remove(path);
}

}  // namespace Halvane_Config
