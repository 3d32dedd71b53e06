#include <cstring>
#include <string>

#include "ExchangeFixture.h"

namespace {

using Names = ExchangeFixture;

TEST_F(Names, NameQueriesCopyLikeAFixedSizeBuffer) {
  char buffer[32];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(h3.GetShareViewName(buffer, 0), 0);
  EXPECT_EQ(buffer[0], '#');

  EXPECT_EQ(h3.GetShareViewName(buffer, 10), 9);
  EXPECT_STREQ(buffer, "Global\\Qo");
  EXPECT_EQ(h3.GetShareViewName(buffer, 21), 20);
  EXPECT_STREQ(buffer, "Global\\QorShareView3");
  EXPECT_EQ(h3.GetShareViewName(buffer, 0x10000 + 21), 20) << "a 16-bit size";

  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(h3.GetShareMutexName(buffer, 22), 21);
  EXPECT_EQ(h3.GetShareMutexName(buffer, 23), 22);
  EXPECT_STREQ(buffer, "Global\\QorStructMutEx3");
  EXPECT_EQ(h3.GetShareMutexName(buffer, 30), 22);
  EXPECT_EQ(std::string(buffer + 22, 8), std::string(8, '\0')) << "padded with NUL";
}

}  // namespace
