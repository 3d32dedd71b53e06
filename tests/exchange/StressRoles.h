// The two roles of the stress test, run by helper processes on several threads each.
// Writers push checksummed, numbered entries of varying length; readers follow the queue,
// each thread with its own cursor, and check every entry they get.
#pragma once

#include <cstdint>
#include <string>

struct StressReadCounts {
  uint64_t entries = 0;
  uint64_t torn = 0;      // checksum or length does not match: a write and a read overlapped
  uint64_t disorder = 0;  // a writer's entries seen out of their order
};

// Returns the number of entries pushed.
uint64_t runStressWriters(int32_t queue, const std::string& writerName, int threads,
                          int milliseconds);
StressReadCounts runStressReaders(int32_t queue, int threads, int milliseconds);
