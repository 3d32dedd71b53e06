// The calendar of day types: the month view of the calendar file with month and year
// navigation (kept inside 2000..2039), drawn at the largest scale the tab has room for, the
// day-type list to paint with, "Show on-duty periods" with the schedule of the profile
// selected on the Profiles tab, and tooltips that name a date's day type.
//
// Keys on the surface: the arrow keys choose a date, Space paints it with the chosen day
// type, Page Up and Page Down turn the months.
#pragma once

#include <QWidget>
#include <memory>

#include "config-editor/SurfaceWidget.h"
#include "config/cProfile.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace ConfigEditor {

class CalendarDocument;
class EditorHost;
class FittedFrame;

class CalendarPanel : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kFirstYear = 2000;
  static constexpr int kLastYear = 2039;
  // The month grid with its headings and week numbers, at scale 1.
  static constexpr QSize kPictureUnits{314, 174};

  CalendarPanel(EditorHost& host, CalendarDocument& document, QWidget* parent = nullptr);
  ~CalendarPanel() override;

  // The profile whose schedule shows as on-duty periods; none shows no periods.
  void SetProfile(std::shared_ptr<Halvane_Config::cProfile> profile);
  // Shows a month, kept inside January 2000 .. December 2039.
  void ShowMonth(int year, int month);
  // After the document was read again: the dates, the file's state, the picture.
  void Reload();
  void Repaint();
  // The file's name and state under the month (unreadable, changed on disk).
  void ShowFileState();
  // Looking only: no date can be painted.
  void SetReadOnly(bool readOnly);

  SurfaceWidget& Surface() { return *surface_; }

 signals:
  // Dates were painted, or the profile's view setting changed.
  void Edited();

 private:
  QWidget* CreateNavigation();
  QWidget* CreateDayTypeList();
  void OnPressed(const SurfaceMouse& mouse);
  void OnReleased(const SurfaceMouse& mouse);
  bool OnKey(const QKeyEvent& key);
  template <typename Operation>
  void Run(Operation operation);
  void SetKeyDay(int day);
  void ShowNavigation();

  EditorHost& host_;
  CalendarDocument& document_;
  std::shared_ptr<Halvane_Config::cProfile> profile_;
  FittedFrame* fitted_ = nullptr;
  SurfaceWidget* surface_ = nullptr;
  QPushButton* previous_ = nullptr;
  QPushButton* next_ = nullptr;
  QComboBox* month_ = nullptr;
  QSpinBox* year_ = nullptr;
  QLabel* title_ = nullptr;
  QListWidget* dayTypes_ = nullptr;
  QCheckBox* showPeriods_ = nullptr;
  QLabel* file_ = nullptr;
  int keyDay_ = 0;  // 0-based day of the month keys act on
  bool readOnly_ = false;
};

}  // namespace ConfigEditor
