// The file steps that receivers and profiles share: their file names and free disk
// identities, opening a file to load it, saving many files together, deleting one, and the
// failures and log lines of steps that run on after an earlier one failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/BinaryFile.h"
#include "common/Text1252.h"
#include "config/FileReplacements.h"

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
// even) until nothing lies at the path of one and reserved, when given, does not hold it,
// and returns it. Once every identity 1..9991 has been drawn and found taken, raises
// error 67.
std::int16_t FindFreeDiskIdentity(const DiskFolder& files,
                                  const std::function<bool(std::int16_t)>& reserved = {});

// Deletes a file; error 53 when there is none.
void DeleteFile(std::u16string_view path);

// What steps that run on after a failure keep of it: the last failure's description and
// error number (0 for a failure that has none).
class StepFailures {
 public:
  // Runs the step and records what it raises. True when it succeeded.
  template <typename Step>
  bool Run(Step&& step) {
    try {
      step();
      return true;
    } catch (const std::exception& e) {
      Record(e);
      return false;
    }
  }
  void Record(const std::exception& failure);
  bool Any() const { return recorded_; }
  const std::u16string& Description() const { return description_; }
  int Number() const { return number_; }

 private:
  bool recorded_ = false;
  std::u16string description_;
  int number_ = 0;
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

// Saves of receivers and profiles made together, as a host's "save all" makes them: every
// file is written first, then all are made durable and renamed over their files at once
// (FileReplacements), far faster than one save after another. A save reports success only
// once its file holds the new bytes durably; a save that fails at any step leaves its file
// as it was (but see FileReplacements::Commit on folders) and is logged.
class SaveBatch {
 public:
  // What became of one save.
  struct Outcome {
    bool saved = false;
    int errorNumber = 0;  // of the failure
  };

  SaveBatch() = default;
  SaveBatch(const SaveBatch&) = delete;
  SaveBatch& operator=(const SaveBatch&) = delete;

  // Stages one save and returns its number. An object without an identity (below 0) first
  // gets a free one that no other save of the batch took; updatedIdentity tells whether it
  // did. Then the bytes compose gives are written beside its file. identity and
  // updatedIdentity must live until Commit, and so must what saved refers to.
  std::size_t Add(const VersionedFileKind& kind, std::int16_t& identity, bool& updatedIdentity,
                  const std::function<std::string()>& compose, std::function<void()> saved);
  // Replaces the files, then finishes each save in the order added: saved runs for those
  // whose file was replaced; each other one logs "<save failed> <path> Err:<description>"
  // and gives back an identity it drew (-1 again, updatedIdentity false).
  void Commit();
  const Outcome& OutcomeOf(std::size_t save) const { return saves_.at(save).outcome; }

 private:
  struct Save {
    const VersionedFileKind* kind = nullptr;
    std::int16_t* identity = nullptr;
    bool* updatedIdentity = nullptr;
    std::u16string path;  // of its file; the kind's folder when no identity was found
    std::function<void()> saved;
    std::size_t replacement = 0;
    StepFailures failures;  // of staging
    Outcome outcome;
  };

  FileReplacements replacements_;
  std::vector<Save> saves_;
};

// One save as a batch of its own: stage adds it. True when it was saved.
bool SaveAlone(const std::function<std::size_t(SaveBatch&)>& stage);

}  // namespace Halvane_Config
