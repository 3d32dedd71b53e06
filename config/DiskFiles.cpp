#include "config/DiskFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "common/Halvane_Common_Procedures.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

constexpr std::int32_t kUnknownVersionText = 803;

std::u16string Decimal(long long value) {
  return hcp::Utf8ToUtf16(std::to_string(value));
}

// Writes all the bytes; the errno of the failure, or 0.
int WriteAll(int descriptor, std::string_view bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(descriptor, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : ENOSPC;
    written += static_cast<std::size_t>(n);
  }
  return 0;
}

// Whether anything at all lies at the path: a file of any kind, also a folder. A path
// that cannot be examined counts as free; writing there reports why.
bool Occupied(std::u16string_view path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_type type = fs::symlink_status(hcp::Utf16ToUtf8(path), error).type();
  return type != fs::file_type::not_found && type != fs::file_type::none;
}

// Opens an existing file for reading; false when there is none. Other failures raise.
bool OpenToLoad(hcp::BinaryFile& file, std::u16string_view path) {
  try {
    file.Open(path, hcp::FileMode::Binary, hcp::FileAccess::Read);
    return true;
  } catch (const hcp::RuntimeError& e) {
    if (e.Number() == hcp::kFileNotFound) return false;
    throw;
  }
}

void LogFailure(std::int32_t textNumber, std::u16string_view path, const StepFailures& failures) {
  hcp::LogMessage(hcp::GetTextByNumber(textNumber) + u" " + std::u16string(path) + u" Err:" +
                  failures.Description());
}

}  // namespace

std::u16string DiskFolder::Path() const {
  return hcp::ProgramFolder() + std::u16string(folder);
}

std::u16string DiskFolder::FileName(std::int16_t DiskIdentity) const {
  return Path() + std::u16string(prefix) + LastFourDigits(DiskIdentity) + u".dat";
}

std::u16string LastFourDigits(std::int16_t value) {
  std::u16string digits(4, u'0');
  digits += Decimal(value);
  return digits.substr(digits.size() - 4);
}

std::int16_t FindFreeDiskIdentity(const DiskFolder& files) {
  constexpr int kSpan = kLastDiskIdentity - kFirstDiskIdentity;
  std::vector<bool> taken(kLastDiskIdentity + 1, false);
  int takenCount = 0;
  while (takenCount < kLastDiskIdentity) {
    const auto identity =
        static_cast<std::int16_t>(hcp::RoundHalfEven(hcp::Rnd() * kSpan + kFirstDiskIdentity));
    if (!Occupied(files.FileName(identity))) return identity;
    if (!taken[identity]) {
      taken[identity] = true;
      ++takenCount;
    }
  }
  throw hcp::RuntimeError(hcp::kTooManyFiles, "Too many files: all " + std::to_string(kSpan + 1) +
                                                  " disk identities are taken");
}

void ReplaceFile(std::u16string_view path, std::string_view bytes) {
  namespace fs = std::filesystem;
  fs::path target(hcp::Utf16ToUtf8(path));
  struct stat existing {};
  bool replacing = ::lstat(target.c_str(), &existing) == 0;
  if (replacing && S_ISLNK(existing.st_mode)) {
    std::error_code error;
    const fs::path resolved = fs::weakly_canonical(target, error);
    if (!error) target = resolved;
    replacing = ::stat(target.c_str(), &existing) == 0;
  }
  if (replacing && S_ISDIR(existing.st_mode)) hcp::RaiseSystemError(EISDIR, target.string());
  // The super-user may write to every file (a read-only file system fails the rename).
  if (replacing && ::geteuid() != 0 &&
      ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
    hcp::RaiseSystemError(errno, target.string());
  }

  // Hidden, so that a copy cut short by a crash is never taken for a stored file, and
  // named by the process, so that two processes never write the same copy.
  std::string besideName = ".";
  besideName += target.filename().string();
  besideName += '.';
  besideName += std::to_string(::getpid());
  besideName += ".new";
  const std::string beside = (target.parent_path() / besideName).string();
  const int descriptor = ::open(beside.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0) hcp::RaiseSystemError(errno, target.string());
  int error = WriteAll(descriptor, bytes);
  // The permissions are the old file's; where they cannot be given, the new file's stay.
  if (error == 0 && replacing) ::fchmod(descriptor, existing.st_mode & 07777);
  if (::close(descriptor) != 0 && error == 0) error = errno;
  if (error == 0 && std::rename(beside.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    ::unlink(beside.c_str());
    hcp::RaiseSystemError(error, target.string());
  }
}

void DeleteFile(std::u16string_view path) {
  const std::string name = hcp::Utf16ToUtf8(path);
  if (::unlink(name.c_str()) == 0) return;
  if (errno != ENOENT) hcp::RaiseSystemError(errno, name);
  throw hcp::RuntimeError(hcp::kFileNotFound,
                          hcp::RuntimeError::DescriptionOf(hcp::kFileNotFound) + " (" + name + ")");
}

LoadOutcome LoadVersionedFile(
    const VersionedFileKind& kind, std::int16_t DiskIdentity,
    const std::function<void(hcp::ByteInput& in, std::int16_t version)>& read) {
  const std::u16string path = kind.files.FileName(DiskIdentity);
  LoadOutcome outcome;
  std::int16_t version = 0;
  StepFailures failures;
  failures.Run([&] {
    hcp::BinaryFile file;
    if (!OpenToLoad(file, path) || file.Length() < 2) return;
    version = hcp::GetInt16(file);
    outcome.versionRead = true;
    if (!kind.isKnownVersion(version)) {
      hcp::LogMessage(hcp::GetTextByNumber(kUnknownVersionText) + u" '" + path + u"' (" +
                      Decimal(version) + u") " + hcp::GetTextByNumber(kind.unknownVersionText));
      return;
    }
    read(file, version);
    outcome.loaded = true;
  });
  if (failures.Any()) {
    LogFailure(kind.loadFailedText, path, failures);
  } else if (outcome.loaded && version != kCurrentFileVersion) {
    hcp::LogMessage(hcp::GetTextByNumber(kind.upgradedText) + u" '" + path + u"' (version " +
                    Decimal(version) + u" -> " + Decimal(kCurrentFileVersion) + u")");
    outcome.upgraded = true;
  }
  return outcome;
}

bool SaveVersionedFile(const VersionedFileKind& kind, std::int16_t& identity, bool& updatedIdentity,
                       const std::function<std::string()>& compose) {
  StepFailures failures;
  updatedIdentity = false;
  if (identity < 0) {
    if (!failures.Run([&] { identity = FindFreeDiskIdentity(kind.files); })) {
      LogFailure(kind.saveFailedText, kind.files.Path(), failures);
      return false;
    }
    updatedIdentity = true;
  }
  const std::u16string path = kind.files.FileName(identity);
  failures.Run([&] { ReplaceFile(path, compose()); });
  if (failures.Any()) LogFailure(kind.saveFailedText, path, failures);
  return !failures.Any();
}

}  // namespace Halvane_Config
