#include "ChildProcess.h"

#include <gtest/gtest.h>

std::string ChildProcess::readLine(int timeoutSeconds) {
  bool timedOut = false;
  size_t end;
  while ((end = pending_.find('\n')) == std::string::npos) {
    if (!readSome(pending_, timeoutSeconds, timedOut)) {
      if (timedOut) ADD_FAILURE() << "a child gave no line in time";
      return "";
    }
  }
  std::string line = pending_.substr(0, end);
  pending_.erase(0, end + 1);
  return line;
}

std::string ChildProcess::readRest(int timeoutSeconds) {
  bool timedOut = false;
  while (readSome(pending_, timeoutSeconds, timedOut)) {
  }
  if (timedOut) ADD_FAILURE() << "a child did not end its output in time";
  std::string rest;
  rest.swap(pending_);
  return rest;
}

std::vector<std::string> helper(const std::vector<std::string>& commands) {
  std::vector<std::string> argv{EXCHANGE_HELPER_PATH};
  argv.insert(argv.end(), commands.begin(), commands.end());
  return argv;
}

void expectLines(ChildProcess& child, const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    ASSERT_EQ(child.readLine(), line);
}

Finished runToEnd(const std::vector<std::string>& argv, int timeoutSeconds) {
  ChildProcess child(argv, true);
  std::string output = child.readRest(timeoutSeconds);
  return {child.finish(timeoutSeconds), output};
}
