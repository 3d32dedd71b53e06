// How the configuration classes reach the window that hosts them: operations called by
// name with variant arguments and a variant result. "Get_" operations return one value,
// "Set_" operations take one, "Draw_" operations draw. A host that does not offer an
// operation raises error 438, which reaches the caller of the class's operation.
#pragma once

#include <array>
#include <initializer_list>
#include <span>
#include <string_view>

#include "common/Variant.h"

namespace Halvane_Config {

using Halvane_Common_Procedures::Variant;

class HostWindow {
 public:
  virtual ~HostWindow() = default;

  // Carries out the named operation. Raises RuntimeError 438 when the host has no
  // operation of that name; every other failure of the host also passes to the caller.
  virtual Variant CallByName(std::u16string_view operation, std::span<const Variant> arguments) = 0;
};

// CallByName with the arguments written in place.
Variant CallHost(HostWindow& host, std::u16string_view operation,
                 std::initializer_list<Variant> arguments = {});

// The operations a host offers, by their names.
#define HALVANE_HOST_OPERATIONS(X)                     \
  X(Set_Text_Schedule_Period_Start)                    \
  X(Set_Text_Schedule_Period_Stop)                     \
  X(Get_Text_Schedule_Period_Start)                    \
  X(Get_Text_Schedule_Period_Stop)                     \
  X(Set_Text_Schedule_Time)                            \
  X(Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked) \
  X(Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked) \
  X(Set_Menu_TimeSchedulePopup_Grouped_Checked)        \
  X(Set_Menu_TimeSchedulePopup_Paste_Enabled)          \
  X(Set_Menu_TimeSchedulePopup_Delete_Enabled)         \
  X(Get_Check_TimeSchedule_ViewDayType)                \
  X(Get_ImageList_ImageHeight)                         \
  X(Get_ImageList_ImageWidth)                          \
  X(Draw_ImageList_ListImages)                         \
  X(Set_VScroll_Schedule_Top)                          \
  X(Set_VScroll_Schedule_Max)                          \
  X(Set_VScroll_Schedule_Left)                         \
  X(Set_VScroll_Schedule_Height)                       \
  X(Get_VScroll_Schedule_Left)                         \
  X(Get_VScroll_Schedule_Width)                        \
  X(Get_Picture_TimeSchedule_Frame_ScaleWidth)         \
  X(Get_Picture_TimeSchedule_Frame_ScaleHeight)        \
  X(Set_Picture_TimeSchedule_Left)                     \
  X(Set_Picture_TimeSchedule_Top)                      \
  X(Set_Picture_TimeSchedule_Width)                    \
  X(Set_Picture_TimeSchedule_Height)                   \
  X(Get_Combo_Calendar_DayType_SelectedItem)           \
  X(Get_Combo_Calendar_DayType_SelectedItem_Index)     \
  X(Get_Combo_Calendar_DayType_ComboItems)             \
  X(Set_Text_Calendar_Month)

namespace HostOperation {
#define HALVANE_HOST_OPERATION_NAME(name) inline constexpr std::u16string_view name = u"" #name;
HALVANE_HOST_OPERATIONS(HALVANE_HOST_OPERATION_NAME)
#undef HALVANE_HOST_OPERATION_NAME

// Every name above, for hosts that check they offer them all.
#define HALVANE_HOST_OPERATION_ENTRY(name) name,
inline constexpr std::array kAll = {HALVANE_HOST_OPERATIONS(HALVANE_HOST_OPERATION_ENTRY)};
#undef HALVANE_HOST_OPERATION_ENTRY
}  // namespace HostOperation

}  // namespace Halvane_Config
