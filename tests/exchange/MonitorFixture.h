// halvane3-monitor run as the real program against a region that helper processes fill.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "TestNamespace.h"

inline std::vector<std::string> monitor(std::vector<std::string> options) {
  options.insert(options.begin(), MONITOR_PATH);
  return options;
}

// Entries from a helper that stays attached, so the region lives while the monitor runs.
class MonitorTest : public ::testing::Test {
 protected:
  void fill(const std::vector<std::string>& commands) {
    std::vector<std::string> all = commands;
    all.push_back("wait");
    filler_.emplace(helper(all));
    while (filler_->readLine() != "waiting") {
      if (HasFailure()) return;
    }
  }

  TestNamespace names;

 private:
  std::optional<ChildProcess> filler_;
};
