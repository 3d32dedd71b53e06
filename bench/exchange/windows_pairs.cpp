// SetCommandEntry + GetCommandEntry pairs in one process on Windows, with Halvane3.dll loaded
// by file name and bound by plain name: the counterpart of exchange_bench's
// Halvane3_OneProcess, as a small driver. Prints, for 100- and 4,000-byte texts, the median
// pairs per second of RUNS runs of about a second each (5 by default).
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Halvane3.h"

namespace {

struct Exports {
  decltype(&SetCommandEntry) set;
  decltype(&GetCommandEntry) get;
  decltype(&ClearCommandQueue) clear;
};

template <typename Function>
Function bind(HMODULE library, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

double seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Pairs per second over about a second.
double pairsPerSecond(const Exports& h3, const char* text) {
  static char buffer[4096];
  int32_t cursor = -1;
  long pairs = 0;
  LARGE_INTEGER start;
  LARGE_INTEGER now;
  QueryPerformanceCounter(&start);
  do {
    for (int i = 0; i < 1000; ++i, ++pairs) {
      h3.set(text, 0);
      int32_t size = sizeof buffer;
      h3.get(&cursor, buffer, &size, 0);
    }
    QueryPerformanceCounter(&now);
  } while (seconds(start, now) < 1.0);
  return static_cast<double>(pairs) / seconds(start, now);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 5;
  const HMODULE library = LoadLibraryA("Halvane3.dll");
  if (library == nullptr || runs < 1) {
    std::fprintf(stderr, "usage: exchange_pairs_windows [RUNS], beside Halvane3.dll\n");
    return 2;
  }
  const Exports h3{bind<decltype(&SetCommandEntry)>(library, "SetCommandEntry"),
                   bind<decltype(&GetCommandEntry)>(library, "GetCommandEntry"),
                   bind<decltype(&ClearCommandQueue)>(library, "ClearCommandQueue")};
  static char text[4001];
  for (size_t length : {100, 4000}) {
    for (size_t i = 0; i < length; ++i)
      text[i] = static_cast<char>('a' + i % 26);
    text[length] = '\0';
    h3.clear(0);
    std::vector<double> figures;
    for (int run = 0; run < runs; ++run)
      figures.push_back(pairsPerSecond(h3, text));
    std::sort(figures.begin(), figures.end());
    std::printf("Halvane3 one process, %zu bytes: %.0f pairs/s (median of %d runs)\n", length,
                figures[figures.size() / 2], runs);
  }
  FreeLibrary(library);
  return 0;
}
