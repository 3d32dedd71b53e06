// Receivers and profiles on disk: a fresh program folder, the log recorded, the clock at
// noon of 2026-12-08; the program-wide tables and collections emptied afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Bytes.h"
#include "ErrorNumber.h"
#include "GoldenFiles.h"
#include "ProgramFolderScope.h"
#include "common/Halvane_Common_Procedures.h"
#include "config/Halvane_Config.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

class ConfigFilesTest : public ::testing::Test {
 protected:
  ~ConfigFilesTest() override {
    ReceiverCollection.Clear();
    ProfileCollection.Clear();
    ReceiverTypeCatalogue = {};
    ReceiverTypeCount = 0;
    NestedProfileNames = false;
  }

  // What paths look like in the log lines.
  std::string PathOf(std::string_view relative) const { return folder.PathOf(relative); }
  static std::string Utf8(std::u16string_view text) { return hcp::Utf16ToUtf8(text); }

  TemporaryProgramFolder folder;
  RecordedLog log;
  FixedClock clock{golden::kNoon};
};

}  // namespace Halvane_Config
