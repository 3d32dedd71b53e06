#include "LibraryQueues.h"

#include "Halvane3.h"

namespace {

template <typename Get>
bool readText(Get get, int32_t& cursor, QueueEntry& entry) {
  char buffer[4096];
  int32_t size = sizeof buffer;
  if (get(&cursor, buffer, &size) == 0) return false;
  entry.text.assign(buffer, static_cast<size_t>(size));
  return true;
}

}  // namespace

QueueReader libraryQueueReader(const QueueChoice& queue) {
  switch (queue.kind) {
    case QueueKind::SysLog:
      return [](int32_t& cursor, QueueEntry& entry) {
        return readText(GetSysLogEntry, cursor, entry);
      };
    case QueueKind::TreeView:
      return [](int32_t& cursor, QueueEntry& entry) {
        std::array<int32_t, 4>& v = entry.values;
        return readText(
            [&v](int32_t* c, char* buffer, int32_t* size) {
              return GetTreeViewEntry(c, buffer, size, &v[0], &v[1], &v[2], &v[3]);
            },
            cursor, entry);
      };
    case QueueKind::Debug:
      return
          [](int32_t& cursor, QueueEntry& entry) { return readText(GetDebugEntry, cursor, entry); };
    case QueueKind::Command:
      break;
  }
  return [number = queue.number](int32_t& cursor, QueueEntry& entry) {
    return readText([number](int32_t* c, char* buffer,
                             int32_t* size) { return GetCommandEntry(c, buffer, size, number); },
                    cursor, entry);
  };
}
