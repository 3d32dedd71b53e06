#include <gtest/gtest.h>

#include <vector>

#include "common/ProgramServices.h"

namespace hcp = Halvane_Common_Procedures;

TEST(ProgramServices, FolderAlwaysEndsWithOneSlash) {
  hcp::SetProgramFolder(u"/opt/halvane");
  EXPECT_EQ(hcp::ProgramFolder(), u"/opt/halvane/");
  hcp::SetProgramFolder(u"/opt/halvane/");
  EXPECT_EQ(hcp::ProgramFolder(), u"/opt/halvane/");
  hcp::SetProgramFolder(u"");
  EXPECT_EQ(hcp::ProgramFolder(), u"");
}

TEST(ProgramServices, LogLinesReachTheInstalledSinkAndAreDroppedWithout) {
  hcp::LogMessage(u"dropped, nobody listens");
  std::vector<std::u16string> lines;
  hcp::SetLogSink([&lines](const std::u16string& text) { lines.push_back(text); });
  hcp::LogMessage(u"Receiver upgraded");
  hcp::SetLogSink({});
  hcp::LogMessage(u"dropped again");
  EXPECT_EQ(lines, std::vector<std::u16string>{u"Receiver upgraded"});
}
