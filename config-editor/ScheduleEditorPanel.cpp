#include "config-editor/ScheduleEditorPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>

#include "common/Halvane_Common_Procedures.h"
#include "config-editor/DayTypeImages.h"
#include "config-editor/EditorHost.h"
#include "config-editor/FieldForm.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

namespace {

// The editor's geometry: minute m at x = 30 + m / 5, row r from y = r * 25.
constexpr int kRowHeight = 25;
constexpr double kAxisLeft = 30;
constexpr double kMinutesPerPixel = 5;
constexpr int kScrollStepsPerRow = 4;
constexpr int kNoon = 720;

double MinuteX(int minute) {
  return kAxisLeft + minute / kMinutesPerPixel;
}

double RowMiddle(int row) {
  return row * kRowHeight + 11;
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
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(CreateFrame(), 0, Qt::AlignTop);
  layout->addWidget(CreateFields(), 1, Qt::AlignTop);
  CreatePopupMenu();

  host_.AttachSurface(surface_->Surface());
  ScheduleLayout frame = host_.Layout();
  frame.frame = QSizeF(kFrameWidth, kFrameHeight);
  frame.scrollWidth = scroll_->sizeHint().width();
  host_.SetLayout(frame);

  connect(&host_, &EditorHost::FieldsChanged, this, &ScheduleEditorPanel::ShowFields);
  connect(&host_, &EditorHost::PopupChanged, this, &ScheduleEditorPanel::ShowPopupState);
  connect(&host_, &EditorHost::LayoutChanged, this, &ScheduleEditorPanel::ShowLayout);
  connect(surface_, &SurfaceWidget::MousePressed, this, &ScheduleEditorPanel::OnPressed);
  connect(surface_, &SurfaceWidget::MouseMoved, this, &ScheduleEditorPanel::OnMoved);
  connect(surface_, &SurfaceWidget::MouseReleased, this, &ScheduleEditorPanel::OnReleased);
  surface_->SetKeyHandler([this](const QKeyEvent& key) { return OnKey(key); });
  SetProfile(nullptr);
}

ScheduleEditorPanel::~ScheduleEditorPanel() {
  host_.DetachSurface(surface_->Surface());
}

QWidget* ScheduleEditorPanel::CreateFrame() {
  auto* frame = new QFrame;
  frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  auto* inner = new QVBoxLayout(frame);
  inner->setContentsMargins(frame->frameWidth(), frame->frameWidth(), frame->frameWidth(),
                            frame->frameWidth());
  viewport_ = new QWidget;
  viewport_->setObjectName(QStringLiteral("Picture_TimeSchedule_Frame"));
  viewport_->setFixedSize(kFrameWidth, kFrameHeight);
  inner->addWidget(viewport_);

  surface_ = new SurfaceWidget(viewport_);
  surface_->setObjectName(QStringLiteral("Picture_TimeSchedule"));
  surface_->setAccessibleName(tr("Weekly schedule"));
  scroll_ = new QScrollBar(Qt::Vertical, viewport_);
  scroll_->setObjectName(QStringLiteral("VScroll_Schedule"));
  scroll_->setSingleStep(1);
  scroll_->setPageStep(kScrollStepsPerRow * 7);
  connect(scroll_, &QScrollBar::valueChanged, this, [this](int value) {
    ScheduleLayout layout = host_.Layout();
    layout.scrollTop = value;
    // A step of the scroll bar is a quarter of a row.
    layout.pictureTop =
        -static_cast<int>(std::lround(value * kRowHeight / double(kScrollStepsPerRow)));
    host_.SetLayout(layout);
  });
  return frame;
}

QWidget* ScheduleEditorPanel::CreateFields() {
  auto* fields = new QWidget;
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

  auto* hint = new QLabel(
      tr("Drag along a day to draw a period, drag a period's end to move it; the right "
         "button opens the menu. Type a time and press Enter to set the selected period."));
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

void ScheduleEditorPanel::ApplyTypedTimes() {
  bool times = true;
  for (QLineEdit* edit : {periodStart_, periodStop_}) {
    const QString problem = TimeTextProblem(edit->text());
    MarkRefused(edit, problem);
    times = times && problem.isEmpty();
  }
  if (!times) return;
  Run([this](hc::cTimeSchedule& schedule) {
    schedule.ExtractTimeFromTextboxes(host_, surface_->Surface());
  });
  emit Edited();
}

void ScheduleEditorPanel::RunPopupItem(PopupItem item) {
  hc::PaintSurface& surface = surface_->Surface();
  Run([&](hc::cTimeSchedule& schedule) {
    switch (item) {
      case kCopy:
        schedule.Copy();
        break;
      case kPaste:
        schedule.Paste(host_, surface);
        break;
      case kDelete:
        schedule.Delete(host_, surface);
        break;
      case kWholeDay:
        schedule.SetTimeFrom00to24(host_, surface);
        break;
      case kInvert:
        schedule.InvertTimeSchedule(host_, surface);
        break;
      case kGroup:
        schedule.Group(host_, surface);
        break;
      case kGroupMonFri:
        schedule.GroupMonFri(host_, surface);
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
    emit Edited();
  }
}

void ScheduleEditorPanel::OnPressed(const SurfaceMouse& mouse) {
  const int prepared = host_.PopupPreparations();
  Run([&](hc::cTimeSchedule& schedule) {
    schedule.MouseDown(host_, surface_->Surface(), mouse.button, mouse.shift, mouse.position.x(),
                       mouse.position.y());
  });
  if (Schedule() && Schedule()->GetSelectedDayType() >= 0) {
    SetKeyRow(Schedule()->GetAxisRow(Schedule()->GetSelectedDayType()));
  }
  ShowFields();
  if (mouse.button == hc::kRightButton && host_.PopupPreparations() != prepared) {
    OpenPopupMenu(surface_->mapToGlobal(mouse.position.toPoint()));
  }
}

void ScheduleEditorPanel::OnMoved(const SurfaceMouse& mouse) {
  Run([&](hc::cTimeSchedule& schedule) {
    schedule.MouseMove(host_, surface_->Surface(), mouse.button, mouse.shift, mouse.position.x(),
                       mouse.position.y());
  });
}

void ScheduleEditorPanel::OnReleased(const SurfaceMouse& mouse) {
  const bool dragging =
      Schedule() && Schedule()->GetDragMode() != hc::cTimeSchedule::DragMode::Idle;
  Run([&](hc::cTimeSchedule& schedule) {
    schedule.MouseUp(host_, surface_->Surface(), mouse.button, mouse.shift, mouse.position.x(),
                     mouse.position.y());
  });
  ShowFields();
  if (dragging) emit Edited();
}

void ScheduleEditorPanel::OpenPopupMenu(QPoint at) {
  ShowPopupState();
  popup_->popup(at);
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

void ScheduleEditorPanel::SetKeyRow(int row) {
  const hc::cTimeSchedule* schedule = Schedule();
  const int rows = schedule ? schedule->m_NumberOfAxisToPaint : 0;
  keyRow_ = std::clamp(row, 0, std::max(rows - 1, 0));
  surface_->SetFocusMark(rows > 0 ? QRect(1, keyRow_ * kRowHeight + 1,
                                          surface_->Surface().Size().width() - 2, kRowHeight - 2)
                                  : QRect());
  // Scroll the row into view.
  const int top = keyRow_ * kScrollStepsPerRow;
  const int visibleSteps = (kFrameHeight / kRowHeight - 1) * kScrollStepsPerRow;
  if (top < scroll_->value()) scroll_->setValue(top);
  if (top > scroll_->value() + visibleSteps) scroll_->setValue(top - visibleSteps);
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

void ScheduleEditorPanel::Repaint() {
  QtPaintSurface& surface = surface_->Surface();
  hc::cTimeSchedule* schedule = Schedule();
  if (schedule == nullptr) {
    surface.Resize(QSize(kFrameWidth, kFrameHeight));
    SetKeyRow(0);
    return;
  }
  Run([&](hc::cTimeSchedule& edited) {
    hc::PaintSurface* hostSurface = &surface;
    edited.RecalculateAndPrepareToPaint(host_, hostSurface, &surface);
    surface.Clear();
    edited.Paint(host_, &surface);
  });
  SetKeyRow(keyRow_);
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
  const bool periodSelected = Schedule() && Schedule()->GetSelectedPeriod();
  periodStart_->setEnabled(periodSelected);
  periodStop_->setEnabled(periodSelected);
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
  {
    const QSignalBlocker block(scroll_);
    scroll_->setGeometry(static_cast<int>(layout.scrollLeft), 0,
                         static_cast<int>(layout.scrollWidth),
                         static_cast<int>(layout.scrollHeight));
    scroll_->setRange(0, layout.scrollMax);
    scroll_->setValue(layout.scrollTop);
    scroll_->setEnabled(layout.scrollMax > 0);
  }
  const QSize size(static_cast<int>(layout.pictureWidth), layout.pictureHeight);
  if (!size.isEmpty() && size != surface_->Surface().Size()) surface_->Surface().Resize(size);
  surface_->move(layout.pictureLeft, layout.pictureTop);
}

}  // namespace ConfigEditor
