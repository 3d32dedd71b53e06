// Reads the commands queue 0 holds past a reader's cursor, as bytes, through the
// library's own GetCommandEntry, however the test loaded it.
#pragma once

#include <string>
#include <vector>

template <typename GetCommandEntry>
std::vector<std::string> DrainCommandQueue(GetCommandEntry getCommandEntry, int& cursor) {
  std::vector<std::string> entries;
  char buffer[4096];
  int size = sizeof buffer;
  while (getCommandEntry(&cursor, buffer, &size, 0) == 1) {
    entries.emplace_back(buffer, size);
    size = sizeof buffer;
  }
  return entries;
}
