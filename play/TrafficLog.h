// The local date and time as events and the traffic log need them, and the traffic log:
// one line per event,
//   2026-12-08T10:15:02.123456+01:00 tcp sent 1|2026-12-08|10:15:02|TA0220'GT41|...
// with the time the event was handed over, the method, "sent" or why it was not, and the
// exact line or command text, in Windows-1252 as it went out.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace Play {

class LocalClock {
 public:
  // Reads the system's clock.
  void Update();
  const std::string& Date() const { return date_; }  // "2026-12-08"
  const std::string& Time() const { return time_; }  // "10:15:02"
  void AppendLogTime(std::string& out) const;

 private:
  std::int64_t second_ = -1;
  int microsecond_ = 0;
  std::string date_;
  std::string time_;
  std::string zone_;  // "+01:00"
};

class TrafficLog {
 public:
  ~TrafficLog();
  // False with the reason when the file cannot be made.
  bool Open(const std::string& path, std::string* error);
  bool IsOpen() const { return file_ != nullptr; }
  void Write(const LocalClock& clock, const char* method, const char* outcome,
             std::string_view text);
  // False with the reason when what was written did not reach the file whole.
  bool Close(std::string* error);

 private:
  std::FILE* file_ = nullptr;
  std::string line_;
};

}  // namespace Play
