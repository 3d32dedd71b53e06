// The system calls by which files are replaced, behind one small interface, so that a test
// can fail any one of them (a full disk on a write, an I/O error on a sync, a rename across
// devices) or record their order. Each answers 0 or the errno of its failure.
#pragma once

#include <string>
#include <string_view>

namespace Halvane_Config {

class FileOperations {
 public:
  virtual ~FileOperations() = default;

  // Creates or empties a file for writing.
  virtual int Open(const std::string& path, int& descriptor) = 0;
  // Writes all the bytes.
  virtual int Write(int descriptor, std::string_view bytes) = 0;
  // Makes the file's data and size durable (fsync).
  virtual int Sync(int descriptor) = 0;
  virtual int Close(int descriptor) = 0;
  virtual int Rename(const std::string& from, const std::string& to) = 0;
  // Makes the names in a folder durable (fsync of the folder itself).
  virtual int SyncFolder(const std::string& folder) = 0;
  virtual int Remove(const std::string& path) = 0;
};

// The operations in use: the system's, unless a test installed others.
FileOperations& CurrentFileOperations();
// Installs operations (nullptr: the system's again) and returns those installed before.
FileOperations* SetFileOperations(FileOperations* operations);

}  // namespace Halvane_Config
