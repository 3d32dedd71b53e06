#include "config-editor/ScheduleEditorPanel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <exception>

#include "common/Halvane_Common_Procedures.h"
#include "config-editor/DayTypeImages.h"
#include "config-editor/EditorHost.h"
#include "config-editor/FieldForm.h"
#include "config-editor/FittedFrame.h"
#include "config-editor/GroupReport.h"
#include "config-editor/HourRuler.h"
#include "config/ScheduleGeometry.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

namespace {

namespace geometry = hc::ScheduleGeometry;
constexpr int kRowHeight = geometry::kRowHeight;
constexpr double kAxisLeft = geometry::kAxisLeft;
constexpr double kAxisRight = geometry::kAxisRight;
constexpr double kMinutesPerUnit = geometry::kMinutesPerUnit;
constexpr int kBarTop = geometry::kBarTop;
constexpr int kBarHeight = geometry::kBarLines;
constexpr int kScrollStepsPerRow = geometry::kScrollStepsPerRow;
constexpr int kNoon = 720;
constexpr int kMonday = 0;
// The group's bracket: a tick from the axis to its upright, beside each grouped row.
constexpr double kBracketLeft = kAxisRight + 2;
constexpr double kBracketRight = kBracketLeft + 6;
constexpr int kRowMarkAlpha = 90;

double MinuteX(int minute) {
  return kAxisLeft + minute / kMinutesPerUnit;
}

double RowMiddle(int row) {
  return row * kRowHeight + kBarTop + kBarHeight / 2;
}

// Why a typed text is no time of day, or nothing when it is one. The schedule reads any
// text as minutes, the unreadable parts as 0; so a text that is empty, has no digit, or
// holds anything but digits, blanks and the separators ": . , - +" would become a time the
// user never typed (midnight, mostly). Numbers past the day are times, clamped to 24:00.
QString TimeTextProblem(const QString& text) {
  static const QString kAllowed = QStringLiteral(" \t:.,-+");
  bool digit = false;
  for (const QChar c : text) {
    if (c >= u'0' && c <= u'9') {
      digit = true;
    } else if (!kAllowed.contains(c)) {
      return ScheduleEditorPanel::tr(
                 "Not a time of day: \"%1\" has no place in one. Type hh:mm "
                 "(07:30), hhmm (0730) or the hour alone (7).")
          .arg(c);
    }
  }
  if (!digit) {
    return ScheduleEditorPanel::tr(
        "No time given: type hh:mm (07:30), hhmm (0730) or the hour alone (7).");
  }
  try {
    hcp::TimeTextToMinutes(text.toStdU16String());
  } catch (const hcp::RuntimeError&) {
    return ScheduleEditorPanel::tr("Not a time of day: the number is far too large.");
  }
  return {};
}

}  // namespace

ScheduleEditorPanel::ScheduleEditorPanel(EditorHost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(CreateFrame(), 1);
  fitted_->SetSide(CreateFields());
  CreatePopupMenu();

  host_.AttachSurface(surface_->Surface());
  connect(&host_, &EditorHost::FieldsChanged, this, &ScheduleEditorPanel::ShowFields);
  connect(&host_, &EditorHost::PopupChanged, this, &ScheduleEditorPanel::ShowPopupState);
  connect(&host_, &EditorHost::LayoutChanged, this, &ScheduleEditorPanel::ShowLayout);
  connect(fitted_, &FittedFrame::Fitted, this, &ScheduleEditorPanel::OnFitted);
  connect(surface_, &SurfaceWidget::MousePressed, this, &ScheduleEditorPanel::OnPressed);
  connect(surface_, &SurfaceWidget::MouseMoved, this, &ScheduleEditorPanel::OnMoved);
  connect(surface_, &SurfaceWidget::MouseReleased, this, &ScheduleEditorPanel::OnReleased);
  surface_->SetKeyHandler([this](const QKeyEvent& key) { return OnKey(key); });
  surface_->SetOverlay([this](QPainter& painter) { DrawOverlay(painter); });
  SetProfile(nullptr);
}

ScheduleEditorPanel::~ScheduleEditorPanel() {
  host_.DetachSurface(surface_->Surface());
}

