// The system information, running applications and watchdog, printed when they change.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "MonitorOptions.h"

class SharedValuesView {
 public:
  explicit SharedValuesView(const MonitorOptions& options) : options_(options) {}

  // Prints the chosen values that differ from what was printed last (all of them the first
  // time).
  void printChanges(std::FILE* out);

 private:
  const MonitorOptions& options_;
  std::optional<std::string> sysInfo_;
  std::optional<uint32_t> runningApps_;
  std::optional<int32_t> watchdog_;
};
