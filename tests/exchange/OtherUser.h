// Programs run as other local users. The tests run as root, and setpriv starts a program
// under another user and group id; none of these ids needs to exist in the user database.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

inline constexpr uid_t kSecondUser = 54321;
inline constexpr uid_t kThirdUser = 54322;
// A group of which the second user is a member when a test says so.
inline constexpr gid_t kFamilyGroup = 54320;

// Why programs cannot be run as another user here, or empty when they can.
std::string otherUserUnavailable();

// The command line that runs argv as `user`, whose own group has the same number, with the
// supplementary groups given.
std::vector<std::string> asUser(uid_t user, const std::vector<std::string>& argv,
                                const std::vector<gid_t>& groups = {});

// The command line of the process that does not use the library (ForeignProcess.cpp).
std::vector<std::string> foreign(const std::vector<std::string>& commands);

#define SKIP_UNLESS_OTHER_USERS_AVAILABLE()                                                \
  do {                                                                                     \
    if (const std::string why = otherUserUnavailable(); !why.empty()) GTEST_SKIP() << why; \
  } while (false)