QWidget* ScheduleEditorPanel::CreateFrame() {
  fitted_ = new FittedFrame(kPictureUnits, QSize());
  QFrame& frame = fitted_->Frame();
  auto* inner = new QVBoxLayout(&frame);
  inner->setContentsMargins(frame.frameWidth(), frame.frameWidth(), frame.frameWidth(),
                            frame.frameWidth());
  inner->setSpacing(0);
  viewport_ = new QWidget;
  viewport_->setObjectName(QStringLiteral("Picture_TimeSchedule_Frame"));
  viewport_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  viewport_->installEventFilter(this);
  surface_ = new SurfaceWidget(viewport_);
  surface_->setObjectName(QStringLiteral("Picture_TimeSchedule"));
  surface_->setAccessibleName(tr("Weekly schedule"));
  surface_->installEventFilter(this);
  ruler_ = new HourRuler(surface_->Surface());
  inner->addWidget(ruler_);
  inner->addWidget(viewport_, 1);

  scroll_ = new QScrollBar(Qt::Vertical, viewport_);
  scroll_->setObjectName(QStringLiteral("VScroll_Schedule"));
  scroll_->setSingleStep(1);
  scroll_->setPageStep(kScrollStepsPerRow * geometry::kVisibleRows);
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
    ScheduleLayout layout = host_.Layout();
    layout.scrollTop = value;
    host_.SetLayout(layout);
  });
  fitted_->SetFixed(QSize(scroll_->sizeHint().width(), ruler_->sizeHint().height()));
  return fitted_;
}

QWidget* ScheduleEditorPanel::CreateFields() {
  auto* fields = new QWidget;
  fields->setMaximumWidth(280);
  auto* form = new QFormLayout(fields);
  form->setContentsMargins(0, 0, 0, 0);

  const auto periodField = [this](const QString& name, QString ScheduleFields::*member) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMaximumWidth(80);
    edit->setPlaceholderText(QStringLiteral("hh:mm"));
    connect(edit, &QLineEdit::textEdited, this, [this, edit, member](const QString& text) {
      MarkRefused(edit, {});
      ScheduleFields changed = host_.Fields();
      changed.*member = text;
      host_.SetFields(changed);
    });
    connect(edit, &QLineEdit::returnPressed, this, &ScheduleEditorPanel::ApplyTypedTimes);
    return edit;
  };
  periodStart_ =
      periodField(QStringLiteral("Text_Schedule_Period_Start"), &ScheduleFields::periodStart);
  periodStop_ =
      periodField(QStringLiteral("Text_Schedule_Period_Stop"), &ScheduleFields::periodStop);
  form->addRow(tr("Period st&art:"), periodStart_);
  form->addRow(tr("Per&iod end:"), periodStop_);

  time_ = new QLineEdit;
  time_->setObjectName(QStringLiteral("Text_Schedule_Time"));
  time_->setReadOnly(true);
  time_->setFocusPolicy(Qt::NoFocus);
  time_->setMaximumWidth(80);
  form->addRow(tr("Pointer at:"), time_);

  viewNames_ = new QCheckBox(tr("&View day-type names"));
  viewNames_->setObjectName(QStringLiteral("Check_TimeSchedule_ViewDayType"));
  connect(viewNames_, &QCheckBox::toggled, this, [this](bool checked) {
    if (!profile_) return;
    profile_->m_TimeSchedule_ViewDayType = checked ? 1 : 0;
    ScheduleFields changed = host_.Fields();
    changed.viewDayTypeNames = checked;
    host_.SetFields(changed);
    Repaint();
    emit Edited();
  });
  form->addRow(viewNames_);

  useCalendar_ = new QCheckBox(tr("Use ca&lendar"));
  useCalendar_->setObjectName(QStringLiteral("Check_TimeSchedule_UseCalendar"));
  connect(useCalendar_, &QCheckBox::toggled, this, [this](bool checked) {
    if (!Schedule()) return;
    Schedule()->m_UseCalendar = checked;
    specialDayTypes_->setEnabled(checked);
    Repaint();
    // The rows it added come into view.
    if (checked) ScrollIntoView(hc::kWeekDayTypes, Schedule()->m_NumberOfAxisToPaint - 1);
    emit Edited();
  });
  form->addRow(useCalendar_);

  specialDayTypes_ = new QToolButton;
  specialDayTypes_->setObjectName(QStringLiteral("Menu_SpecialDayTypes"));
  specialDayTypes_->setText(tr("Special day &types"));
  specialDayTypes_->setToolTip(tr("The special day types that have a row of their own"));
  specialDayTypes_->setPopupMode(QToolButton::InstantPopup);
  specialDayTypes_->setMenu(CreateSpecialDayTypesMenu());
  form->addRow(specialDayTypes_);

  group_ = new QLabel;
  group_->setObjectName(QStringLiteral("Label_Schedule_Group"));
  group_->setToolTip(
      tr("Grouped days edit together: a period drawn, moved, typed or inverted on one of them "
         "goes to all. Delete and 00:00-24:00 take a day out of the group; Paste and Group "
         "make it join."));
  form->addRow(tr("Group:"), group_);

  auto* hint = new QLabel(
      tr("Drag along a day to draw a period, drag a period's end to move it; the right "
         "button opens the menu. Type a time and press Enter to set the selected period. "
         "The wheel scrolls the rows."));
  hint->setWordWrap(true);
  hint->setForegroundRole(QPalette::PlaceholderText);
  form->addRow(hint);
  return fields;
}

