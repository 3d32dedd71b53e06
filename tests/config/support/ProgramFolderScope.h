// What the tests of receivers and profiles change of the program-wide state, each undone
// when it goes: a fresh program folder, the log, the clock.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace Halvane_Config {

// A new temporary folder with Receivers/ and Profiles/ below it, the program folder while
// the object lives; removed with everything in it afterwards.
class TemporaryProgramFolder {
 public:
  TemporaryProgramFolder();
  ~TemporaryProgramFolder();
  TemporaryProgramFolder(const TemporaryProgramFolder&) = delete;
  TemporaryProgramFolder& operator=(const TemporaryProgramFolder&) = delete;

  // The folder, ending with "/".
  const std::string& Path() const { return path_; }
  std::string PathOf(std::string_view relative) const { return path_ + std::string(relative); }
  std::string Read(std::string_view relative) const;
  void Write(std::string_view relative, std::string_view bytes) const;
  bool Exists(std::string_view relative) const;
  // The names of the entries of a folder below it, sorted.
  std::vector<std::string> Entries(std::string_view relative) const;

 private:
  std::string path_;
};

// The lines given to LogMessage while the object lives, in UTF-8.
class RecordedLog {
 public:
  RecordedLog();
  ~RecordedLog();
  RecordedLog(const RecordedLog&) = delete;
  RecordedLog& operator=(const RecordedLog&) = delete;

  const std::vector<std::string>& Lines() const { return lines_; }
  void Clear() { lines_.clear(); }

 private:
  std::vector<std::string> lines_;
};

// Now() answers this local date-time while the object lives.
class FixedClock {
 public:
  explicit FixedClock(double days);
  ~FixedClock();
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;
};

}  // namespace Halvane_Config
