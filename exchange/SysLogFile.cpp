#include "SysLogFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "TextModeWriter.h"

namespace halvane3 {

static_assert(std::string_view(kSeparatorLine).size() == 68);

void appendToSysLogFile(const char* path, const char* text) {
  if (path == nullptr) return;
  const int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return;
  TextModeWriter writer(fd);
  if (std::strcmp(text, kSysLogSeparator) == 0) {
    writer.append("\n");
    writer.append(kSeparatorLine);
    writer.append("\n\n");
  } else {
    writer.append(text);
    writer.append("\n");
  }
  writer.flush();
  close(fd);
}

}  // namespace halvane3