QMenu* ScheduleEditorPanel::CreateSpecialDayTypesMenu() {
  auto* menu = new QMenu(this);
  for (std::size_t k = 0; k < specialActions_.size(); ++k) {
    const int dayType = hc::kWeekDayTypes + static_cast<int>(k);
    QAction* action = menu->addAction(DayTypeImages::Icon(static_cast<int>(k) + 1),
                                      QString::fromStdU16String(hc::DayTypeNames[dayType]));
    action->setCheckable(true);
    connect(action, &QAction::toggled, this, [this, dayType](bool checked) {
      if (!Schedule()) return;
      Schedule()->SetActive(dayType, checked);
      Repaint();
      if (checked && Schedule()->m_UseCalendar) {
        ScrollIntoView(Schedule()->GetAxisRow(dayType), Schedule()->GetAxisRow(dayType));
      }
      emit Edited();
    });
    specialActions_[k] = action;
  }
  return menu;
}

void ScheduleEditorPanel::CreatePopupMenu() {
  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("Menu_TimeSchedulePopup"));
  const QString captions[kPopupItems] = {tr("&Copy"),
                                         tr("&Paste"),
                                         tr("&Delete"),
                                         tr("00:00-&24:00"),
                                         tr("&Invert"),
                                         tr("&Group"),
                                         tr("Group &Monday-Friday")};
  for (int item = 0; item < kPopupItems; ++item) {
    if (item == kGroup) popup_->addSeparator();
    QAction* action = popup_->addAction(captions[item]);
    action->setCheckable(item == kGroup || item == kGroupMonFri);
    connect(action, &QAction::triggered, this,
            [this, item] { RunPopupItem(static_cast<PopupItem>(item)); });
    popupActions_[item] = action;
  }
  ShowPopupState();
}

hc::cTimeSchedule* ScheduleEditorPanel::Schedule() const {
  return profile_ ? profile_->m_TimeSchedule.get() : nullptr;
}

template <typename Operation>
void ScheduleEditorPanel::Run(Operation operation) {
  hc::cTimeSchedule* schedule = Schedule();
  if (schedule == nullptr) return;
  try {
    operation(*schedule);
  } catch (const std::exception& e) {
    hcp::LogMessage(
        tr("The schedule editor stopped: %1").arg(QString::fromUtf8(e.what())).toStdU16String());
  }
}

template <typename Operation>
void ScheduleEditorPanel::Edit(int source, Operation operation) {
  if (Schedule() == nullptr) return;
  const GroupState before = GroupState::Of(*Schedule());
  Run(operation);
  for (const QString& line : DescribeGroupChange(before, GroupState::Of(*Schedule()), source))
    hcp::LogMessage(line.toStdU16String());
  ShowGroups();
}

void ScheduleEditorPanel::ApplyTypedTimes() {
  bool times = true;
  for (QLineEdit* edit : {periodStart_, periodStop_}) {
    const QString problem = TimeTextProblem(edit->text());
    MarkRefused(edit, problem);
    times = times && problem.isEmpty();
  }
  if (!times || !Schedule()) return;
  Edit(Schedule()->GetSelectedDayType(), [this](hc::cTimeSchedule& schedule) {
    schedule.ExtractTimeFromTextboxes(host_, surface_->Surface());
  });
  ShowPeriodTimes();
  emit Edited();
}

