#include "config/FileReplacements.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <system_error>
#include <thread>

#include "common/Halvane_Common_Procedures.h"
#include "config/FileOperations.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;
namespace fs = std::filesystem;

namespace {

// Copies held open at once before they are made durable: well below the usual limit of
// 1,024 descriptors, and enough for the file system to write them in one sweep.
constexpr std::size_t kOpenCopiesAtMost = 256;

// Threads that make copies durable, and rename them, side by side.
constexpr std::size_t kSyncThreads = 8;

// What fsync answers on a file system that cannot make anything durable.
bool SyncUnsupported(int error) {
  return error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

// Runs work(0) .. work(count - 1) on a few threads at once, for system calls that mostly
// wait: syncs that wait together are committed together by a journaling file system,
// where one after another each waits for a commit of its own. Where no thread can be
// started, the calling thread does it all.
void SideBySide(std::size_t count, const std::function<void(std::size_t)>& work) {
  std::atomic<std::size_t> next{0};
  const auto worker = [&] {
    for (std::size_t i; (i = next++) < count;)
      work(i);
  };
  {
    std::vector<std::jthread> helpers;
    try {
      for (std::size_t t = 1; t < std::min(count, kSyncThreads); ++t)
        helpers.emplace_back(worker);
    } catch (const std::system_error&) {
      // Fewer helpers, or none.
    }
    worker();
  }
}

struct Target {
  fs::path path;
  bool exists = false;
  mode_t mode = 0;
};

// The file a path names (a link's target), refused where writing it in place would be.
Target ResolveTarget(std::u16string_view path, bool superUser) {
  Target target{hcp::Utf16ToUtf8(path)};
  struct stat existing {};
  target.exists = ::lstat(target.path.c_str(), &existing) == 0;
  if (target.exists && S_ISLNK(existing.st_mode)) {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(target.path, error);
    if (!error) target.path = resolved;
    target.exists = ::stat(target.path.c_str(), &existing) == 0;
  }
  if (target.exists && S_ISDIR(existing.st_mode))
    throw hcp::SystemError(EISDIR, target.path.string());
  // The super-user may write to every file (a read-only file system fails the rename).
  if (target.exists && !superUser &&
      ::faccessat(AT_FDCWD, target.path.c_str(), W_OK, AT_EACCESS) != 0) {
    throw hcp::SystemError(errno, target.path.string());
  }
  target.mode = existing.st_mode & 07777;
  return target;
}

}  // namespace

FileReplacements::FileReplacements()
    : processNumber_(std::to_string(::getpid())), superUser_(::geteuid() == 0) {}

FileReplacements::~FileReplacements() {
  FileOperations& operations = CurrentFileOperations();
  for (Replacement& replacement : replacements_) {
    if (replacement.descriptor >= 0) operations.Close(replacement.descriptor);
    if (!replacement.renamed && !replacement.failure) operations.Remove(replacement.copy);
  }
}

std::size_t FileReplacements::Stage(std::u16string_view path, std::string_view bytes) {
  const Target target = ResolveTarget(path, superUser_);
  Replacement replacement;
  replacement.target = target.path.string();
  if (targets_.contains(replacement.target)) {
    throw hcp::RuntimeError(
        hcp::kFileAlreadyOpen,
        hcp::RuntimeError::DescriptionOf(hcp::kFileAlreadyOpen) + " (" + replacement.target + ")");
  }
  const fs::path folder = target.path.parent_path();
  replacement.folder = folder.empty() ? fs::path(".") : folder;
  std::string copyName(1, '.');
  copyName += target.path.filename().string();
  copyName += '.';
  copyName += processNumber_;
  copyName += ".new";
  replacement.copy = (folder / copyName).string();

  FileOperations& operations = CurrentFileOperations();
  int error = operations.Open(replacement.copy, replacement.descriptor);
  if (error != 0) throw hcp::SystemError(error, replacement.target);
  error = operations.Write(replacement.descriptor, bytes);
  // The permissions are the old file's; where they cannot be given, the new file's stay.
  if (error == 0 && target.exists) ::fchmod(replacement.descriptor, target.mode);
  if (error != 0) {
    operations.Close(replacement.descriptor);
    operations.Remove(replacement.copy);
    throw hcp::SystemError(error, replacement.target);
  }
  targets_.insert(replacement.target);
  replacements_.push_back(std::move(replacement));
  if (++openCopies_ >= kOpenCopiesAtMost) SyncOpenCopies();
  return replacements_.size() - 1;
}

void FileReplacements::SyncOpenCopies() {
  std::vector<Replacement*> open;
  for (Replacement& replacement : replacements_) {
    if (replacement.descriptor >= 0) open.push_back(&replacement);
  }
  std::vector<int> errors(open.size(), 0);
  FileOperations& operations = CurrentFileOperations();
  SideBySide(open.size(), [&](std::size_t i) { errors[i] = operations.Sync(open[i]->descriptor); });
  for (std::size_t i = 0; i < open.size(); ++i) {
    const int closeError = operations.Close(open[i]->descriptor);
    open[i]->descriptor = -1;
    int error = SyncUnsupported(errors[i]) ? 0 : errors[i];
    if (error == 0) error = closeError;
    if (error != 0) Fail(*open[i], error);
  }
  openCopies_ = 0;
}

void FileReplacements::Fail(Replacement& replacement, int error) {
  replacement.failure = hcp::SystemError(error, replacement.target);
  CurrentFileOperations().Remove(replacement.copy);
}

void FileReplacements::Commit() {
  SyncOpenCopies();
  std::vector<Replacement*> ready;
  for (Replacement& replacement : replacements_) {
    if (!replacement.failure && !replacement.renamed) ready.push_back(&replacement);
  }
  // Side by side as well: a rename over a file frees the old one, which some file systems
  // take milliseconds for.
  std::vector<int> errors(ready.size(), 0);
  FileOperations& operations = CurrentFileOperations();
  SideBySide(ready.size(), [&](std::size_t i) {
    errors[i] = operations.Rename(ready[i]->copy, ready[i]->target);
  });
  std::vector<std::string> folders;
  for (std::size_t i = 0; i < ready.size(); ++i) {
    if (errors[i] != 0) {
      Fail(*ready[i], errors[i]);
      continue;
    }
    ready[i]->renamed = true;
    if (std::find(folders.begin(), folders.end(), ready[i]->folder) == folders.end())
      folders.push_back(ready[i]->folder);
  }
  for (const std::string& folder : folders) {
    const int error = operations.SyncFolder(folder);
    if (error == 0 || SyncUnsupported(error)) continue;
    for (Replacement* replacement : ready) {
      if (replacement->renamed && replacement->folder == folder)
        replacement->failure = hcp::SystemError(error, folder);
    }
  }
}

const std::optional<hcp::RuntimeError>& FileReplacements::Failure(std::size_t replacement) const {
  return replacements_.at(replacement).failure;
}

void ReplaceFile(std::u16string_view path, std::string_view bytes) {
  FileReplacements replacements;
  const std::size_t replacement = replacements.Stage(path, bytes);
  replacements.Commit();
  if (const auto& failure = replacements.Failure(replacement)) throw *failure;
}

}  // namespace Halvane_Config
