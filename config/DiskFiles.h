// The file steps that receivers and profiles share: their file names and free disk
// identities, opening a file to load it, replacing a file whole, deleting one, and the
// failures and log lines of steps that run on after an earlier one failed.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

#include "common/BinaryFile.h"
#include "common/Text1252.h"

namespace Halvane_Config {

// The identities a new receiver or profile is given.
inline constexpr std::int16_t kFirstDiskIdentity = 1;
inline constexpr std::int16_t kLastDiskIdentity = 9991;
// The file version that receivers and profiles write.
inline constexpr std::int16_t kCurrentFileVersion = 5;

// Where the files of one kind lie below the program folder.
struct DiskFolder {
  std::u16string_view folder;  // "Receivers/"
  std::u16string_view prefix;  // "Receiver_"

  // The program folder and folder.
  std::u16string Path() const;
  // Path(), prefix, the last four characters of "0000" and the identity, ".dat":
  // identity 42 gives ".../Receivers/Receiver_0042.dat".
  std::u16string FileName(std::int16_t DiskIdentity) const;
};

// The last four characters of "0000" and the value in decimal: 42 gives "0042", 12345
// "2345", -1 "00-1".
std::u16string LastFourDigits(std::int16_t value);

// Draws identities (a value r from the program-wide Rnd, r * 9990 + 1 rounded half to
// even) until nothing lies at the path of one, and returns it. Once every identity
// 1..9991 has been drawn and found taken, raises error 67.
std::int16_t FindFreeDiskIdentity(const DiskFolder& files);

// Writes the bytes to a new file beside path (hidden: "." + its name + "." + the process
// number + ".new") and renames it over path, so that path holds either its old bytes or
// the new ones, never a part. A link stays a link: the file it points to is replaced. A
// file that is replaced keeps its permissions; one this process may not write to, or a
// folder, is refused with its error (70, 75), as writing it in place would be. A failure
// raises and leaves path as it was, with nothing beside it. A copy that an earlier process
// with the same number left beside it is overwritten.
void ReplaceFile(std::u16string_view path, std::string_view bytes);

// Deletes a file; error 53 when there is none.
void DeleteFile(std::u16string_view path);

// What steps that run on after a failure keep of it: the last failure's description.
class StepFailures {
 public:
  // Runs the step and records what it raises. True when it succeeded.
  template <typename Step>
  bool Run(Step&& step) {
    try {
      step();
      return true;
    } catch (const std::exception& e) {
      recorded_ = true;
      description_ = Halvane_Common_Procedures::Utf8ToUtf16(e.what());
      return false;
    }
  }
  bool Any() const { return recorded_; }
  const std::u16string& Description() const { return description_; }

 private:
  bool recorded_ = false;
  std::u16string description_;
};

// What a kind of versioned file (receiver, profile) needs to be loaded and saved: where its
// files lie, which versions can be read, and the numbers of the texts its log lines start
// with:
//   "<save or load failed> <path> Err:<description>"
//   "<803> '<path>' (<version>) <unknown version>"
//   "<upgraded> '<path>' (version <v> -> 5)"        an older file read, to be rewritten
struct VersionedFileKind {
  DiskFolder files;
  bool (*isKnownVersion)(std::int16_t version);
  std::int32_t unknownVersionText;
  std::int32_t upgradedText;
  std::int32_t loadFailedText;
  std::int32_t saveFailedText;
};

// How far loading a file came.
struct LoadOutcome {
  bool versionRead = false;  // the file had one, known or not
  bool loaded = false;       // and its record was read whole
  bool upgraded = false;     // from an older version: to be saved anew
};

// The load steps that receivers and profiles share. Opens the file of the identity without
// creating it; a missing file or one shorter than 2 bytes ends the load quietly.
// Otherwise reads the version number and, for a known one, lets read take the record from
// the file. An unknown version, an older one and a failure are logged.
LoadOutcome LoadVersionedFile(const VersionedFileKind& kind, std::int16_t DiskIdentity,
                              const std::function<void(Halvane_Common_Procedures::ByteInput& in,
                                                       std::int16_t version)>& read);

// The save steps that receivers and profiles share. An object without an identity
// (below 0) first gets a free one; updatedIdentity tells whether it did. Then the bytes
// compose gives replace its file. A failure is logged; the result is false then.
bool SaveVersionedFile(const VersionedFileKind& kind, std::int16_t& identity, bool& updatedIdentity,
                       const std::function<std::string()>& compose);

}  // namespace Halvane_Config