void ScheduleEditorPanel::RunPopupItem(PopupItem item) {
  hc::cTimeSchedule* schedule = Schedule();
  if (schedule == nullptr) return;
  hc::PaintSurface& surface = surface_->Surface();
  // The day whose periods go to the group: the row worked on where the schedule copies
  // a change to the group, Monday for grouping Monday to Friday.
  const int edited = schedule->GetSelectedDayType();
  const int source = item == kInvert ? edited : item == kGroupMonFri ? kMonday : -1;
  Edit(source, [&](hc::cTimeSchedule& edit) {
    switch (item) {
      case kCopy:
        edit.Copy();
        break;
      case kPaste:
        edit.Paste(host_, surface);
        break;
      case kDelete:
        edit.Delete(host_, surface);
        break;
      case kWholeDay:
        edit.SetTimeFrom00to24(host_, surface);
        break;
      case kInvert:
        edit.InvertTimeSchedule(host_, surface);
        break;
      case kGroup:
        edit.Group(host_, surface);
        break;
      case kGroupMonFri:
        edit.GroupMonFri(host_, surface);
        break;
      case kPopupItems:
        break;
    }
  });
  // The host checks and unchecks its grouping items itself.
  SchedulePopup popup = host_.Popup();
  if (item == kGroup) popup.groupedChecked = !popup.groupedChecked;
  if (item == kGroupMonFri) popup.groupedMonFriChecked = !popup.groupedMonFriChecked;
  host_.SetPopup(popup);
  if (item != kCopy) {
    Repaint();
    ShowPeriodTimes();
    emit Edited();
  }
}

void ScheduleEditorPanel::OnPressed(const SurfaceMouse& mouse) {
  hc::cTimeSchedule* schedule = Schedule();
  if (schedule == nullptr) return;
  const int prepared = host_.PopupPreparations();
  const bool right = mouse.button == hc::kRightButton;
  if (right && schedule->GetDragMode() == hc::cTimeSchedule::DragMode::Idle) {
    // The menu acts on what the user sees: the period under the pointer is selected, as
    // a left click there selects it, before the schedule prepares the menu.
    const SurfaceMouse left{hc::kLeftButton, mouse.shift, mouse.position};
    OnPressed(left);
    OnReleased(left);
  }
  Run([&](hc::cTimeSchedule& edited) {
    edited.MouseDown(host_, surface_->Surface(), mouse.button, mouse.shift, mouse.position.x(),
                     mouse.position.y());
  });
  if (schedule->GetSelectedDayType() >= 0) {
    SetKeyRow(schedule->GetAxisRow(schedule->GetSelectedDayType()));
  }
  ShowFields();
  surface_->update();
  if (right && host_.PopupPreparations() != prepared) {
    OpenPopupMenu(surface_->mapToGlobal(surface_->Surface().ToWidget(mouse.position)).toPoint());
  }
}

void ScheduleEditorPanel::OnMoved(const SurfaceMouse& mouse) {
  Run([&](hc::cTimeSchedule& schedule) {
    schedule.MouseMove(host_, surface_->Surface(), mouse.button, mouse.shift, mouse.position.x(),
                       mouse.position.y());
  });
}

void ScheduleEditorPanel::OnReleased(const SurfaceMouse& mouse) {
  hc::cTimeSchedule* schedule = Schedule();
  if (schedule == nullptr) return;
  const bool dragging = schedule->GetDragMode() != hc::cTimeSchedule::DragMode::Idle;
  Edit(schedule->GetSelectedDayType(), [&](hc::cTimeSchedule& edited) {
    edited.MouseUp(host_, surface_->Surface(), mouse.button, mouse.shift, mouse.position.x(),
                   mouse.position.y());
  });
  // Merged on release, the period may have grown.
  if (dragging) ShowPeriodTimes();
  ShowFields();
  if (dragging) emit Edited();
}

void ScheduleEditorPanel::OpenPopupMenu(QPoint at) {
  ShowPopupState();
  popup_->popup(at);
}

