#include "config-editor/CalendarPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "common/Halvane_Common_Procedures.h"
#include "config-editor/DayTypeImages.h"
#include "config-editor/EditorHost.h"
#include "config-editor/FittedFrame.h"
#include "config-editor/ProgramTexts.h"
#include "config-editor/Workspace.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

namespace {

// The month grid: 7 columns of 40 from x = 30, 6 rows of 25 from y = 20.
constexpr double kGridLeft = 30;
constexpr double kGridTop = 20;
constexpr int kColumnWidth = 40;
constexpr int kRowHeight = 25;
constexpr int kColumns = 7;
// An image of a day type ends where a date box's short names end, 8 units right of
// where the calendar asks for it: it stays inside its 37-unit box.
constexpr double kImageShift = -8;

int MonthIndex(int year, int month) {
  return year * 12 + month - 1;
}

}  // namespace

CalendarPanel::CalendarPanel(EditorHost& host, CalendarDocument& document, QWidget* parent)
    : QWidget(parent), host_(host), document_(document) {
  fitted_ = new FittedFrame(kPictureUnits, QSize());
  QFrame& frame = fitted_->Frame();
  auto* frameLayout = new QVBoxLayout(&frame);
  frameLayout->setContentsMargins(frame.frameWidth(), frame.frameWidth(), frame.frameWidth(),
                                  frame.frameWidth());
  surface_ = new SurfaceWidget;
  surface_->setObjectName(QStringLiteral("Picture_Calendar"));
  surface_->setAccessibleName(tr("Calendar"));
  surface_->Surface().SetImageOffset(QPointF(kImageShift, 0));
  surface_->Surface().Resize(kPictureUnits);
  frameLayout->addWidget(surface_, 0, Qt::AlignLeft | Qt::AlignTop);
  host_.AttachSurface(surface_->Surface());

  title_ = new QLabel;
  title_->setObjectName(QStringLiteral("Text_Calendar_Month"));
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
  title_->setFont(titleFont);
  connect(&host_, &EditorHost::CalendarMonthChanged, this,
          [this] { title_->setText(host_.CalendarMonth()); });

  showPeriods_ = new QCheckBox(tr("Show on-d&uty periods"));
  showPeriods_->setObjectName(QStringLiteral("Check_Calendar_ViewTimeAxis"));
  connect(showPeriods_, &QCheckBox::toggled, this, [this](bool checked) {
    if (!profile_) return;
    profile_->m_Calendar_ViewTimeAxis = checked ? 1 : 0;
    document_.Calendar().m_ShowTimeAxis = checked;
    Repaint();
    emit Edited();
  });

  file_ = new QLabel;
  file_->setObjectName(QStringLiteral("Label_CalendarFile"));
  file_->setWordWrap(true);
  file_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  // The day-type list follows the month's right edge, at whatever scale it is drawn.
  fitted_->SetSide(CreateDayTypeList());
  connect(fitted_, &FittedFrame::Fitted, this, [this] {
    if (surface_->Surface().Scale() == fitted_->Scale()) return;
    surface_->Surface().SetScale(fitted_->Scale());
    Repaint();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CreateNavigation());
  layout->addWidget(title_);
  layout->addWidget(fitted_, 1);
  layout->addWidget(showPeriods_);
  layout->addWidget(file_);

  connect(surface_, &SurfaceWidget::MousePressed, this, &CalendarPanel::OnPressed);
  connect(surface_, &SurfaceWidget::MouseMoved, this, [this](const SurfaceMouse& mouse) {
    Run([&](hc::cCalendar& calendar) {
      calendar.MouseMove(host_, surface_->Surface(), mouse.button, mouse.shift, mouse.position.x(),
                         mouse.position.y());
    });
  });
  connect(surface_, &SurfaceWidget::MouseReleased, this, &CalendarPanel::OnReleased);
  surface_->SetKeyHandler([this](const QKeyEvent& key) { return OnKey(key); });

  const QDate today = QDate::currentDate();
  SetProfile(nullptr);
  ShowMonth(today.year(), today.month());
  Reload();
}

CalendarPanel::~CalendarPanel() {
  host_.DetachSurface(surface_->Surface());
}

void CalendarPanel::OnPressed(const SurfaceMouse& mouse) {
  if (!document_.Readable() || readOnly_) return;
  Run([&](hc::cCalendar& calendar) {
    calendar.MouseDown(host_, surface_->Surface(), mouse.button, mouse.shift, mouse.position.x(),
                       mouse.position.y());
  });
  const int day = document_.Calendar().DateFromPoint(mouse.position.x(), mouse.position.y());
  if (day >= 0) SetKeyDay(day);
}

void CalendarPanel::OnReleased(const SurfaceMouse& mouse) {
  Run([&](hc::cCalendar& calendar) {
    calendar.MouseUp(host_, surface_->Surface(), mouse.button, mouse.shift, mouse.position.x(),
                     mouse.position.y());
  });
  emit Edited();
}

QWidget* CalendarPanel::CreateNavigation() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  previous_ = new QPushButton(tr("Pre&vious"));
  previous_->setObjectName(QStringLiteral("Command_Calendar_Previous"));
  previous_->setToolTip(tr("The month before (Page Up on the calendar)"));
  next_ = new QPushButton(tr("&Next"));
  next_->setObjectName(QStringLiteral("Command_Calendar_Next"));
  next_->setToolTip(tr("The month after (Page Down on the calendar)"));
  month_ = new QComboBox;
  month_->setObjectName(QStringLiteral("Combo_Calendar_Month"));
  for (int m = 1; m <= 12; ++m)
    month_->addItem(QLocale().standaloneMonthName(m));
  year_ = new QSpinBox;
  year_->setObjectName(QStringLiteral("Spin_Calendar_Year"));
  year_->setRange(kFirstYear, kLastYear);
  auto* today = new QPushButton(tr("&Today"));
  today->setObjectName(QStringLiteral("Command_Calendar_Today"));

  auto* monthLabel = new QLabel(tr("&Month:"));
  monthLabel->setBuddy(month_);
  layout->addWidget(previous_);
  layout->addWidget(monthLabel);
  layout->addWidget(month_);
  layout->addWidget(year_);
  layout->addWidget(next_);
  layout->addWidget(today);
  layout->addStretch();

  const auto shown = [this]() -> const hc::cCalendar& { return document_.Calendar(); };
  connect(previous_, &QPushButton::clicked, this,
          [this, shown] { ShowMonth(shown().m_SelectedYear, shown().m_SelectedMonth - 1); });
  connect(next_, &QPushButton::clicked, this,
          [this, shown] { ShowMonth(shown().m_SelectedYear, shown().m_SelectedMonth + 1); });
  connect(month_, &QComboBox::activated, this,
          [this, shown](int index) { ShowMonth(shown().m_SelectedYear, index + 1); });
  connect(year_, &QSpinBox::valueChanged, this,
          [this, shown](int year) { ShowMonth(year, shown().m_SelectedMonth); });
  connect(today, &QPushButton::clicked, this, [this] {
    const QDate date = QDate::currentDate();
    ShowMonth(date.year(), date.month());
  });
  return row;
}

