#include <gtest/gtest.h>

#include <set>

#include "common/Halvane_Common_Procedures.h"

namespace hcp = Halvane_Common_Procedures;

TEST(ScadaSystems, ListsFiftySevenSystemsWithUniqueCodesAndNames) {
  EXPECT_EQ(hcp::InitScadaSystems(), 64);
  std::set<std::u16string> codes, names;
  for (int row = 0; row < 64; ++row) {
    if (hcp::ScadaSystemCodes[row].empty()) continue;
    codes.insert(hcp::ScadaSystemCodes[row]);
    names.insert(hcp::ScadaSystemNames[row]);
    EXPECT_FALSE(hcp::ScadaSystemNames[row].empty()) << row;
  }
  EXPECT_EQ(codes.size(), 57u);
  EXPECT_EQ(names.size(), 57u);
}

TEST(ScadaSystems, KnowsTheRowsOtherProgramsRelyOn) {
  hcp::InitScadaSystems();
  EXPECT_EQ(hcp::ScadaSystemCodes[18], u"GENERICTCP");
  EXPECT_EQ(hcp::ScadaSystemNames[18], u"Generic TCP (Client)");
  EXPECT_EQ(hcp::ScadaSystemCodes[0], u"CITECT");
  EXPECT_EQ(hcp::ScadaSystemNames[5], u"Schneider Electric TAC Vista / StruxureWare");
  EXPECT_EQ(hcp::ScadaSystemNames[59], u"ABB MicroSCADA");
  for (int empty : {10, 17, 31, 60, 61, 62}) {
    EXPECT_TRUE(hcp::ScadaSystemCodes[empty].empty() && hcp::ScadaSystemNames[empty].empty());
  }
  EXPECT_TRUE(hcp::ScadaSystemCodes[63].empty());
  EXPECT_EQ(hcp::ScadaSystemNames[63], u"Halvane System Alarm");
}

TEST(ScadaSystems, RefusesSystemNumbersOutsideTheCatalogue) {
  hcp::InitScadaSystems();
  for (std::int16_t bad : {-1, 64}) {
    try {
      hcp::SetScadaSystem(bad, u"X", u"Y");
      ADD_FAILURE() << bad;
    } catch (const hcp::RuntimeError& e) {
      EXPECT_EQ(e.Number(), hcp::kSubscriptOutOfRange);
    }
  }
  EXPECT_EQ(hcp::ScadaSystemCodes[63], u"");
  EXPECT_EQ(hcp::ScadaSystemNames[0], u"Schneider Electric Citect/VijeoCitect");
}
