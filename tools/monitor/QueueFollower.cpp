#include "QueueFollower.h"

#include <string_view>

#include "Halvane3.h"
#include "VisibleText.h"

void QueueFollower::printNew(std::FILE* out) {
  char buffer[4096];
  for (;;) {
    int32_t size = sizeof buffer;
    int32_t values[4];
    int32_t delivered = 0;
    switch (queue_.kind) {
      case QueueKind::SysLog:
        delivered = GetSysLogEntry(&cursor_, buffer, &size);
        break;
      case QueueKind::TreeView:
        delivered = GetTreeViewEntry(&cursor_, buffer, &size, &values[0], &values[1], &values[2],
                                     &values[3]);
        break;
      case QueueKind::Debug:
        delivered = GetDebugEntry(&cursor_, buffer, &size);
        break;
      case QueueKind::Command:
        delivered = GetCommandEntry(&cursor_, buffer, &size, queue_.number);
        break;
    }
    if (delivered == 0) return;
    const std::string text = visibleText(std::string_view(buffer, static_cast<size_t>(size)));
    if (queue_.kind == QueueKind::TreeView) {
      std::fprintf(out, "%s: [%d %d %d %d] %s\n", queue_.label.c_str(), values[0], values[1],
                   values[2], values[3], text.c_str());
    } else {
      std::fprintf(out, "%s: %s\n", queue_.label.c_str(), text.c_str());
    }
  }
}
