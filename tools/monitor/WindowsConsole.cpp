#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "Console.h"

// A console shows the UTF-8 text once its output code page says so; output to a file or
// pipe stays UTF-8 either way.
void prepareConsole() {
  SetConsoleOutputCP(CP_UTF8);
}
