// Writes text the way a text-mode file of the family's Windows processes does: every line
// feed goes out as carriage return and line feed. Buffers on the stack, so writing a log
// line allocates nothing.
#pragma once

#include <cstddef>

#include "Platform.h"

namespace halvane3 {

class TextModeWriter {
 public:
  explicit TextModeWriter(OutputFile& file) : file_(file) {}
  TextModeWriter(const TextModeWriter&) = delete;
  TextModeWriter& operator=(const TextModeWriter&) = delete;

  void append(const char* text, size_t length);
  void append(const char* text);
  // Writes what is buffered; true when every byte so far was written.
  bool flush();

 private:
  OutputFile& file_;
  bool failed_ = false;
  size_t used_ = 0;
  char buffer_[4096];
};

}  // namespace halvane3