QWidget* CalendarPanel::CreateDayTypeList() {
  auto* column = new QWidget;
  column->setMaximumWidth(300);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  dayTypes_ = new QListWidget;
  dayTypes_->setObjectName(QStringLiteral("Combo_Calendar_DayType"));
  QStringList items;
  for (int value = 0; value < kDayTypeItems; ++value) {
    items << DayTypeItemText(value);
    auto* item = new QListWidgetItem(items.back(), dayTypes_);
    const int image = value - hc::kWeekDayTypes;
    if (image >= 1) item->setIcon(DayTypeImages::Icon(image));
  }
  host_.SetDayTypeItems(items);
  connect(dayTypes_, &QListWidget::currentRowChanged, this,
          [this](int row) { host_.SetSelectedDayTypeItem(row + 1); });
  auto* label = new QLabel(tr("&Day type to paint:"));
  label->setBuddy(dayTypes_);
  auto* hint = new QLabel(tr("Choose a day type, then press and drag over the dates that get it."));
  hint->setWordWrap(true);
  hint->setForegroundRole(QPalette::PlaceholderText);
  layout->addWidget(label);
  layout->addWidget(dayTypes_, 1);
  layout->addWidget(hint);
  return column;
}

template <typename Operation>
void CalendarPanel::Run(Operation operation) {
  try {
    operation(document_.Calendar());
  } catch (const std::exception& e) {
    hcp::LogMessage(
        tr("The calendar stopped: %1").arg(QString::fromUtf8(e.what())).toStdU16String());
  }
}

void CalendarPanel::SetProfile(std::shared_ptr<hc::cProfile> profile) {
  profile_ = std::move(profile);
  hc::cCalendar& calendar = document_.Calendar();
  calendar.m_AssociatedTimeSchedule = profile_ ? profile_->m_TimeSchedule.get() : nullptr;
  calendar.m_ShowTimeAxis = profile_ && profile_->m_Calendar_ViewTimeAxis != 0;
  {
    const QSignalBlocker block(showPeriods_);
    showPeriods_->setChecked(calendar.m_ShowTimeAxis);
  }
  showPeriods_->setEnabled(profile_ != nullptr && !readOnly_);
  showPeriods_->setText(profile_ ? tr("Show on-d&uty periods of profile \"%1\"")
                                       .arg(QString::fromStdU16String(profile_->GetName()))
                                 : tr("Show on-d&uty periods (select a profile first)"));
  Repaint();
}

