// Binds SetCommandEntry of the Halvane3 library at its first use: from the program's own
// folder first, then wherever the system's loader finds it. A failed load is tried
// again at the next call, so a library copied into place later is picked up.
#pragma once

#include <QLibrary>

#include "injector/CommandQueueLibrary.h"

class Halvane3Library : public CommandQueueLibrary {
 public:
  explicit Halvane3Library(const QString& programFolder) : programFolder_(programFolder) {}

  bool SetCommandEntry(const std::string& command, int queue, QString* error) override;

 private:
  using SetCommandEntryFunction = int (*)(const char*, int);

  bool Bind(QString* error);

  QString programFolder_;
  QLibrary library_;
  SetCommandEntryFunction setCommandEntry_ = nullptr;
};
