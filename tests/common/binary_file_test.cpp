#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "ErrorNumber.h"
#include "common/BinaryFile.h"
#include "common/RuntimeError.h"
#include "common/Text1252.h"

namespace hcp = Halvane_Common_Procedures;

namespace {

class BinaryFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/binaryfile.XXXXXX";
    folder_ = ::mkdtemp(pattern);
  }
  void TearDown() override { std::system(("rm -rf " + folder_).c_str()); }

  std::u16string Path(const std::string& name) const {
    return hcp::Utf8ToUtf16(folder_ + "/" + name);
  }
  std::string Contents(const std::string& name) const {
    std::ifstream in(folder_ + "/" + name, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

  std::string folder_;
};

}  // namespace

TEST_F(BinaryFileTest, WritesAndReadsBytesAtTheCurrentOrAGivenPosition) {
  {
    hcp::BinaryFile file(Path("data.bin"));
    EXPECT_EQ(file.Length(), 0);
    EXPECT_EQ(file.Position(), 1);
    file.Put("Hello");
    file.Put(", world");
    EXPECT_EQ(file.Position(), 13);
    EXPECT_TRUE(file.AtEnd());
    file.PutAt(1, "J");
    EXPECT_EQ(file.Position(), 2);
    EXPECT_EQ(file.Get(4), "ello");
    EXPECT_EQ(file.GetAt(8, 5), "world");
    EXPECT_EQ(file.Length(), 12);
    file.Seek(20);  // beyond the end: writing there extends the file
    file.Put("!");
    EXPECT_EQ(file.Length(), 20);
    file.Close();
    file.Close();
    EXPECT_FALSE(file.IsOpen());
  }
  EXPECT_EQ(Contents("data.bin"), std::string("Jello, world\0\0\0\0\0\0\0!", 20));
}

TEST_F(BinaryFileTest, DecodersReadAtTheCurrentByte) {
  hcp::BinaryFile file(Path("record.bin"));
  std::string bytes;
  hcp::PutInt16(bytes, 5);
  hcp::PutText(bytes, u"Åsa");
  hcp::PutVariant(bytes, hcp::Variant(2.5));
  file.Put(bytes);
  file.Seek(1);
  EXPECT_EQ(hcp::GetInt16(file), 5);
  EXPECT_EQ(file.Remaining(), bytes.size() - 2);
  EXPECT_EQ(hcp::GetText(file), u"Åsa");
  EXPECT_EQ(hcp::GetVariant(file), hcp::Variant(2.5));
  EXPECT_TRUE(file.AtEnd());

  // What was read ahead never hides a later write.
  file.PutAt(1, std::string("\x07\x00", 2));
  file.Seek(1);
  EXPECT_EQ(hcp::GetInt16(file), 7);
}

TEST_F(BinaryFileTest, RandomAccessCountsRecords) {
  hcp::BinaryFile file(Path("records.bin"), hcp::FileMode::Random, hcp::FileAccess::ReadWrite, 4);
  file.PutAt(3, "abcd");
  EXPECT_EQ(file.Length(), 12);
  EXPECT_EQ(file.Position(), 4);
  file.Put("xy");  // a short record still takes its whole place
  EXPECT_EQ(file.Position(), 5);
  EXPECT_EQ(file.Length(), 14);
  EXPECT_EQ(file.GetAt(3, 4), "abcd");
  EXPECT_EQ(file.Get(2), "xy");
  EXPECT_EQ(file.Position(), 5);

  EXPECT_EQ(ErrorNumberOf([&file] { file.Put("12345"); }), hcp::kBadRecordLength);
  EXPECT_EQ(ErrorNumberOf([&file] { file.GetAt(1, 5); }), hcp::kBadRecordLength);
  EXPECT_EQ(ErrorNumberOf([&file] { file.Seek(1), hcp::GetInt16(file); }), hcp::kBadFileMode);
  EXPECT_EQ(file.Length(), 14);

  hcp::BinaryFile none;
  EXPECT_EQ(ErrorNumberOf([&] { none.Open(Path("x.bin"), hcp::FileMode::Random); }),
            hcp::kBadRecordLength);
}

