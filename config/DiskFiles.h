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

// Writes the bytes to a new file beside path and renames it over path, so that path holds
// either its old bytes or the new ones, never a part. A failure raises and leaves path as
// it was, with nothing beside it.
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

// How far loading a file came.
struct LoadOutcome {
  bool versionRead = false;  // the file had one, known or not
  bool loaded = false;       // and its record was read whole
  std::int16_t version = 0;
};

// The load steps that receivers and profiles share. Opens the file without creating it;
// a missing file or one shorter than 2 bytes ends the load quietly. Otherwise reads the
// version number and, when isKnown accepts it, lets read take the record from the file;
// an unknown version is logged with text unknownText. Whatever fails is logged with
// text failedText.
LoadOutcome LoadVersionedFile(std::u16string_view path, bool (*isKnown)(std::int16_t),
                              std::int32_t unknownText, std::int32_t failedText,
                              const std::function<void(Halvane_Common_Procedures::ByteInput& in,
                                                       std::int16_t version)>& read);

// The save steps that receivers and profiles share. An object without an identity
// (below 0) first gets a free one; updatedIdentity tells whether it did. Then the bytes
// compose gives replace its file. A failure is logged with text failedText; the result
// is false then.
bool SaveIdentifiedFile(const DiskFolder& files, std::int16_t& identity, bool& updatedIdentity,
                        std::int32_t failedText, const std::function<std::string()>& compose);

// The log lines of loading and saving start with a numbered text:
//   "<text> <path> Err:<description>"          a failed load or save
//   "<text 803> '<path>' (<v>) <text>"          a version no one knows
//   "<text> '<path>' (version <v> -> 5)"        an older file read, to be rewritten
void LogUpgrade(std::int32_t textNumber, std::u16string_view path, std::int16_t version);

}  // namespace Halvane_Config
