// Follows one queue of the region with a cursor of its own, as any reader does.
#pragma once

#include <cstdio>
#include <utility>

#include "MonitorOptions.h"

class QueueFollower {
 public:
  explicit QueueFollower(QueueChoice queue) : queue_(std::move(queue)) {}

  // Prints every entry that is new to this follower, one line each.
  void printNew(std::FILE* out);

 private:
  QueueChoice queue_;
  int32_t cursor_ = -1;
};
