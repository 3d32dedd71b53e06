// A profile's weekly schedule in the editor: the surface inside a frame with its vertical
// scroll bar, the selected period's two time fields (Enter applies what was typed; a text
// that is no time is refused, marked, and changes nothing), the
// time under the pointer, "View day-type names", "Use calendar" with the special day
// types in use, and the popup menu of the right button. The schedule draws and edits
// itself through the host; the panel shows the host's state and passes mouse and keys on.
//
// Keys on the surface: Up and Down choose a row, Left and Right select the row's periods,
// the menu key (or Shift+F10) opens the popup menu for the row.
#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "config-editor/SurfaceWidget.h"
#include "config/DayTypes.h"
#include "config/cProfile.h"

class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class QScrollBar;
class QToolButton;

namespace ConfigEditor {

class EditorHost;

class ScheduleEditorPanel : public QWidget {
  Q_OBJECT
 public:
  // The inner size of the frame around the surface: seven rows, the axis and its labels.
  static constexpr int kFrameWidth = 340;
  static constexpr int kFrameHeight = 179;

  explicit ScheduleEditorPanel(EditorHost& host, QWidget* parent = nullptr);
  ~ScheduleEditorPanel() override;

  // The profile whose schedule is edited; none leaves the panel empty and disabled.
  void SetProfile(std::shared_ptr<Halvane_Config::cProfile> profile);
  // Lays the rows out and draws the whole schedule anew.
  void Repaint();

  SurfaceWidget& Surface() { return *surface_; }
  QMenu& PopupMenu() { return *popup_; }

 signals:
  // The schedule, or the profile's view setting, was changed by the user.
  void Edited();

 private:
  enum PopupItem { kCopy, kPaste, kDelete, kWholeDay, kInvert, kGroup, kGroupMonFri, kPopupItems };

  QWidget* CreateFrame();
  QWidget* CreateFields();
  void CreatePopupMenu();
  QMenu* CreateSpecialDayTypesMenu();

  Halvane_Config::cTimeSchedule* Schedule() const;
  // Runs an operation of the schedule, logging what it raises (a host that cannot answer).
  template <typename Operation>
  void Run(Operation operation);
  void RunPopupItem(PopupItem item);
  // Hands the typed times to the schedule when both are times; marks the others.
  void ApplyTypedTimes();
  void OnPressed(const SurfaceMouse& mouse);
  void OnMoved(const SurfaceMouse& mouse);
  void OnReleased(const SurfaceMouse& mouse);
  bool OnKey(const QKeyEvent& key);

  void ShowFields();
  void ShowPopupState();
  void ShowLayout();
  void ShowSettings();
  // The row keys act on, kept inside the rows, with its mark and in view.
  void SetKeyRow(int row);
  int DayTypeOfRow(int row) const;
  // A click of a button in a row at a minute, as the mouse would make it.
  void ClickRow(std::int16_t button, int row, int minute);
  void OpenPopupMenu(QPoint at);

  EditorHost& host_;
  std::shared_ptr<Halvane_Config::cProfile> profile_;
  QWidget* viewport_ = nullptr;
  SurfaceWidget* surface_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  QLineEdit* periodStart_ = nullptr;
  QLineEdit* periodStop_ = nullptr;
  QLineEdit* time_ = nullptr;
  QCheckBox* viewNames_ = nullptr;
  QCheckBox* useCalendar_ = nullptr;
  QToolButton* specialDayTypes_ = nullptr;
  std::array<QAction*, Halvane_Config::kDayTypeCount - Halvane_Config::kWeekDayTypes>
      specialActions_{};
  QMenu* popup_ = nullptr;
  std::array<QAction*, kPopupItems> popupActions_{};
  int keyRow_ = 0;
};

}  // namespace ConfigEditor
