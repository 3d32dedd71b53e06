#include "StressRoles.h"

#include <sched.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <thread>
#include <vector>

#include "Halvane3.h"

namespace {

using Clock = std::chrono::steady_clock;

uint32_t checksum(const char* text, size_t length) {
  uint32_t hash = 2166136261u;
  for (size_t i = 0; i < length; ++i)
    hash = (hash ^ static_cast<unsigned char>(text[i])) * 16777619u;
  return hash;
}

// "<writer> <sequence> <payload length> <payload> <checksum>", up to 4,095 characters, so
// that entries fill whole slots as well as a few bytes of them.
std::string makeEntry(const std::string& writer, uint64_t sequence) {
  char head[96];
  const size_t payloadLength = (sequence * 2654435761u) % 3900;
  std::snprintf(head, sizeof head, "%s %llu %zu ", writer.c_str(),
                static_cast<unsigned long long>(sequence), payloadLength);
  std::string entry = head;
  for (size_t i = 0; i < payloadLength; ++i)
    entry += static_cast<char>('a' + (sequence + i) % 26);
  char tail[16];
  std::snprintf(tail, sizeof tail, " %08x", checksum(entry.data(), entry.size()));
  return entry + tail;
}

// False when the entry is not one that a writer made whole.
bool parseEntry(const char* entry, size_t length, std::string& writer, uint64_t& sequence) {
  const char* lastSpace = static_cast<const char*>(memrchr(entry, ' ', length));
  if (lastSpace == nullptr) return false;
  unsigned stored;
  if (std::sscanf(lastSpace + 1, "%8x", &stored) != 1) return false;
  if (stored != checksum(entry, static_cast<size_t>(lastSpace - entry))) return false;
  char name[64];
  unsigned long long number;
  size_t payloadLength;
  int headLength;
  if (std::sscanf(entry, "%63s %llu %zu%n", name, &number, &payloadLength, &headLength) != 3) {
    return false;
  }
  // The head, one space, the payload, then the space before the checksum.
  if (static_cast<size_t>(lastSpace - entry) !=
      static_cast<size_t>(headLength) + 1 + payloadLength) {
    return false;
  }
  writer = name;
  sequence = number;
  return true;
}

void readUntil(int32_t queue, Clock::time_point deadline, StressReadCounts& counts) {
  int32_t cursor = -1;
  std::map<std::string, uint64_t> lastSeen;
  std::vector<char> buffer(4096);
  while (Clock::now() < deadline) {
    int32_t size = static_cast<int32_t>(buffer.size());
    if (GetCommandEntry(&cursor, buffer.data(), &size, queue) == 0) {
      sched_yield();
      continue;
    }
    ++counts.entries;
    std::string writer;
    uint64_t sequence;
    if (!parseEntry(buffer.data(), static_cast<size_t>(size), writer, sequence)) {
      ++counts.torn;
      continue;
    }
    auto [last, first] = lastSeen.try_emplace(writer, sequence);
    if (!first) {
      if (sequence <= last->second) ++counts.disorder;
      last->second = sequence;
    }
  }
}

}  // namespace

uint64_t runStressWriters(int32_t queue, const std::string& writerName, int threads,
                          int milliseconds) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  std::atomic<uint64_t> pushed{0};
  std::vector<std::thread> writers;
  for (int t = 0; t < threads; ++t) {
    writers.emplace_back([&, t] {
      const std::string name = writerName + "." + std::to_string(t);
      for (uint64_t sequence = 0; Clock::now() < deadline; ++sequence) {
        pushed += SetCommandEntry(makeEntry(name, sequence).c_str(), queue);
      }
    });
  }
  for (std::thread& writer : writers)
    writer.join();
  return pushed;
}

StressReadCounts runStressReaders(int32_t queue, int threads, int milliseconds) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  std::vector<StressReadCounts> perThread(static_cast<size_t>(threads));
  std::vector<std::thread> readers;
  for (StressReadCounts& counts : perThread) {
    readers.emplace_back([&] { readUntil(queue, deadline, counts); });
  }
  for (std::thread& reader : readers)
    reader.join();
  StressReadCounts total;
  for (const StressReadCounts& counts : perThread) {
    total.entries += counts.entries;
    total.torn += counts.torn;
    total.disorder += counts.disorder;
  }
  return total;
}
