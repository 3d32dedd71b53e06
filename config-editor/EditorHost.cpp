#include "config-editor/EditorHost.h"

#include <memory>

#include "common/Halvane_Common_Procedures.h"
#include "config-editor/DayTypeImages.h"
#include "config-editor/QtPaintSurface.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;
namespace hcp = Halvane_Common_Procedures;
namespace op = Halvane_Config::HostOperation;

using Arguments = std::span<const hcp::Variant>;

namespace {

void Require(Arguments arguments, std::size_t fewest, std::size_t most) {
  if (arguments.size() < fewest || arguments.size() > most) {
    throw hcp::RuntimeError(kWrongNumberOfArguments,
                            "Wrong number of arguments or invalid property assignment");
  }
}

// The one value of a "Set_" operation.
const hcp::Variant& Value(Arguments arguments) {
  Require(arguments, 1, 1);
  return arguments[0];
}

QString Text(Arguments arguments) {
  return QString::fromStdU16String(hcp::ToText(Value(arguments)));
}

bool Flag(Arguments arguments) {
  return hcp::ToBoolean(Value(arguments));
}

double Number(Arguments arguments) {
  return hcp::ToDouble(Value(arguments));
}

std::int16_t Integer(Arguments arguments) {
  return hcp::ToInt16(Number(arguments));
}

// A "Get_" operation: nothing may be passed.
template <typename Get>
auto Getter(Get get) {
  return [get](EditorHost& host, Arguments arguments) -> hcp::Variant {
    Require(arguments, 0, 0);
    return get(host);
  };
}

// The list item the calendar is told about: one object per item, compared by identity.
hcp::ObjectRef ItemObject(int item) {
  static std::map<int, std::shared_ptr<const int>> objects;
  std::shared_ptr<const int>& object = objects[item];
  if (!object) object = std::make_shared<const int>(item);
  return {object};
}

}  // namespace

EditorHost::EditorHost(QObject* parent) : QObject(parent) {}

const std::map<std::u16string_view, EditorHost::Operation>& EditorHost::Operations() {
  // Changes one member of a state group, and tells the panels when it changed.
  const auto fields = [](auto member, auto read) {
    return [member, read](EditorHost& host, Arguments arguments) -> hcp::Variant {
      ScheduleFields changed = host.fields_;
      changed.*member = read(arguments);
      host.SetFields(changed);
      return {};
    };
  };
  const auto popup = [](auto member) {
    return [member](EditorHost& host, Arguments arguments) -> hcp::Variant {
      SchedulePopup changed = host.popup_;
      changed.*member = Flag(arguments);
      // Delete is the last of the four items the editor prepares.
      if (member == &SchedulePopup::deleteEnabled) ++host.popupPreparations_;
      host.SetPopup(changed);
      return {};
    };
  };
  const auto layout = [](auto member, auto read) {
    return [member, read](EditorHost& host, Arguments arguments) -> hcp::Variant {
      ScheduleLayout changed = host.layout_;
      changed.*member = read(arguments);
      host.SetLayout(changed);
      return {};
    };
  };
  const auto number = [](Arguments arguments) { return Number(arguments); };
  const auto integer = [](Arguments arguments) { return static_cast<int>(Integer(arguments)); };
  const auto text = [](Arguments arguments) { return Text(arguments); };

  static const std::map<std::u16string_view, Operation> operations = {
      {op::Set_Text_Schedule_Period_Start, fields(&ScheduleFields::periodStart, text)},
      {op::Set_Text_Schedule_Period_Stop, fields(&ScheduleFields::periodStop, text)},
      {op::Get_Text_Schedule_Period_Start,
       Getter([](EditorHost& host) { return host.fields_.periodStart.toStdU16String(); })},
      {op::Get_Text_Schedule_Period_Stop,
       Getter([](EditorHost& host) { return host.fields_.periodStop.toStdU16String(); })},
      {op::Set_Text_Schedule_Time, fields(&ScheduleFields::timeUnderPointer, text)},
      {op::Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked,
       Getter([](EditorHost& host) { return host.popup_.groupedMonFriChecked; })},
      {op::Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked,
       popup(&SchedulePopup::groupedMonFriChecked)},
      {op::Set_Menu_TimeSchedulePopup_Grouped_Checked, popup(&SchedulePopup::groupedChecked)},
      {op::Set_Menu_TimeSchedulePopup_Paste_Enabled, popup(&SchedulePopup::pasteEnabled)},
      {op::Set_Menu_TimeSchedulePopup_Delete_Enabled, popup(&SchedulePopup::deleteEnabled)},
      {op::Get_Check_TimeSchedule_ViewDayType,
       Getter([](EditorHost& host) { return host.fields_.viewDayTypeNames; })},
      {op::Get_ImageList_ImageHeight,
       Getter([](EditorHost&) { return std::int16_t{DayTypeImages::kHeight}; })},
      {op::Get_ImageList_ImageWidth,
       Getter([](EditorHost&) { return std::int16_t{DayTypeImages::kWidth}; })},
      {op::Draw_ImageList_ListImages,
       [](EditorHost& host, Arguments arguments) -> hcp::Variant {
         host.DrawListImage(arguments);
         return {};
       }},
      {op::Set_VScroll_Schedule_Top, layout(&ScheduleLayout::scrollTop, integer)},
      {op::Set_VScroll_Schedule_Max, layout(&ScheduleLayout::scrollMax, integer)},
      {op::Set_VScroll_Schedule_Left, layout(&ScheduleLayout::scrollLeft, number)},
      {op::Set_VScroll_Schedule_Height, layout(&ScheduleLayout::scrollHeight, number)},
      {op::Get_VScroll_Schedule_Left,
       Getter([](EditorHost& host) { return host.layout_.scrollLeft; })},
      {op::Get_VScroll_Schedule_Width,
       Getter([](EditorHost& host) { return host.layout_.scrollWidth; })},
      {op::Get_Picture_TimeSchedule_Frame_ScaleWidth,
       Getter([](EditorHost& host) { return static_cast<float>(host.layout_.frame.width()); })},
      {op::Get_Picture_TimeSchedule_Frame_ScaleHeight,
       Getter([](EditorHost& host) { return static_cast<float>(host.layout_.frame.height()); })},
      {op::Set_Picture_TimeSchedule_Left, layout(&ScheduleLayout::pictureLeft, integer)},
      {op::Set_Picture_TimeSchedule_Top, layout(&ScheduleLayout::pictureTop, integer)},
      {op::Set_Picture_TimeSchedule_Width, layout(&ScheduleLayout::pictureWidth, number)},
      {op::Set_Picture_TimeSchedule_Height,
       layout(
           &ScheduleLayout::pictureHeight,
           [](Arguments arguments) { return static_cast<int>(hcp::ToInt32(Number(arguments))); })},
      {op::Get_Combo_Calendar_DayType_SelectedItem, Getter([](EditorHost& host) {
         return host.selectedDayTypeItem_ > 0 ? hcp::Variant(ItemObject(host.selectedDayTypeItem_))
                                              : hcp::Variant::Nothing();
       })},
      {op::Get_Combo_Calendar_DayType_SelectedItem_Index, Getter([](EditorHost& host) {
         if (host.selectedDayTypeItem_ <= 0) throw hcp::RuntimeError(hcp::kObjectVariableNotSet);
         return static_cast<std::int16_t>(host.selectedDayTypeItem_);
       })},
      {op::Get_Combo_Calendar_DayType_ComboItems,
       [](EditorHost& host, Arguments arguments) -> hcp::Variant {
         const std::int16_t item = Integer(arguments);
         if (item < 1 || item > host.dayTypeItems_.size()) {
           throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
         }
         return host.dayTypeItems_[item - 1].toStdU16String();
       }},
      {op::Set_Text_Calendar_Month,
       [](EditorHost& host, Arguments arguments) -> hcp::Variant {
         const QString month = Text(arguments);
         if (month != host.calendarMonth_) {
           host.calendarMonth_ = month;
           emit host.CalendarMonthChanged();
         }
         return {};
       }},
  };
  return operations;
}