void CalendarPanel::ShowMonth(int year, int month) {
  const int index =
      std::clamp(MonthIndex(year, month), MonthIndex(kFirstYear, 1), MonthIndex(kLastYear, 12));
  hc::cCalendar& calendar = document_.Calendar();
  calendar.m_SelectedYear = index / 12;
  calendar.m_SelectedMonth = index % 12 + 1;
  calendar.RecalculateAndPrepareToPaint();
  keyDay_ = std::min(keyDay_, calendar.m_DaysInActualMonth - 1);
  ShowNavigation();
  Repaint();
}

void CalendarPanel::ShowNavigation() {
  const hc::cCalendar& calendar = document_.Calendar();
  const int index = MonthIndex(calendar.m_SelectedYear, calendar.m_SelectedMonth);
  const QSignalBlocker blockMonth(month_);
  const QSignalBlocker blockYear(year_);
  month_->setCurrentIndex(calendar.m_SelectedMonth - 1);
  year_->setValue(calendar.m_SelectedYear);
  previous_->setEnabled(index > MonthIndex(kFirstYear, 1));
  next_->setEnabled(index < MonthIndex(kLastYear, 12));
}

void CalendarPanel::Reload() {
  ShowFileState();
  // The list and the calendar's options outlive a new reading of the file.
  SetProfile(profile_);
}

void CalendarPanel::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  ShowFileState();
  SetProfile(profile_);
}

void CalendarPanel::ShowFileState() {
  const bool readable = document_.Readable();
  dayTypes_->setEnabled(readable && !readOnly_);
  QString text = readable ? tr("Calendar file: %1").arg(document_.Path())
                          : tr("The calendar file %1 could not be read (%2). It is shown empty "
                               "and will not be saved over.")
                                .arg(document_.Path(), document_.Problem());
  if (document_.Disk() == DiskState::Changed) {
    text += u'\n' + tr("Another program changed the file since it was read here; saving asks "
                       "what to do.");
  }
  if (document_.Disk() == DiskState::Removed) {
    text += u'\n' + tr("Another program removed the file since it was read here; saving asks "
                       "what to do.");
  }
  if (file_->text() != text) file_->setText(text);
}

void CalendarPanel::Repaint() {
  QtPaintSurface& surface = surface_->Surface();
  surface.Clear();
  Run([&](hc::cCalendar& calendar) { calendar.Paint(host_, surface); });
  SetKeyDay(keyDay_);
}

void CalendarPanel::SetKeyDay(int day) {
  const hc::cCalendar& calendar = document_.Calendar();
  keyDay_ = std::clamp(day, 0, calendar.m_DaysInActualMonth - 1);
  const int cell = calendar.m_FirstWeekDayInActualMonth + keyDay_;
  surface_->SetFocusMark(QRect(static_cast<int>(kGridLeft) + cell % kColumns * kColumnWidth + 1,
                               static_cast<int>(kGridTop) + cell / kColumns * kRowHeight + 1,
                               kColumnWidth - 1, kRowHeight - 1));
}

bool CalendarPanel::OnKey(const QKeyEvent& key) {
  const hc::cCalendar& calendar = document_.Calendar();
  switch (key.key()) {
    case Qt::Key_Left:
      SetKeyDay(keyDay_ - 1);
      return true;
    case Qt::Key_Right:
      SetKeyDay(keyDay_ + 1);
      return true;
    case Qt::Key_Up:
      SetKeyDay(keyDay_ - kColumns);
      return true;
    case Qt::Key_Down:
      SetKeyDay(keyDay_ + kColumns);
      return true;
    case Qt::Key_PageUp:
      ShowMonth(calendar.m_SelectedYear, calendar.m_SelectedMonth - 1);
      return true;
    case Qt::Key_PageDown:
      ShowMonth(calendar.m_SelectedYear, calendar.m_SelectedMonth + 1);
      return true;
    case Qt::Key_Space: {
      const int cell = calendar.m_FirstWeekDayInActualMonth + keyDay_;
      const QPointF middle(kGridLeft + cell % kColumns * kColumnWidth + kColumnWidth / 2.0,
                           kGridTop + cell / kColumns * kRowHeight + kRowHeight / 2.0);
      OnPressed({hc::kLeftButton, 0, middle});
      OnReleased({hc::kLeftButton, 0, middle});
      return true;
    }
    default:
      return false;
  }
}

}  // namespace ConfigEditor
