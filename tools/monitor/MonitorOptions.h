// The command line of halvane3-monitor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class QueueKind { SysLog, TreeView, Debug, Command };

struct QueueChoice {
  QueueKind kind;
  int32_t number;  // the command queue, 0..3; 0 for the others
  std::string label;
  int32_t capacity;  // entries the ring holds
};

struct MonitorOptions {
  std::vector<QueueChoice> queues;
  bool sysInfo = false;
  bool runningApps = false;
  bool watchdog = false;
  bool once = false;
  int intervalMilliseconds = 100;
  bool help = false;
  bool version = false;
};

// The options, or nothing with the reason in `error`.
std::optional<MonitorOptions> parseMonitorOptions(int argc, char** argv, std::string& error);

extern const char* const kMonitorUsage;
