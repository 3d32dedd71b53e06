// A test process with the library loaded and printer devices it can plug in.
#pragma once

#include <string>

#include "ExchangeFixture.h"

class Printer : public ExchangeFixture {
 protected:
  std::string device(int port) const { return names.printerDevice(port); }
  // A device that is there and has received nothing.
  std::string plugIn(int port) const {
    writeFile(device(port), "");
    return device(port);
  }
};
