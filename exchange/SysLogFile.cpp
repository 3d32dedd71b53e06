#include "SysLogFile.h"

#include <cstring>
#include <string_view>

#include "Platform.h"
#include "TextModeWriter.h"

namespace halvane3 {

static_assert(std::string_view(kSeparatorLine).size() == 68);

void appendToSysLogFile(const char* path, const char* text) {
  if (path == nullptr) return;
  OutputFile file = OutputFile::appendToLog(path);
  if (!file.isOpen()) return;
  TextModeWriter writer(file);
  if (std::strcmp(text, kSysLogSeparator) == 0) {
    writer.append("\n");
    writer.append(kSeparatorLine);
    writer.append("\n\n");
  } else {
    writer.append(text);
    writer.append("\n");
  }
  writer.flush();
}

}  // namespace halvane3
