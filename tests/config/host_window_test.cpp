#include <gtest/gtest.h>

#include <string>

#include "RecordingHostWindow.h"
#include "RecordingPaintSurface.h"
#include "common/Halvane_Common_Procedures.h"

namespace Halvane_Config {
namespace {

namespace hcp = Halvane_Common_Procedures;

int ErrorNumberOfCall(HostWindow& host, std::u16string_view operation) {
  try {
    CallHost(host, operation);
  } catch (const hcp::RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(RecordingHostWindow, AnswersFromItsTableAndRefusesTheRest) {
  RecordingHostWindow host;
  EXPECT_EQ(ErrorNumberOfCall(host, HostOperation::Get_Text_Schedule_Period_Start),
            hcp::kObjectDoesNotSupportMember);
  CallHost(host, HostOperation::Set_Text_Schedule_Period_Start, {u"07:30"});
  EXPECT_EQ(CallHost(host, HostOperation::Get_Text_Schedule_Period_Start), Variant(u"07:30"));

  host.AnswerWith(HostOperation::Get_Combo_Calendar_DayType_ComboItems,
                  [](std::span<const Variant> arguments) {
                    return Variant(u"Item " + hcp::ToText(arguments[0]));
                  });
  EXPECT_EQ(CallHost(host, HostOperation::Get_Combo_Calendar_DayType_ComboItems, {std::int16_t{3}}),
            Variant(u"Item 3"));

  host.Refuse(HostOperation::Set_Text_Calendar_Month);
  EXPECT_EQ(ErrorNumberOfCall(host, HostOperation::Set_Text_Calendar_Month),
            hcp::kObjectDoesNotSupportMember);

  CallHost(
      host, HostOperation::Draw_ImageList_ListImages,
      {std::int16_t{1}, std::int32_t{7}, 10.5, 2.5f, hcp::Currency{15000}, true, std::uint8_t{3},
       Variant(), Variant::Null(), Variant::Nothing(), hcp::DateTime{36526.5}});
  EXPECT_EQ(host.Log(), (std::vector<std::string>{
                            "Get_Text_Schedule_Period_Start()",
                            "Set_Text_Schedule_Period_Start(\"07:30\")",
                            "Get_Text_Schedule_Period_Start()",
                            "Get_Combo_Calendar_DayType_ComboItems(3%)",
                            "Set_Text_Calendar_Month()",
                            "Draw_ImageList_ListImages(1%, 7&, 10.5#, 2.5!, 1.5@, True, CByte(3), "
                            "Empty, Null, Nothing, #2000-01-01 12:00:00#)",
                        }));
  EXPECT_EQ(host.CallsTo(HostOperation::Get_Text_Schedule_Period_Start).size(), 2u);
}

TEST(RecordingPaintSurface, KeepsWhatWasDrawnWithFixedMetrics) {
  RecordingPaintSurface surface;
  EXPECT_EQ(surface.TextWidth(u"88"), 12);
  EXPECT_EQ(surface.TextHeight(u"A"), 12);
  surface.LineStep(30, 0, 0, 25, Rgb(148, 148, 148));
  EXPECT_EQ(surface.CurrentX(), 30);
  EXPECT_EQ(surface.CurrentY(), 25);
  surface.SetFontBold(true);
  surface.SetForeColor(kSystemGrayText);
  surface.Print(u"12");
  surface.Print(u"3");
  EXPECT_EQ(surface.CurrentX(), 48);
  surface.SetFontBold(false);
  surface.SetForeColor(kSystemButtonText);
  surface.Print(u"x");
  surface.FilledBox(32, 22, 37, 22, surface.BackColor());
  surface.SetToolTipText(u"Easter");
  surface.SetMousePointer(MousePointer::SizeWestEast);
  EXPECT_EQ(surface.ToolTipText(), u"Easter");
  EXPECT_EQ(surface.Log(), (std::vector<std::string>{
                               "Line 30,0 30,25 rgb(148,148,148)",
                               "Print \"12\" at 30,25 GrayText bold",
                               "Print \"3\" at 42,25 GrayText bold",
                               "Print \"x\" at 48,25 ButtonText",
                               "Box 32,22 37x22 rgb(255,255,255)",
                               "ToolTip \"Easter\"",
                               "MousePointer 9",
                           }));
}

}  // namespace
}  // namespace Halvane_Config
