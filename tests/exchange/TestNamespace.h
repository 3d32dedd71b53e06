// A private set of shared objects and a private folder for one test process, so that tests
// running side by side never meet each other or a live system's region. On Windows the
// library has no namespaces: the tests there run one at a time, in a Wine prefix of their own.
#pragma once

#include <string>

class TestNamespace {
 public:
  // On POSIX sets HALVANE3_NAME_PREFIX and HALVANE3_LPT_DIR for this process and the helpers
  // it starts; the library must be loaded after this.
  TestNamespace();
  // Removes every object under the prefix and the folder.
  ~TestNamespace();
  TestNamespace(const TestNamespace&) = delete;
  TestNamespace& operator=(const TestNamespace&) = delete;

  // A fresh temporary folder.
  const std::string& folder() const { return folder_; }
  // The file that receives what SendPRN prints on `port` (0 is LPT1:) while it exists.
  std::string printerDevice(int port) const;
  // The global region's name as the platform has it, for MappedObject.
  std::string regionObjectName() const;
  // Whether the global region or mutex is there.
  bool globalObjectsExist() const;

  // POSIX only.
  const std::string& prefix() const { return prefix_; }
  // The POSIX name of an object, e.g. posixName("QorShareView3").
  std::string posixName(const std::string& base) const { return "/" + prefix_ + base; }
  // The local (per-user) variant of posixName.
  std::string localPosixName(const std::string& base) const;
  bool objectExists(const std::string& posixName) const;

 private:
  std::string prefix_;
  std::string folder_;
};
