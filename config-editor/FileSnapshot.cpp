#include "config-editor/FileSnapshot.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <ctime>

namespace ConfigEditor {

namespace {

// Files whose times are this close to the moment they were read may have been written
// again within the same tick of the file system's clock (coarse clocks, network file
// systems whose server's clock runs apart from ours).
constexpr std::int64_t kRacyNanoseconds = 2'000'000'000;

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// FNV-1a over the bytes.
class Hash {
 public:
  void Add(const char* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
      value_ ^= static_cast<unsigned char>(bytes[i]);
      value_ *= 0x100000001b3ULL;
    }
  }
  std::uint64_t Value() const { return value_; }

 private:
  std::uint64_t value_ = 0xcbf29ce484222325ULL;
};

}  // namespace

FileSnapshot::Found FileSnapshot::Read(const QByteArray& name, Stamp* stamp, std::uint64_t* hash,
                                       bool* racy) {
  struct stat info {};
  const int descriptor = hash != nullptr ? ::open(name.constData(), O_RDONLY | O_CLOEXEC) : -1;
  if (descriptor >= 0 ? ::fstat(descriptor, &info) != 0 : ::stat(name.constData(), &info) != 0) {
    if (descriptor >= 0) ::close(descriptor);
    return Found::Nothing;
  }
  *stamp = {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size), Nanoseconds(info.st_mtim),
            Nanoseconds(info.st_ctim)};
  if (descriptor < 0) return Found::Stamp;
  Hash bytes;
  std::array<char, 65536> buffer;
  ssize_t got = 0;
  while ((got = ::read(descriptor, buffer.data(), buffer.size())) > 0)
    bytes.Add(buffer.data(), static_cast<std::size_t>(got));
  ::close(descriptor);
  if (got < 0) return Found::Stamp;
  *hash = bytes.Value();
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  *racy = Nanoseconds(now) - std::max(stamp->modified, stamp->changed) < kRacyNanoseconds;
  return Found::StampAndBytes;
}

FileSnapshot FileSnapshot::Take(const QByteArray& path, Bytes bytes) {
  FileSnapshot snapshot;
  snapshot.path_ = path;
  const Found found = Read(path, &snapshot.stamp_, bytes == Bytes::Keep ? &snapshot.hash_ : nullptr,
                           &snapshot.racy_);
  snapshot.exists_ = found != Found::Nothing;
  snapshot.hasBytes_ = found == Found::StampAndBytes;
  return snapshot;
}

DiskState FileSnapshot::Compare() {
  Stamp now;
  if (Read(path_, &now, nullptr, nullptr) == Found::Nothing)
    return exists_ ? DiskState::Removed : DiskState::AsRead;
  if (!exists_) return DiskState::Changed;
  if (now == stamp_ && !(racy_ && hasBytes_)) return DiskState::AsRead;
  if (!hasBytes_) return DiskState::Changed;
  std::uint64_t hash = 0;
  bool racy = false;
  switch (Read(path_, &now, &hash, &racy)) {
    case Found::Nothing:
      return DiskState::Removed;
    case Found::Stamp:
      return DiskState::Changed;
    case Found::StampAndBytes:
      break;
  }
  if (hash != hash_) return DiskState::Changed;
  stamp_ = now;
  racy_ = racy;
  return DiskState::AsRead;
}

}  // namespace ConfigEditor
