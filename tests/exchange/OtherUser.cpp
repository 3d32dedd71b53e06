#include "OtherUser.h"

#include <unistd.h>

#include "ChildProcess.h"

namespace {

std::string setprivPath() {
  for (const char* path : {"/usr/bin/setpriv", "/bin/setpriv"}) {
    if (access(path, X_OK) == 0) return path;
  }
  return "";
}

std::string findWhyUnavailable() {
  if (geteuid() != 0) return "the tests do not run as root, so they cannot act as another user";
  if (setprivPath().empty()) return "setpriv (util-linux) is not installed";
  const Finished probe = runToEnd(asUser(kSecondUser, foreign({})));
  if (probe.exitCode != 0) {
    return "setpriv cannot run the test programs as user " + std::to_string(kSecondUser) +
           " (exit " + std::to_string(probe.exitCode) + "): " + probe.output;
  }
  return "";
}

}  // namespace

std::string otherUserUnavailable() {
  static const std::string why = findWhyUnavailable();
  return why;
}

std::vector<std::string> asUser(uid_t user, const std::vector<std::string>& argv,
                                const std::vector<gid_t>& groups) {
  std::string groupList;
  for (gid_t group : groups)
    groupList += (groupList.empty() ? "" : ",") + std::to_string(group);
  std::vector<std::string> command{
      setprivPath(), "--reuid=" + std::to_string(user), "--regid=" + std::to_string(user),
      groups.empty() ? "--clear-groups" : "--groups=" + groupList, "--"};
  command.insert(command.end(), argv.begin(), argv.end());
  return command;
}

std::vector<std::string> foreign(const std::vector<std::string>& commands) {
  std::vector<std::string> argv{EXCHANGE_FOREIGN_PATH};
  argv.insert(argv.end(), commands.begin(), commands.end());
  return argv;
}