TEST_F(BinaryFileTest, ReadingPastTheEndIsAnErrorNeverZeros) {
  hcp::BinaryFile file(Path("short.bin"));
  file.Put("abc");
  file.Seek(2);
  EXPECT_EQ(ErrorNumberOf([&file] { file.Get(3); }), hcp::kInputPastEndOfFile);
  EXPECT_EQ(ErrorNumberOf([&file] { hcp::GetInt32(file); }), hcp::kInputPastEndOfFile);
  EXPECT_EQ(file.Position(), 2);  // nothing was consumed
  EXPECT_EQ(file.Get(2), "bc");
  EXPECT_EQ(ErrorNumberOf([&file] { file.GetAt(4, 1); }), hcp::kInputPastEndOfFile);
  EXPECT_EQ(ErrorNumberOf([&file] { file.GetAt(9, 0); }), hcp::kInputPastEndOfFile);
  EXPECT_EQ(file.GetAt(4, 0), "");
}

TEST_F(BinaryFileTest, FailuresCarryTheFamilysErrorNumbers) {
  hcp::BinaryFile closed;
  EXPECT_EQ(ErrorNumberOf([&] { closed.Put("x"); }), hcp::kBadFileNameOrNumber);
  EXPECT_EQ(ErrorNumberOf([&] { closed.Get(1); }), hcp::kBadFileNameOrNumber);
  EXPECT_EQ(ErrorNumberOf([&] { closed.Length(); }), hcp::kBadFileNameOrNumber);
  EXPECT_EQ(ErrorNumberOf([&] { hcp::GetInt16(closed); }), hcp::kBadFileNameOrNumber);
  EXPECT_EQ(ErrorNumberOf([&] { closed.Open(u""); }), hcp::kBadFileNameOrNumber);
  EXPECT_EQ(ErrorNumberOf([&] {
              closed.Open(Path("missing.bin"), hcp::FileMode::Binary, hcp::FileAccess::Read);
            }),
            hcp::kFileNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { closed.Open(Path("no/such/folder.bin")); }), hcp::kPathNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { closed.Open(hcp::Utf8ToUtf16(folder_)); }),
            hcp::kPathFileAccessError);
  EXPECT_EQ(ErrorNumberOf([&] {
              closed.Open(hcp::Utf8ToUtf16(folder_), hcp::FileMode::Binary, hcp::FileAccess::Read);
            }),
            hcp::kPathFileAccessError);
  EXPECT_FALSE(closed.IsOpen());

  hcp::BinaryFile file(Path("data.bin"));
  EXPECT_EQ(ErrorNumberOf([&] { file.Open(Path("other.bin")); }), hcp::kFileAlreadyOpen);
  EXPECT_EQ(ErrorNumberOf([&] { file.Seek(0); }), hcp::kBadRecordNumber);
  EXPECT_EQ(ErrorNumberOf([&] { file.PutAt(-3, "x"); }), hcp::kBadRecordNumber);
  file.Put("abc");
  file.Close();

  hcp::BinaryFile reader(Path("data.bin"), hcp::FileMode::Binary, hcp::FileAccess::Read);
  EXPECT_EQ(reader.Get(3), "abc");
  EXPECT_EQ(ErrorNumberOf([&] { reader.Put("x"); }), hcp::kPathFileAccessError);
  hcp::BinaryFile writer(Path("data.bin"), hcp::FileMode::Binary, hcp::FileAccess::Write);
  EXPECT_EQ(ErrorNumberOf([&] { writer.Get(1); }), hcp::kPathFileAccessError);

  if (::geteuid() != 0) {  // root may open anything
    ::chmod((folder_ + "/data.bin").c_str(), 0);
    hcp::BinaryFile locked;
    EXPECT_EQ(ErrorNumberOf([&] { locked.Open(Path("data.bin")); }), hcp::kPermissionDenied);
  }
}
