#include "ProgramFolderScope.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "common/DateTime.h"
#include "common/ProgramServices.h"
#include "common/Text1252.h"

namespace Halvane_Config {

namespace fs = std::filesystem;
namespace hcp = Halvane_Common_Procedures;

TemporaryProgramFolder::TemporaryProgramFolder() {
  std::string pattern = (fs::temp_directory_path() / "halvane-config-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
  fs::create_directory(path_ + "Receivers");
  fs::create_directory(path_ + "Profiles");
  hcp::SetProgramFolder(hcp::Utf8ToUtf16(path_));
}

TemporaryProgramFolder::~TemporaryProgramFolder() {
  hcp::SetProgramFolder(u"");
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TemporaryProgramFolder::Read(std::string_view relative) const {
  std::ifstream file(PathOf(relative), std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void TemporaryProgramFolder::Write(std::string_view relative, std::string_view bytes) const {
  // A new file rather than a truncated one, which ext4 flushes to disk when it is closed.
  std::error_code ignored;
  fs::remove(PathOf(relative), ignored);
  std::ofstream file(PathOf(relative), std::ios::binary);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool TemporaryProgramFolder::Exists(std::string_view relative) const {
  std::error_code ignored;
  return fs::exists(PathOf(relative), ignored);
}

std::vector<std::string> TemporaryProgramFolder::Entries(std::string_view relative) const {
  std::vector<std::string> names;
  for (const fs::directory_entry& entry : fs::directory_iterator(PathOf(relative)))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

RecordedLog::RecordedLog() {
  hcp::SetLogSink([this](const std::u16string& text) { lines_.push_back(hcp::Utf16ToUtf8(text)); });
}

RecordedLog::~RecordedLog() {
  hcp::SetLogSink({});
}

FixedClock::FixedClock(double days) {
  const auto point = hcp::ToTimePoint(hcp::DateTime{days});
  hcp::SetClock([point] { return point; });
}

FixedClock::~FixedClock() {
  hcp::SetClock({});
}

}  // namespace Halvane_Config
