// The exchange library as the injector sees it: one function that puts a command text
// into a command queue. Bound by name at the first call.
#pragma once

#include <QString>
#include <string>

class CommandQueueLibrary {
 public:
  virtual ~CommandQueueLibrary() = default;

  // Hands a Windows-1252 command text to the queue. False, with the reason in error, when
  // the library cannot be loaded or lacks the function; the library's own result is
  // not a failure (it refuses nothing the injector sends).
  virtual bool SetCommandEntry(const std::string& command, int queue, QString* error) = 0;
};
