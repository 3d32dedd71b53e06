// The monitor's one platform bit: standard output that shows UTF-8 text.
#pragma once

void prepareConsole();
