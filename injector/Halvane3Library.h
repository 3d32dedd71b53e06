// Binds SetCommandEntry of the Halvane3 library at its first use: from the given folders
// first (the program's own, then an installation's library folder), then wherever the
// system's loader finds it. A failed load is tried again at the next call, so a library
// copied into place later is picked up.
#pragma once

#include <QLibrary>
#include <QStringList>

#include "injector/CommandQueueLibrary.h"

class Halvane3Library : public CommandQueueLibrary {
 public:
  explicit Halvane3Library(const QStringList& folders) : folders_(folders) {}

  bool SetCommandEntry(const std::string& command, int queue, QString* error) override;

 private:
  using SetCommandEntryFunction = int (*)(const char*, int);

  bool Load(QString* error);
  bool Bind(QString* error);

  QStringList folders_;
  QLibrary library_;
  SetCommandEntryFunction setCommandEntry_ = nullptr;
};
