// A C++ program of another project that finds Halvane3 with find_package: it puts a
// command into a queue and reads it back.
#include <Halvane3.h>

#include <cstdio>
#include <string>

int main() {
  const std::string text = "find_package consumer";
  char buffer[64];
  int32_t cursor = -1;
  int32_t size = sizeof buffer;
  if (SetCommandEntry(text.c_str(), 1) != 1) return 1;
  if (GetCommandEntry(&cursor, buffer, &size, 1) != 1 || text != buffer) return 1;
  std::printf("%s: Halvane3 version %08X\n", text.c_str(),
              static_cast<unsigned>(GetHalvaneDLLVersion()));
  return 0;
}
