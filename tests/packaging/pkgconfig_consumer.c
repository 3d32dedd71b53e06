/* A program of another project, built against an installed Halvane3 through pkg-config:
 * it puts a command into a queue and reads it back. */
#include <Halvane3.h>
#include <stdio.h>
#include <string.h>

int main(void) {
  const char text[] = "pkg-config consumer";
  char buffer[64];
  int32_t cursor = -1;
  int32_t size = sizeof buffer;
  if (SetCommandEntry(text, 2) != 1) return 1;
  if (GetCommandEntry(&cursor, buffer, &size, 2) != 1 || strcmp(buffer, text) != 0) return 1;
  printf("%s: Halvane3 version %08X\n", text, (unsigned)GetHalvaneDLLVersion());
  return 0;
}