bool ScheduleEditorPanel::eventFilter(QObject* watched, QEvent* event) {
  // The wheel scrolls the rows, where there are rows to scroll; else the page scrolls.
  if ((watched == viewport_ || watched == surface_) && event->type() == QEvent::Wheel &&
      scroll_->maximum() > 0) {
    // As many steps as the desktop scrolls lines; a fine wheel's parts add up.
    wheel_ += static_cast<const QWheelEvent*>(event)->angleDelta().y() *
              QApplication::wheelScrollLines() / double(QWheelEvent::DefaultDeltasPerStep);
    const int steps = static_cast<int>(wheel_);
    wheel_ -= steps;
    scroll_->setValue(scroll_->value() - steps);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

int ScheduleEditorPanel::DayTypeOfRow(int row) const {
  if (!Schedule()) return -1;
  for (int d = 0; d < hc::kDayTypeCount; ++d) {
    if (Schedule()->GetActive(d) && row-- == 0) return d;
  }
  return -1;
}

void ScheduleEditorPanel::ClickRow(std::int16_t button, int row, int minute) {
  const SurfaceMouse mouse{button, 0, QPointF(MinuteX(minute), RowMiddle(row))};
  OnPressed(mouse);
  if (button == hc::kLeftButton) OnReleased(mouse);
}

bool ScheduleEditorPanel::OnKey(const QKeyEvent& key) {
  hc::cTimeSchedule* schedule = Schedule();
  if (schedule == nullptr) return false;
  const int dayType = DayTypeOfRow(keyRow_);
  const hc::PeriodRef& selected = schedule->GetSelectedPeriod();
  const bool selectedInRow = selected && dayType >= 0 &&
                             std::count(schedule->GetPeriods(dayType).begin(),
                                        schedule->GetPeriods(dayType).end(), selected);
  switch (key.key()) {
    case Qt::Key_Up:
      SetKeyRow(keyRow_ - 1);
      return true;
    case Qt::Key_Down:
      SetKeyRow(keyRow_ + 1);
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
      if (dayType < 0) return true;
      std::vector<hc::PeriodRef> periods = schedule->GetPeriods(dayType);
      std::sort(periods.begin(), periods.end(),
                [](const auto& a, const auto& b) { return a->m_StartMinute < b->m_StartMinute; });
      if (periods.empty()) return true;
      auto at = selectedInRow ? std::find(periods.begin(), periods.end(), selected) : periods.end();
      if (key.key() == Qt::Key_Right) {
        at = at == periods.end() || at + 1 == periods.end() ? periods.begin() : at + 1;
      } else {
        at = at == periods.end() || at == periods.begin() ? periods.end() - 1 : at - 1;
      }
      ClickRow(hc::kLeftButton, keyRow_, ((*at)->m_StartMinute + (*at)->m_StopMinute) / 2);
      return true;
    }
    case Qt::Key_F10:
      if (!(key.modifiers() & Qt::ShiftModifier)) return false;
      [[fallthrough]];
    case Qt::Key_Menu: {
      const int minute =
          selectedInRow ? (selected->m_StartMinute + selected->m_StopMinute) / 2 : kNoon;
      ClickRow(hc::kRightButton, keyRow_, minute);
      return true;
    }
    default:
      return false;
  }
}

int ScheduleEditorPanel::ViewportHeight() const {
  return static_cast<int>(std::lround(host_.Layout().frame.height() * surface_->Surface().Scale()));
}

double ScheduleEditorPanel::ScrollStep() const {
  return kRowHeight * surface_->Surface().Scale() / kScrollStepsPerRow;
}

void ScheduleEditorPanel::SetKeyRow(int row) {
  const hc::cTimeSchedule* schedule = Schedule();
  const int rows = schedule ? schedule->m_NumberOfAxisToPaint : 0;
  keyRow_ = std::clamp(row, 0, std::max(rows - 1, 0));
  surface_->SetFocusMark(rows > 0 ? QRect(1, keyRow_ * kRowHeight + 1,
                                          surface_->Surface().Size().width() - 2, kRowHeight - 2)
                                  : QRect());
  ScrollIntoView(keyRow_, keyRow_);
}

void ScheduleEditorPanel::ScrollIntoView(int firstRow, int lastRow) {
  const QtPaintSurface& surface = surface_->Surface();
  const double top = surface.ToWidget(QPointF(0, firstRow * kRowHeight)).y();
  const double bottom = surface.ToWidget(QPointF(0, (lastRow + 1) * kRowHeight + kBarTop)).y();
  const int highest = static_cast<int>(std::floor(top / ScrollStep()));
  const int lowest = static_cast<int>(std::ceil((bottom - ViewportHeight()) / ScrollStep()));
  if (scroll_->value() > highest) {
    scroll_->setValue(highest);
  } else if (scroll_->value() < lowest) {
    scroll_->setValue(std::min(lowest, highest));
  }
}

void ScheduleEditorPanel::SetProfile(std::shared_ptr<hc::cProfile> profile) {
  profile_ = std::move(profile);
  host_.SetFields({.periodStart = {},
                   .periodStop = {},
                   .timeUnderPointer = {},
                   .viewDayTypeNames = profile_ && profile_->m_TimeSchedule_ViewDayType != 0});
  host_.SetPopup({});
  keyRow_ = 0;
  ShowSettings();
  Repaint();
}

void ScheduleEditorPanel::ShowSettings() {
  hc::cTimeSchedule* schedule = Schedule();
  setEnabled(schedule != nullptr);
  {
    const QSignalBlocker blockView(viewNames_);
    const QSignalBlocker blockCalendar(useCalendar_);
    viewNames_->setChecked(host_.Fields().viewDayTypeNames);
    useCalendar_->setChecked(schedule && schedule->m_UseCalendar);
  }
  specialDayTypes_->setEnabled(schedule && schedule->m_UseCalendar);
  for (std::size_t k = 0; k < specialActions_.size(); ++k) {
    const QSignalBlocker block(specialActions_[k]);
    specialActions_[k]->setChecked(schedule &&
                                   schedule->GetActive(hc::kWeekDayTypes + static_cast<int>(k)));
  }
}

void ScheduleEditorPanel::OnFitted() {
  // Drawing anew may make the frame grow for more rows: the drawing then goes round again.
  if (repainting_) {
    refitted_ = true;
    return;
  }
  Repaint();
}

void ScheduleEditorPanel::ApplyFit() {
  const double scale = fitted_->Scale();
  QtPaintSurface& surface = surface_->Surface();
  if (surface.Scale() != scale) {
    surface.SetScale(scale);
    ruler_->update();
  }
  // The frame as the schedule sees it, in its units.
  ScheduleLayout frame = host_.Layout();
  const int scrollWidth = scroll_->sizeHint().width();
  frame.frame = QSizeF(fitted_->Inner() + QSize(scrollWidth, 0)) / scale;
  frame.scrollWidth = scrollWidth / scale;
  host_.SetLayout(frame);
}

void ScheduleEditorPanel::Repaint() {
  QtPaintSurface& surface = surface_->Surface();
  hc::cTimeSchedule* schedule = Schedule();
  repainting_ = true;
  do {
    refitted_ = false;
    ApplyFit();
    if (schedule == nullptr) {
      surface.Resize(kPictureUnits);
      fitted_->SetExtent(kPictureUnits.height());
      continue;
    }
    Run([&](hc::cTimeSchedule& edited) {
      hc::PaintSurface* hostSurface = &surface;
      edited.RecalculateAndPrepareToPaint(host_, hostSurface, &surface);
      surface.Clear();
      edited.Paint(host_, &surface);
    });
    fitted_->SetExtent(host_.Layout().pictureHeight);
  } while (refitted_);
  repainting_ = false;
  SetKeyRow(keyRow_);
  ShowGroups();
}

hc::PeriodRef ScheduleEditorPanel::PeriodInRow() const {
  const hc::cTimeSchedule* schedule = Schedule();
  if (schedule == nullptr || !schedule->GetSelectedPeriod()) return nullptr;
  const int row = schedule->GetSelectedDayType();
  if (row < 0) return nullptr;
  const std::vector<hc::PeriodRef>& periods = schedule->GetPeriods(row);
  return std::find(periods.begin(), periods.end(), schedule->GetSelectedPeriod()) != periods.end()
             ? schedule->GetSelectedPeriod()
             : nullptr;
}

void ScheduleEditorPanel::ShowPeriodTimes() {
  const hc::PeriodRef period = PeriodInRow();
  ScheduleFields fields = host_.Fields();
  fields.periodStart =
      period ? QString::fromStdU16String(hc::MinutesToTimeText(period->m_StartMinute)) : QString();
  fields.periodStop =
      period ? QString::fromStdU16String(hc::MinutesToTimeText(period->m_StopMinute)) : QString();
  host_.SetFields(fields);
  ShowFields();
}

void ScheduleEditorPanel::ShowFields() {
  const ScheduleFields& fields = host_.Fields();
  for (auto [edit, text] :
       {std::pair{periodStart_, fields.periodStart}, std::pair{periodStop_, fields.periodStop},
        std::pair{time_, fields.timeUnderPointer}}) {
    if (edit->text() == text) continue;
    edit->setText(text);
    MarkRefused(edit, {});  // the schedule's own time
  }
  // A period that left its row (inverted, pasted over, deleted) takes nothing typed.
  const bool periodSelected = PeriodInRow() != nullptr;
  periodStart_->setEnabled(periodSelected);
  periodStop_->setEnabled(periodSelected);
}

void ScheduleEditorPanel::ShowGroups() {
  const QString label = Schedule() ? GroupLabel(GroupState::Of(*Schedule())) : QString();
  group_->setText(label.isEmpty() ? tr("no days grouped") : label);
  surface_->update();
}

void ScheduleEditorPanel::DrawOverlay(QPainter& painter) {
  const hc::cTimeSchedule* schedule = Schedule();
  if (schedule == nullptr) return;
  const QtPaintSurface& surface = surface_->Surface();
  const auto area = [&surface](double x, double y, double width, double height) {
    return surface.ToWidget(QRectF(x, y, width, height));
  };
  const int selected = schedule->GetSelectedDayType();
  if (selected >= 0 && schedule->GetActive(selected)) {
    QColor mark = palette().color(QPalette::Highlight);
    mark.setAlpha(kRowMarkAlpha);
    painter.fillRect(
        area(0, schedule->GetAxisRow(selected) * kRowHeight, kAxisLeft - 1, kRowHeight - 1), mark);
  }
  int first = -1;
  int last = -1;
  const QColor bracket = palette().color(QPalette::Text);
  for (int d = 0; d < hc::kDayTypeCount; ++d) {
    if (!schedule->GetActive(d) || !schedule->GetGrouped(d)) continue;
    const int row = schedule->GetAxisRow(d);
    if (first < 0) first = row;
    last = row;
    painter.fillRect(area(kBracketLeft, RowMiddle(row), kBracketRight - kBracketLeft, 1), bracket);
  }
  if (first >= 0) {
    painter.fillRect(area(kBracketRight, first * kRowHeight + kBarTop, 1,
                          (last - first) * kRowHeight + kBarHeight),
                     bracket);
  }
}

void ScheduleEditorPanel::ShowPopupState() {
  const SchedulePopup& popup = host_.Popup();
  popupActions_[kPaste]->setEnabled(popup.pasteEnabled);
  popupActions_[kDelete]->setEnabled(popup.deleteEnabled);
  popupActions_[kGroup]->setChecked(popup.groupedChecked);
  popupActions_[kGroupMonFri]->setChecked(popup.groupedMonFriChecked);
}

void ScheduleEditorPanel::ShowLayout() {
  const ScheduleLayout& layout = host_.Layout();
  const double scale = surface_->Surface().Scale();
  const QSize size(static_cast<int>(layout.pictureWidth), layout.pictureHeight);
  if (!size.isEmpty() && size != surface_->Surface().Size()) surface_->Surface().Resize(size);
  // The rows that do not fit the frame are reached by scrolling; the schedule's maximum
  // counts the seven rows of a frame at scale 1.
  const int hidden = std::max(surface_->height() - ViewportHeight(), 0);
  const int steps = static_cast<int>(std::ceil(hidden / ScrollStep() - 1e-9));
  {
    const QSignalBlocker block(scroll_);
    scroll_->setGeometry(static_cast<int>(std::lround(layout.scrollLeft * scale)), 0,
                         scroll_->sizeHint().width(),
                         static_cast<int>(std::lround(layout.scrollHeight * scale)));
    scroll_->setRange(0, steps);
    scroll_->setValue(layout.scrollTop);
    scroll_->setEnabled(steps > 0);
  }
  surface_->move(
      static_cast<int>(std::lround(layout.pictureLeft * scale)),
      static_cast<int>(std::lround(layout.pictureTop * scale - scroll_->value() * ScrollStep())));
}

}  // namespace ConfigEditor
