// The host window of the schedule editor and the calendar: the operations they call by
// name, answered from the state of the controls around their surfaces (period times,
// popup menu, scroll bar, the calendar's day-type list ...). The state is plain; panels
// show it in widgets and write what the user does back into it, and tests read it.
//
// A name the host does not offer raises error 438; a "Get_" operation given arguments or
// a "Set_" operation given none raises error 450; a value of the wrong kind raises what
// its conversion raises (13, 6).
#pragma once

#include <QObject>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <span>

#include "config/HostWindow.h"

namespace ConfigEditor {

class QtPaintSurface;

// "Wrong number of arguments or invalid property assignment".
inline constexpr int kWrongNumberOfArguments = 450;

// The fields beside the schedule's surface.
struct ScheduleFields {
  QString periodStart;  // "hh:mm" of the selected period, or what the user typed
  QString periodStop;
  QString timeUnderPointer;
  bool viewDayTypeNames = false;

  friend bool operator==(const ScheduleFields&, const ScheduleFields&) = default;
};

// The items of the schedule's popup menu whose state the editor sets.
struct SchedulePopup {
  bool groupedMonFriChecked = false;
  bool groupedChecked = false;
  bool pasteEnabled = false;
  bool deleteEnabled = false;

  friend bool operator==(const SchedulePopup&, const SchedulePopup&) = default;
};

// Where the schedule's surface and scroll bar lie in their frame.
struct ScheduleLayout {
  // Given by the panel: the frame's inner size and the scroll bar's width.
  QSizeF frame{340, 179};
  double scrollWidth = 17;
  // Set by the editor.
  double scrollLeft = 0;
  double scrollHeight = 0;
  int scrollMax = 0;
  int scrollTop = 0;  // also the user's scrolling
  int pictureLeft = 0;
  int pictureTop = 0;
  double pictureWidth = 0;
  int pictureHeight = 0;

  friend bool operator==(const ScheduleLayout&, const ScheduleLayout&) = default;
};

class EditorHost : public QObject, public Halvane_Config::HostWindow {
  Q_OBJECT
 public:
  using Variant = Halvane_Config::Variant;

  explicit EditorHost(QObject* parent = nullptr);

  Variant CallByName(std::u16string_view operation, std::span<const Variant> arguments) override;
  // Whether the host answers a name.
  static bool Offers(std::u16string_view operation);

  const ScheduleFields& Fields() const { return fields_; }
  void SetFields(const ScheduleFields& fields);
  const SchedulePopup& Popup() const { return popup_; }
  void SetPopup(const SchedulePopup& popup);
  // How often the editor has prepared the popup menu (its last step sets "Delete"): a
  // press that changed it asks for the menu to be shown.
  int PopupPreparations() const { return popupPreparations_; }
  const ScheduleLayout& Layout() const { return layout_; }
  void SetLayout(const ScheduleLayout& layout);

  // The calendar's day-type list: its items, and the chosen one (1-based; 0 for none).
  const QStringList& DayTypeItems() const { return dayTypeItems_; }
  void SetDayTypeItems(const QStringList& items);
  int SelectedDayTypeItem() const { return selectedDayTypeItem_; }
  void SetSelectedDayTypeItem(int item);
  const QString& CalendarMonth() const { return calendarMonth_; }

  // The surfaces "Draw_ImageList_ListImages" may draw on, by their device context.
  void AttachSurface(QtPaintSurface& surface);
  void DetachSurface(const QtPaintSurface& surface);

 signals:
  void FieldsChanged();
  void PopupChanged();
  void LayoutChanged();
  void DayTypeSelectionChanged();
  void CalendarMonthChanged();

 private:
  // The operations by name; each one checks its arguments.
  using Operation = std::function<Variant(EditorHost& host, std::span<const Variant> arguments)>;
  static const std::map<std::u16string_view, Operation>& Operations();

  void DrawListImage(std::span<const Variant> arguments);

  ScheduleFields fields_;
  SchedulePopup popup_;
  int popupPreparations_ = 0;
  ScheduleLayout layout_;
  QStringList dayTypeItems_;
  int selectedDayTypeItem_ = 0;
  QString calendarMonth_;
  std::map<std::int32_t, QtPaintSurface*> surfaces_;
};

}  // namespace ConfigEditor
