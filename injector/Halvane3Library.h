// Fauxlarm's exchange library: the injectors' shared binding of SetCommandEntry
// (events/ExchangeLibrary.h), looked for beside the program in programFolder first, then
// in an installation's library folder, then wherever the system's loader finds it.
#pragma once

#include <QString>

#include "events/ExchangeLibrary.h"
#include "injector/CommandQueueLibrary.h"

class Halvane3Library : public CommandQueueLibrary {
 public:
  // programFolder ends with "/".
  explicit Halvane3Library(const QString& programFolder);

  bool SetCommandEntry(const std::string& command, int queue, QString* error) override;

 private:
  FauxlarmEvents::ExchangeLibrary library_;
};
