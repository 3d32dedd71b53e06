#include "config/DiskFiles.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

std::int16_t FindFreeDiskIdentity(const DiskFolder& files,
                                  const std::function<bool(std::int16_t)>& reserved) {
  constexpr int kSpan = kLastDiskIdentity - kFirstDiskIdentity;
  std::vector<bool> taken(kLastDiskIdentity + 1, false);
  int takenCount = 0;
  while (takenCount < kLastDiskIdentity) {
    const auto identity =
        static_cast<std::int16_t>(hcp::RoundHalfEven(hcp::Rnd() * kSpan + kFirstDiskIdentity));
    if (!Occupied(files.FileName(identity)) && !(reserved && reserved(identity))) return identity;
    if (!taken[identity]) {
      taken[identity] = true;
      ++takenCount;
    }
  }
  throw hcp::RuntimeError(hcp::kTooManyFiles, "Too many files: all " + std::to_string(kSpan + 1) +
                                                  " disk identities are taken");
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

void StepFailures::Record(const std::exception& failure) {
  recorded_ = true;
  description_ = hcp::Utf8ToUtf16(failure.what());
  const auto* numbered = dynamic_cast<const hcp::RuntimeError*>(&failure);
  number_ = numbered != nullptr ? numbered->Number() : 0;
}

std::size_t SaveBatch::Add(const VersionedFileKind& kind, std::int16_t& identity,
                           bool& updatedIdentity, const std::function<std::string()>& compose,
                           std::function<void()> saved) {
  Save save;
  save.kind = &kind;
  save.identity = &identity;
  save.updatedIdentity = &updatedIdentity;
  save.saved = std::move(saved);
  save.path = kind.files.Path();
  updatedIdentity = false;
  const bool identified = identity >= 0 || save.failures.Run([&] {
    // Identities that earlier saves of the batch drew have no file yet.
    identity = FindFreeDiskIdentity(kind.files, [&](std::int16_t drawn) {
      const std::u16string path = kind.files.FileName(drawn);
      return std::any_of(saves_.begin(), saves_.end(),
                         [&](const Save& other) { return other.path == path; });
    });
    updatedIdentity = true;
  });
  if (identified) {
    save.path = kind.files.FileName(identity);
    save.failures.Run([&] { save.replacement = replacements_.Stage(save.path, compose()); });
  }
  saves_.push_back(std::move(save));
  return saves_.size() - 1;
}

void SaveBatch::Commit() {
  replacements_.Commit();
  for (Save& save : saves_) {
    if (!save.failures.Any()) {
      if (const auto& failure = replacements_.Failure(save.replacement))
        save.failures.Record(*failure);
    }
    if (!save.failures.Any()) {
      save.outcome = {true, 0};
      if (save.saved) save.saved();
      continue;
    }
    save.outcome = {false, save.failures.Number()};
    LogFailure(save.kind->saveFailedText, save.path, save.failures);
    // The identity names no file; a later save draws one anew.
    if (*save.updatedIdentity) {
      *save.identity = -1;
      *save.updatedIdentity = false;
    }
  }
}

bool SaveAlone(const std::function<std::size_t(SaveBatch&)>& stage) {
  SaveBatch batch;
  const std::size_t save = stage(batch);
  batch.Commit();
  return batch.OutcomeOf(save).saved;
}

}  // namespace Halvane_Config
