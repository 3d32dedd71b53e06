// A profile's weekly schedule in the editor: the surface inside a frame with an hour ruler
// above it and its vertical scroll bar (the mouse wheel scrolls the rows), drawn at the
// largest scale that the tab has room for; the selected period's two time fields (Enter
// applies what was typed; a text that is no time is refused, marked, and changes nothing),
// the time under the pointer, "View day-type names", "Use calendar" with the special day
// types in use, the days that are grouped, and the popup menu of the right button. The
// schedule draws and edits itself through the host; the panel shows the host's state and
// passes mouse and keys on, in the schedule's own units.
//
// What the popup menu acts on is shown before it opens: the right button first selects
// the period under the pointer as a click of the left button does, and the row the
// schedule works on is highlighted. The time fields show the selected period only while
// it is one of its row's periods; what each operation did to the group goes to the log.
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
class QLabel;
class QLineEdit;
class QMenu;
class QScrollBar;
class QToolButton;

namespace ConfigEditor {

class EditorHost;
class FittedFrame;
class HourRuler;

class ScheduleEditorPanel : public QWidget {
  Q_OBJECT
 public:
  // The picture at scale 1: seven rows, the axis with its labels, and right of it the
  // bracket that joins the grouped rows.
  static constexpr QSize kPictureUnits{334, 179};

  explicit ScheduleEditorPanel(EditorHost& host, QWidget* parent = nullptr);
  ~ScheduleEditorPanel() override;

  // The profile whose schedule is edited; none leaves the panel empty and disabled.
  void SetProfile(std::shared_ptr<Halvane_Config::cProfile> profile);
  // Lays the rows out and draws the whole schedule anew.
  void Repaint();

  SurfaceWidget& Surface() { return *surface_; }
  HourRuler& Ruler() { return *ruler_; }
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
  // Runs an operation that may change the group, and logs what it did to it; source is
  // the day whose periods the group takes, if any.
  template <typename Operation>
  void Edit(int source, Operation operation);
  void RunPopupItem(PopupItem item);
  // Hands the typed times to the schedule when both are times; marks the others.
  void ApplyTypedTimes();
  void OnPressed(const SurfaceMouse& mouse);
  void OnMoved(const SurfaceMouse& mouse);
  void OnReleased(const SurfaceMouse& mouse);
  bool OnKey(const QKeyEvent& key);
  // The frame's size or scale changed: the schedule is laid out and drawn anew.
  void OnFitted();
  // The surface's scale, and the frame's room as the schedule's units.
  void ApplyFit();
  bool eventFilter(QObject* watched, QEvent* event) override;

  // The selected period while it is one of the selected row's periods; none otherwise.
  Halvane_Config::PeriodRef PeriodInRow() const;
  // The time fields as the selected period has them now, or empty.
  void ShowPeriodTimes();
  void ShowFields();
  void ShowGroups();
  // The highlighted row label and the group's bracket, over the picture.
  void DrawOverlay(QPainter& painter);
  void ShowPopupState();
  void ShowLayout();
  void ShowSettings();
  // The row keys act on, kept inside the rows, with its mark and in view.
  void SetKeyRow(int row);
  // Scrolls rows into view, the first of them when not all fit.
  void ScrollIntoView(int firstRow, int lastRow);
  // Pixels of one step of the scroll bar (a quarter row), and of the rows' view.
  double ScrollStep() const;
  int ViewportHeight() const;
  int DayTypeOfRow(int row) const;
  // A click of a button in a row at a minute, as the mouse would make it.
  void ClickRow(std::int16_t button, int row, int minute);
  void OpenPopupMenu(QPoint at);

  EditorHost& host_;
  std::shared_ptr<Halvane_Config::cProfile> profile_;
  FittedFrame* fitted_ = nullptr;
  HourRuler* ruler_ = nullptr;
  QWidget* viewport_ = nullptr;
  SurfaceWidget* surface_ = nullptr;
  QScrollBar* scroll_ = nullptr;
  QLineEdit* periodStart_ = nullptr;
  QLineEdit* periodStop_ = nullptr;
  QLineEdit* time_ = nullptr;
  QCheckBox* viewNames_ = nullptr;
  QCheckBox* useCalendar_ = nullptr;
  QToolButton* specialDayTypes_ = nullptr;
  QLabel* group_ = nullptr;
  std::array<QAction*, Halvane_Config::kDayTypeCount - Halvane_Config::kWeekDayTypes>
      specialActions_{};
  QMenu* popup_ = nullptr;
  std::array<QAction*, kPopupItems> popupActions_{};
  int keyRow_ = 0;
  double wheel_ = 0;  // steps of the wheel not scrolled yet
  bool repainting_ = false;
  bool refitted_ = false;
};

}  // namespace ConfigEditor
