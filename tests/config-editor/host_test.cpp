// The host answers every operation the configuration classes call by name, and refuses
// what it does not offer the way the family's hosts do.
#include <gtest/gtest.h>

#include <QWidget>
#include <map>

#include "common/RuntimeError.h"
#include "config-editor/EditorHost.h"
#include "config-editor/QtPaintSurface.h"

namespace ConfigEditor {
namespace {

namespace op = Halvane_Config::HostOperation;
using Halvane_Common_Procedures::RuntimeError;
using Halvane_Common_Procedures::Variant;

int ErrorOf(EditorHost& host, std::u16string_view operation, std::vector<Variant> arguments) {
  try {
    host.CallByName(operation, arguments);
  } catch (const RuntimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(EditorHostTest, AnswersEveryOperationName) {
  QWidget widget;
  QtPaintSurface surface(widget);
  surface.Resize(QSize(40, 40));
  EditorHost host;
  host.AttachSurface(surface);
  host.SetDayTypeItems({QStringLiteral("Ordinary day"), QStringLiteral("Like Monday")});
  host.SetSelectedDayTypeItem(2);

  const std::map<std::u16string_view, std::vector<Variant>> arguments = {
      {op::Set_Text_Schedule_Period_Start, {u"08:00"}},
      {op::Set_Text_Schedule_Period_Stop, {u"16:00"}},
      {op::Set_Text_Schedule_Time, {u"12:00"}},
      {op::Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked, {true}},
      {op::Set_Menu_TimeSchedulePopup_Grouped_Checked, {true}},
      {op::Set_Menu_TimeSchedulePopup_Paste_Enabled, {true}},
      {op::Set_Menu_TimeSchedulePopup_Delete_Enabled, {true}},
      {op::Draw_ImageList_ListImages, {std::int16_t{3}, surface.DeviceContext(), 2.0, 2.0}},
      {op::Set_VScroll_Schedule_Top, {std::int16_t{1}}},
      {op::Set_VScroll_Schedule_Max, {std::int16_t{4}}},
      {op::Set_VScroll_Schedule_Left, {320.0}},
      {op::Set_VScroll_Schedule_Height, {150.0}},
      {op::Set_Picture_TimeSchedule_Left, {std::int16_t{0}}},
      {op::Set_Picture_TimeSchedule_Top, {std::int16_t{-25}}},
      {op::Set_Picture_TimeSchedule_Width, {320.0}},
      {op::Set_Picture_TimeSchedule_Height, {std::int16_t{300}}},
      {op::Get_Combo_Calendar_DayType_ComboItems, {std::int16_t{2}}},
      {op::Set_Text_Calendar_Month, {u"March 2026"}},
  };
  for (std::u16string_view name : op::kAll) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    EXPECT_TRUE(EditorHost::Offers(name));
    const auto given = arguments.find(name);
    const bool getter =
        name.starts_with(u"Get_") && name != op::Get_Combo_Calendar_DayType_ComboItems;
    EXPECT_TRUE(getter || given != arguments.end()) << "no arguments in the table";
    EXPECT_EQ(
        ErrorOf(host, name, given != arguments.end() ? given->second : std::vector<Variant>{}), 0);
  }

  // What was set reads back, and the state the panels show changed.
  EXPECT_EQ(host.CallByName(op::Get_Text_Schedule_Period_Start, {}), Variant(u"08:00"));
  EXPECT_EQ(host.Fields().timeUnderPointer, QStringLiteral("12:00"));
  EXPECT_TRUE(host.Popup().pasteEnabled);
  EXPECT_EQ(host.Layout().scrollMax, 4);
  EXPECT_EQ(host.CalendarMonth(), QStringLiteral("March 2026"));
  EXPECT_EQ(host.CallByName(op::Get_Combo_Calendar_DayType_SelectedItem_Index, {}),
            Variant(std::int16_t{2}));
  host.DetachSurface(surface);
}

TEST(EditorHostTest, RefusesWhatItDoesNotOffer) {
  EditorHost host;
  EXPECT_FALSE(EditorHost::Offers(u"Set_Text_Nothing"));
  EXPECT_EQ(ErrorOf(host, u"Set_Text_Nothing", {u"x"}), 438);
  EXPECT_EQ(ErrorOf(host, u"get_text_schedule_period_start", {}), 438);
  EXPECT_EQ(ErrorOf(host, op::Get_Text_Schedule_Period_Start, {u"x"}), kWrongNumberOfArguments);
  EXPECT_EQ(ErrorOf(host, op::Set_Text_Schedule_Time, {}), kWrongNumberOfArguments);
  // An image list index outside 1..16, and a device context of no surface.
  EXPECT_EQ(ErrorOf(host, op::Draw_ImageList_ListImages, {std::int16_t{17}, 0, 0.0, 0.0}), 9);
  EXPECT_EQ(ErrorOf(host, op::Draw_ImageList_ListImages, {std::int16_t{1}, 12345, 0.0, 0.0}), 5);
}

TEST(EditorHostTest, DrawsListImagesOnTheSurfaceItsDeviceContextNames) {
  QWidget first;
  QWidget second;
  QtPaintSurface one(first);
  QtPaintSurface two(second);
  one.Resize(QSize(32, 32));
  two.Resize(QSize(32, 32));
  one.Clear();
  two.Clear();
  EditorHost host;
  host.AttachSurface(one);
  host.AttachSurface(two);
  const QImage before = one.Image();
  host.CallByName(op::Draw_ImageList_ListImages,
                  std::vector<Variant>{std::int16_t{1}, two.DeviceContext(), 8.0, 8.0});
  EXPECT_EQ(one.Image(), before);
  EXPECT_NE(two.Image(), before);
  host.DetachSurface(one);
  host.DetachSurface(two);
}

}  // namespace
}  // namespace ConfigEditor
