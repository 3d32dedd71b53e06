// An open binary file, what the family's code calls a file number: opened for binary
// access (positions count bytes) or for random access with a fixed record length
// (positions count records), written and read at the current position or at a 1-based
// position, and closed. The caller owns it; the configuration classes only write and read
// at its current position.
//
// Failures raise RuntimeError with the number the family's programs always reported:
//   52 bad file name or number   an empty name, or the file is not open
//   53 file not found            opened for reading only, and there is no such file
//   54 bad file mode             a streaming read of a random-access file
//   55 file already open         Open on an object that holds an open file
//   57 device I/O error
//   59 bad record length         a record length below 1, or data longer than a record
//   61 disk full
//   62 input past end of file    a read that runs past the end: never silent zeros
//   63 bad record number         a position below 1
//   67 too many files
//   70 permission denied
//   75 path/file access error    a folder, writing a read-only opened file, anything else
//   76 path not found            a missing folder
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "common/BinaryCodec.h"

namespace Halvane_Common_Procedures {

enum class FileMode { Binary, Random };
enum class FileAccess { ReadWrite, Read, Write };

class BinaryFile : public ByteInput {
 public:
  BinaryFile() = default;
  // Opens at once (see Open).
  explicit BinaryFile(std::u16string_view path, FileMode mode = FileMode::Binary,
                      FileAccess access = FileAccess::ReadWrite, std::int32_t recordLength = 0);
  ~BinaryFile() override;
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  // Opens the file at the start. Access with writing creates a missing file; reading only
  // needs it to exist. Random access needs a record length of at least 1.
  void Open(std::u16string_view path, FileMode mode = FileMode::Binary,
            FileAccess access = FileAccess::ReadWrite, std::int32_t recordLength = 0);
  // Closes the file; closing a closed file does nothing.
  void Close();
  bool IsOpen() const { return descriptor_ >= 0; }

  // The length in bytes.
  std::int64_t Length() const;
  // The next byte (binary access) or record (random access), from 1.
  std::int64_t Position() const;
  void Seek(std::int64_t position);
  bool AtEnd() const;

  // Writes at the current position, or at a given one. With random access the bytes form
  // one record (at most the record length) and the position moves to the next record.
  void Put(std::string_view bytes);
  void PutAt(std::int64_t position, std::string_view bytes);
  // Reads count bytes the same way (with random access, from the start of the record).
  std::string Get(std::size_t count);
  std::string GetAt(std::int64_t position, std::size_t count);

  // Streaming reads for the decoders, at the current byte (binary access only).
  void ReadBytes(char* destination, std::size_t count) override;
  std::uint64_t Remaining() const override;

 private:
  void RequireOpen() const;
  std::int64_t OffsetOf(std::int64_t position) const;
  void WriteAt(std::int64_t offset, std::string_view bytes);
  void ReadAt(std::int64_t offset, char* destination, std::size_t count);

  int descriptor_ = -1;
  FileMode mode_ = FileMode::Binary;
  FileAccess access_ = FileAccess::ReadWrite;
  std::int64_t recordLength_ = 1;
  std::int64_t offset_ = 0;  // of the next byte, from 0
  std::int64_t size_ = 0;
  // Read-ahead for the decoders' small reads; emptied by every write.
  std::string buffer_;
  std::int64_t bufferOffset_ = 0;
};

}  // namespace Halvane_Common_Procedures
