#include "TextModeWriter.h"

#include <cstring>

namespace halvane3 {

void TextModeWriter::append(const char* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (used_ + 2 > sizeof buffer_) flush();
    if (text[i] == '\n') buffer_[used_++] = '\r';
    buffer_[used_++] = text[i];
  }
}

void TextModeWriter::append(const char* text) {
  append(text, std::strlen(text));
}

bool TextModeWriter::flush() {
  if (used_ > 0 && !file_.write(buffer_, used_)) failed_ = true;
  used_ = 0;
  return !failed_;
}

}  // namespace halvane3
