// Fauxlarm's exchange library: SetCommandEntry bound at its first use, from the given
// folders first (the program's own, then an installation's library folder), then wherever
// the system's loader finds it. A failed load is tried again at the next call, so a
// library copied into place later is picked up.
#pragma once

#include <QStringList>

#include "events/ExchangeLibrary.h"
#include "injector/CommandQueueLibrary.h"

class Halvane3Library : public CommandQueueLibrary {
 public:
  explicit Halvane3Library(const QStringList& folders);

  bool SetCommandEntry(const std::string& command, int queue, QString* error) override;

 private:
  FauxlarmEvents::ExchangeLibrary library_;
};
