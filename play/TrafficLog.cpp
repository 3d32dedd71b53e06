#include "play/TrafficLog.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "play/Platform.h"

namespace Play {

void LocalClock::Update() {
  const std::int64_t microseconds = std::chrono::duration_cast<std::chrono::microseconds>(
                                        std::chrono::system_clock::now().time_since_epoch())
                                        .count();
  microsecond_ = static_cast<int>(microseconds % 1'000'000);
  const std::int64_t second = microseconds / 1'000'000;
  if (second == second_) return;
  second_ = second;
  const platform::CalendarTime local = platform::LocalTime(second);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", local.year, local.month, local.day);
  date_ = text;
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.hour, local.minute, local.second);
  time_ = text;
  const int offset = std::abs(local.utcOffsetMinutes);
  std::snprintf(text, sizeof text, "%c%02d:%02d", local.utcOffsetMinutes < 0 ? '-' : '+',
                offset / 60, offset % 60);
  zone_ = text;
}

void LocalClock::AppendLogTime(std::string& out) const {
  char fraction[16];
  std::snprintf(fraction, sizeof fraction, ".%06d", microsecond_);
  out += date_;
  out += 'T';
  out += time_;
  out += fraction;
  out += zone_;
}

TrafficLog::~TrafficLog() {
  if (file_ != nullptr) std::fclose(file_);
}

bool TrafficLog::Open(const std::string& path, std::string* error) {
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) {
    *error = std::strerror(errno);
    return false;
  }
  std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
  return true;
}

void TrafficLog::Write(const LocalClock& clock, const char* method, const char* outcome,
                       std::string_view text) {
  line_.clear();
  clock.AppendLogTime(line_);
  line_ += ' ';
  line_ += method;
  line_ += ' ';
  line_ += outcome;
  line_ += ' ';
  line_ += text;
  line_ += '\n';
  std::fwrite(line_.data(), 1, line_.size(), file_);
}

bool TrafficLog::Close(std::string* error) {
  if (file_ == nullptr) return true;
  const bool failed = std::ferror(file_) != 0;
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (failed || closed != 0) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace Play