bool EditorHost::Offers(std::u16string_view operation) {
  return Operations().count(operation) != 0;
}

hcp::Variant EditorHost::CallByName(std::u16string_view operation, Arguments arguments) {
  const auto found = Operations().find(operation);
  if (found == Operations().end()) throw hcp::RuntimeError(hcp::kObjectDoesNotSupportMember);
  return found->second(*this, arguments);
}

void EditorHost::SetFields(const ScheduleFields& fields) {
  if (fields == fields_) return;
  fields_ = fields;
  emit FieldsChanged();
}

void EditorHost::SetPopup(const SchedulePopup& popup) {
  popup_ = popup;
  emit PopupChanged();
}

void EditorHost::SetLayout(const ScheduleLayout& layout) {
  if (layout == layout_) return;
  layout_ = layout;
  emit LayoutChanged();
}

void EditorHost::SetDayTypeItems(const QStringList& items) {
  dayTypeItems_ = items;
  if (selectedDayTypeItem_ > items.size()) SetSelectedDayTypeItem(0);
}

void EditorHost::SetSelectedDayTypeItem(int item) {
  if (item < 0 || item > dayTypeItems_.size()) item = 0;
  if (item == selectedDayTypeItem_) return;
  selectedDayTypeItem_ = item;
  emit DayTypeSelectionChanged();
}

void EditorHost::AttachSurface(QtPaintSurface& surface) {
  surfaces_[surface.DeviceContext()] = &surface;
}

void EditorHost::DetachSurface(const QtPaintSurface& surface) {
  surfaces_.erase(surface.DeviceContext());
}

// Image index 1..16, device context, x, y, and the calendar's style (drawn the same).
void EditorHost::DrawListImage(Arguments arguments) {
  Require(arguments, 4, 5);
  const std::int16_t index = hcp::ToInt16(hcp::ToDouble(arguments[0]));
  const std::int32_t deviceContext = hcp::ToInt32(hcp::ToDouble(arguments[1]));
  const double x = hcp::ToDouble(arguments[2]);
  const double y = hcp::ToDouble(arguments[3]);
  if (index < 1 || index > DayTypeImages::kCount) {
    throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
  }
  const auto surface = surfaces_.find(deviceContext);
  if (surface == surfaces_.end()) throw hcp::RuntimeError(hcp::kInvalidProcedureCall);
  QtPaintSurface& target = *surface->second;
  target.DrawImage(DayTypeImages::Image(index, target.DeviceScale()), QPointF(x, y));
}

}  // namespace ConfigEditor
