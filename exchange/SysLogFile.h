// The text file that every system-log entry is also appended to.
#pragma once

namespace halvane3 {

// The text that asks for a separator instead of an entry.
inline constexpr const char* kSysLogSeparator = "-";
// What the separator looks like, in the file and in the ring.
inline constexpr const char* kSeparatorLine =
    "--------------------------------------------------------------------";

// Appends the whole text and a line end to the file at path (a separator: an empty line,
// the separator line, an empty line). A file that cannot be opened is skipped silently.
void appendToSysLogFile(const char* path, const char* text);

}  // namespace halvane3
