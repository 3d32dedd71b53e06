#include "common/BinaryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "common/RuntimeError.h"
#include "common/Text1252.h"

namespace Halvane_Common_Procedures {
namespace {

constexpr std::size_t kReadAhead = 4096;

}  // namespace

BinaryFile::BinaryFile(std::u16string_view path, FileMode mode, FileAccess access,
                       std::int32_t recordLength) {
  Open(path, mode, access, recordLength);
}

BinaryFile::~BinaryFile() {
  Close();
}

void BinaryFile::Open(std::u16string_view path, FileMode mode, FileAccess access,
                      std::int32_t recordLength) {
  if (IsOpen()) throw RuntimeError(kFileAlreadyOpen);
  if (path.empty()) throw RuntimeError(kBadFileNameOrNumber);
  if (mode == FileMode::Random && recordLength < 1) throw RuntimeError(kBadRecordLength);

  const std::string name = Utf16ToUtf8(path);
  int flags = O_CLOEXEC;
  switch (access) {
    case FileAccess::ReadWrite:
      flags |= O_RDWR | O_CREAT;
      break;
    case FileAccess::Read:
      flags |= O_RDONLY;
      break;
    case FileAccess::Write:
      flags |= O_WRONLY | O_CREAT;
      break;
  }
  const int descriptor = ::open(name.c_str(), flags, 0666);
  if (descriptor < 0) {
    if (errno == ENOENT && access == FileAccess::Read) throw RuntimeError(kFileNotFound);
    RaiseSystemError(errno, name);
  }
  struct stat info {};
  if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(descriptor);
    throw RuntimeError(kPathFileAccessError,
                       RuntimeError::DescriptionOf(kPathFileAccessError) + " (" + name + ")");
  }
  descriptor_ = descriptor;
  mode_ = mode;
  access_ = access;
  recordLength_ = mode == FileMode::Random ? recordLength : 1;
  offset_ = 0;
  size_ = info.st_size;
  buffer_.clear();
}

void BinaryFile::Close() {
  if (!IsOpen()) return;
  ::close(descriptor_);
  descriptor_ = -1;
  buffer_.clear();
}

void BinaryFile::RequireOpen() const {
  if (!IsOpen()) throw RuntimeError(kBadFileNameOrNumber);
}

std::int64_t BinaryFile::Length() const {
  RequireOpen();
  return size_;
}

std::int64_t BinaryFile::Position() const {
  RequireOpen();
  return offset_ / recordLength_ + 1;
}

std::int64_t BinaryFile::OffsetOf(std::int64_t position) const {
  if (position < 1) throw RuntimeError(kBadRecordNumber);
  if (position - 1 > INT64_MAX / recordLength_) throw RuntimeError(kBadRecordNumber);
  return (position - 1) * recordLength_;
}

void BinaryFile::Seek(std::int64_t position) {
  RequireOpen();
  offset_ = OffsetOf(position);
}

bool BinaryFile::AtEnd() const {
  RequireOpen();
  return offset_ >= size_;
}

std::uint64_t BinaryFile::Remaining() const {
  RequireOpen();
  return offset_ < size_ ? static_cast<std::uint64_t>(size_ - offset_) : 0;
}

void BinaryFile::Put(std::string_view bytes) {
  RequireOpen();
  PutAt(offset_ / recordLength_ + 1, bytes);
}

void BinaryFile::PutAt(std::int64_t position, std::string_view bytes) {
  RequireOpen();
  const std::int64_t offset = OffsetOf(position);
  if (static_cast<std::int64_t>(bytes.size()) > recordLength_ && mode_ == FileMode::Random) {
    throw RuntimeError(kBadRecordLength);
  }
  if (access_ == FileAccess::Read) throw RuntimeError(kPathFileAccessError);
  WriteAt(offset, bytes);
  offset_ = mode_ == FileMode::Random ? offset + recordLength_
                                      : offset + static_cast<std::int64_t>(bytes.size());
}

std::string BinaryFile::Get(std::size_t count) {
  RequireOpen();
  return GetAt(offset_ / recordLength_ + 1, count);
}

std::string BinaryFile::GetAt(std::int64_t position, std::size_t count) {
  RequireOpen();
  const std::int64_t offset = OffsetOf(position);
  if (mode_ == FileMode::Random && static_cast<std::int64_t>(count) > recordLength_) {
    throw RuntimeError(kBadRecordLength);
  }
  if (offset > size_ || static_cast<std::uint64_t>(size_ - offset) < count) {
    throw RuntimeError(kInputPastEndOfFile);
  }
  std::string bytes(count, '\0');
  ReadAt(offset, bytes.data(), count);
  offset_ = mode_ == FileMode::Random ? offset + recordLength_
                                      : offset + static_cast<std::int64_t>(count);
  return bytes;
}

void BinaryFile::ReadBytes(char* destination, std::size_t count) {
  RequireOpen();
  if (mode_ != FileMode::Binary) throw RuntimeError(kBadFileMode);
  if (count > Remaining()) throw RuntimeError(kInputPastEndOfFile);
  ReadAt(offset_, destination, count);
  offset_ += static_cast<std::int64_t>(count);
}

void BinaryFile::WriteAt(std::int64_t offset, std::string_view bytes) {
  buffer_.clear();
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::pwrite(descriptor_, bytes.data() + written, bytes.size() - written,
                               static_cast<off_t>(offset + static_cast<std::int64_t>(written)));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) RaiseSystemError(n < 0 ? errno : ENOSPC);
    written += static_cast<std::size_t>(n);
  }
  size_ = std::max(size_, offset + static_cast<std::int64_t>(bytes.size()));
}

void BinaryFile::ReadAt(std::int64_t offset, char* destination, std::size_t count) {
  if (access_ == FileAccess::Write) throw RuntimeError(kPathFileAccessError);
  if (count == 0) return;
  const std::int64_t bufferEnd = bufferOffset_ + static_cast<std::int64_t>(buffer_.size());
  if (offset < bufferOffset_ || offset + static_cast<std::int64_t>(count) > bufferEnd) {
    // Reads ahead only what the file holds, so the buffer never holds invented bytes.
    const std::size_t wanted = static_cast<std::size_t>(
        std::min<std::int64_t>(std::max(count, kReadAhead), size_ - offset));
    buffer_.assign(wanted, '\0');
    std::size_t got = 0;
    while (got < wanted) {
      const ssize_t n = ::pread(descriptor_, buffer_.data() + got, wanted - got,
                                static_cast<off_t>(offset + static_cast<std::int64_t>(got)));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        buffer_.clear();
        RaiseSystemError(errno);
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    buffer_.resize(got);
    bufferOffset_ = offset;
    if (got < count) {
      // The file shrank under us.
      buffer_.clear();
      throw RuntimeError(kInputPastEndOfFile);
    }
  }
  std::memcpy(destination, buffer_.data() + (offset - bufferOffset_), count);
}

}  // namespace Halvane_Common_Procedures
