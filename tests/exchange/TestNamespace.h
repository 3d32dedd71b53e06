// A private set of shared objects and a private device folder for one test process, so that
// tests running side by side never meet each other or a live system's region.
#pragma once

#include <string>

class TestNamespace {
 public:
  // Sets HALVANE3_NAME_PREFIX and HALVANE3_LPT_DIR for this process and the helpers it
  // starts; the library must be loaded after this.
  TestNamespace();
  // Removes every object under the prefix and the folder.
  ~TestNamespace();
  TestNamespace(const TestNamespace&) = delete;
  TestNamespace& operator=(const TestNamespace&) = delete;

  const std::string& prefix() const { return prefix_; }
  // The POSIX name of an object, e.g. posixName("QorShareView3").
  std::string posixName(const std::string& base) const { return "/" + prefix_ + base; }
  // The local (per-user) variant of posixName.
  std::string localPosixName(const std::string& base) const;
  bool objectExists(const std::string& posixName) const;
  // A fresh temporary folder, also the parallel-port device folder.
  const std::string& folder() const { return folder_; }

 private:
  std::string prefix_;
  std::string folder_;
};
