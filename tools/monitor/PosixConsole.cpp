#include "Console.h"

// Terminals here take UTF-8 as they are.
void prepareConsole() {}
