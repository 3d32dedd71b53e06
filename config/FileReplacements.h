// Replacing files whole and durably, one or many at once.
//
// A file is replaced by a copy written beside it and renamed over it, so that its path
// holds either the old bytes or the new ones, never a part. The copy is hidden, "." + the
// file's name + "." + the process number + ".new", so that a copy cut short is never taken
// for a stored file and two processes never write the same one; a copy that an earlier
// process with the same number left is overwritten. The copy's data is made durable before
// the rename, and the folder's names after it, so that a power cut brings back neither a
// file cut short nor the old name on a file system that orders nothing (XFS, ext4 with
// data=writeback or noauto_da_alloc, network shares).
//
// Many files go together in rounds: every copy written, then every copy made durable, then
// every rename (both a few at a time, side by side), then each folder made durable once.
// The file system then writes them in a few sweeps instead of one journal commit per file.
//
// A link stays a link: the file it points to is replaced. A replaced file keeps its
// permissions; one this process may not write to, or a folder, is refused with its error
// (70, 75), as writing it in place would be. A file system that cannot make files durable
// at all (fsync answers EINVAL, ENOTSUP or ENOSYS) saves as well as it can.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "common/RuntimeError.h"

namespace Halvane_Config {

class FileReplacements {
 public:
  FileReplacements();
  // Removes the copies of replacements never committed.
  ~FileReplacements();
  FileReplacements(const FileReplacements&) = delete;
  FileReplacements& operator=(const FileReplacements&) = delete;

  // Writes the copy that is to replace path and returns the replacement's number. A
  // failure raises and leaves nothing beside path; so does a path already staged here
  // (error 55), as both copies would be one file.
  std::size_t Stage(std::u16string_view path, std::string_view bytes);
  // Makes the copies durable, renames them over their files and makes their folders
  // durable. A replacement whose copy cannot be made durable or renamed fails: its file
  // keeps its old bytes and nothing is left beside it. When a folder cannot be made durable
  // its replacements fail too, although their files already hold the new bytes: a power
  // cut may bring back the old ones.
  void Commit();
  // After Commit: nothing when the file was replaced, else why it was not.
  const std::optional<Halvane_Common_Procedures::RuntimeError>& Failure(
      std::size_t replacement) const;

 private:
  struct Replacement {
    std::string target;  // the file itself, links resolved
    std::string copy;
    std::string folder;
    int descriptor = -1;  // of the copy while it is open
    bool renamed = false;
    std::optional<Halvane_Common_Procedures::RuntimeError> failure;
  };

  // Makes the open copies durable and closes them.
  void SyncOpenCopies();
  // Records a replacement's failure and removes its copy.
  void Fail(Replacement& replacement, int error);

  // Asked once: a batch makes several system calls per file already.
  std::string processNumber_;
  bool superUser_;
  std::vector<Replacement> replacements_;
  std::unordered_set<std::string> targets_;
  std::size_t openCopies_ = 0;
};

// One file replaced as above; the failure raises.
void ReplaceFile(std::u16string_view path, std::string_view bytes);

}  // namespace Halvane_Config
