#include "injector/FXL_MainWindow.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "injector/ElidedText.h"
#include "injector/FXL_Main.h"

namespace {

QGroupBox* Group(const QString& title, QLayout* layout) {
  auto* group = new QGroupBox(title);
  group->setLayout(layout);
  return group;
}

QLabel* RightAligned(const QString& text) {
  auto* label = new QLabel(text);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

// A field for short texts: it asks for the width of its sample text, and grows with the
// window like any field.
class ShortField : public QLineEdit {
 public:
  explicit ShortField(const QString& sample) : sample_(sample) {}

  QSize sizeHint() const override {
    QSize hint = QLineEdit::sizeHint();
    // A plain field asks for 17 "x"; the frame and margins around them stay.
    const int frame = hint.width() - fontMetrics().horizontalAdvance(QLatin1Char('x')) * 17;
    hint.setWidth(frame + fontMetrics().horizontalAdvance(sample_));
    return hint;
  }
  QSize minimumSizeHint() const override { return sizeHint(); }

 private:
  QString sample_;
};

// Asks for room for all of its contents (a plain scroll area asks for a fixed share of the
// font size), so that the window shows every group when the screen has room.
class GroupsScrollArea : public QScrollArea {
 public:
  QSize sizeHint() const override {
    const int frame = 2 * frameWidth();
    return widget()->sizeHint() + QSize(frame, frame);
  }
};

}  // namespace

FXL_MainWindow::FXL_MainWindow(FXL_Main& form, QWidget* parent) : QWidget(parent), form_(form) {
  // The six groups in two columns of three, read from top to bottom and left to right, so
  // that the window fits a small or strongly scaled screen; smaller still, they scroll.
  auto* groups = new QWidget;
  auto* columns = new QHBoxLayout(groups);
  columns->setContentsMargins({});
  auto* left = new QVBoxLayout;
  left->addWidget(CreateEventButtons());
  left->addWidget(CreateTimeStamp());
  left->addWidget(CreateInformationFields());
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(CreateConnectionMethod());
  right->addWidget(CreateStatusAndSettings());
  right->addWidget(CreateAutomaticAlarms());
  right->addStretch();
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);

  auto* scroll = new GroupsScrollArea;
  scroll->setWidget(groups);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll, 1);
  layout->addWidget(CreateStatusLine());

  setWindowTitle(form_.Caption());
  connect(&form_, &FXL_Main::CaptionChanged, this, [this] { setWindowTitle(form_.Caption()); });
  connect(&form_, &FXL_Main::Unloaded, this, [this] {
    closing_ = true;
    close();
  });
  form_.SetBurstFeedback(&progress_);
  FitScreen();
}

FXL_MainWindow::~FXL_MainWindow() {
  form_.SetBurstFeedback(nullptr);
}

void FXL_MainWindow::FitScreen() {
  const QSize available = screen()->availableGeometry().size();
  // Room for the frame and title bar that the window manager adds.
  const QSize frame(16, 48);
  resize(sizeHint().boundedTo(available - frame));
}

void FXL_MainWindow::closeEvent(QCloseEvent* event) {
  if (closing_ || form_.Form_QueryUnload()) {
    closing_ = true;
    event->accept();
    return;
  }
  // A burst is running: it is cancelled, and the window closes when it has stopped.
  event->ignore();
}

QLineEdit* FXL_MainWindow::Bind(TextControl& control, const QString& sample) {
  QLineEdit* edit = sample.isEmpty() ? new QLineEdit : new ShortField(sample);
  edit->setObjectName(control.objectName());
  auto show = [edit, &control] {
    if (edit->text() != control.Text()) edit->setText(control.Text());
    edit->setEnabled(control.Enabled());
  };
  show();
  connect(&control, &TextControl::Changed, edit, show);
  connect(edit, &QLineEdit::textEdited, &control, &TextControl::SetText);
  return edit;
}

QCheckBox* FXL_MainWindow::Bind(CheckControl& control, const QString& caption) {
  auto* box = new QCheckBox(caption);
  box->setObjectName(control.objectName());
  auto show = [box, &control] {
    const auto state = control.Value() == 2 ? Qt::PartiallyChecked
                                            : (control.Value() ? Qt::Checked : Qt::Unchecked);
    if (box->checkState() != state) box->setCheckState(state);
  };
  show();
  connect(&control, &CheckControl::Changed, box, show);
  connect(box, &QCheckBox::clicked, &control, [box, &control](bool checked) {
    box->setTristate(false);
    control.SetValue(checked ? 1 : 0);
  });
  return box;
}

QWidget* FXL_MainWindow::CreateEventButtons() {
  auto* row = new QHBoxLayout;
  const QString captions[] = {QStringLiteral("Inactive"), QStringLiteral("Active"),
                              QStringLiteral("Acked"), QStringLiteral("Message")};
  for (std::int16_t index = 0; index < 4; ++index) {
    auto* button = new QPushButton(captions[index]);
    connect(button, &QPushButton::clicked, &form_,
            [this, index] { form_.Command_Alarm_Click(index); });
    row->addWidget(button);
  }
  return Group(QStringLiteral("&Send event of type:"), row);
}

QWidget* FXL_MainWindow::CreateTimeStamp() {
  auto* row = new QHBoxLayout;
  row->addWidget(RightAligned(QStringLiteral("Date:")));
  const QString stamp = QStringLiteral("0000-00-00");
  row->addWidget(Bind(form_.Text_Date, stamp));
  row->addWidget(RightAligned(QStringLiteral("Time:")));
  row->addWidget(Bind(form_.Text_Time, stamp));
  row->addWidget(Bind(form_.Check_SetDateAndTime, QStringLiteral("Auto")));

  auto* hint = new QLabel(QStringLiteral(
      "(If you leave above fields empty, Halvane will automatically use the actual time)"));
  hint->setAlignment(Qt::AlignCenter);
  hint->setForegroundRole(QPalette::PlaceholderText);
  hint->setWordWrap(true);

  auto* column = new QVBoxLayout;
  column->addLayout(row);
  column->addWidget(hint);
  return Group(QStringLiteral("&Time stamp"), column);
}

QWidget* FXL_MainWindow::CreateInformationFields() {
  auto* form = new QFormLayout;
  form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
  const QString labels[] = {QStringLiteral("Tag:"),
                            QStringLiteral("Area:"),
                            QStringLiteral("Category:"),
                            QStringLiteral("Name (or receiver name):"),
                            QStringLiteral("Description (or message):"),
                            QStringLiteral("Status:")};
  for (int i = 0; i < FXL_Main::kFieldCount; ++i) {
    form->addRow(labels[i], Bind(form_.Text_Field[i]));
  }
  return Group(QStringLiteral("&Information fields"), form);
}

QWidget* FXL_MainWindow::CreateConnectionMethod() {
  auto* grid = new QGridLayout;
  for (int i = 0; i < OptionControlArray::kCount; ++i) {
    options_[i] = new ElidedRadioButton(Qt::ElideMiddle, 56, 20);
    // The file option's caption, which carries the program folder, may use the whole row.
    grid->addWidget(options_[i], i, 0, 1, i == 2 ? 3 : 1);
    connect(options_[i], &QRadioButton::clicked, &form_.Option_ConnectionType,
            [this, i] { form_.Option_ConnectionType.Select(i); });
  }
  systemLabel_ = RightAligned(QStringLiteral("System:"));
  systems_ = new QComboBox;
  systems_->setObjectName(form_.Combo_Systems.objectName());
  systems_->setEditable(true);
  systems_->setInsertPolicy(QComboBox::NoInsert);
  // Narrower than the longest system name; the open list shows names in full.
  systems_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  systems_->setMinimumContentsLength(16);
  for (QWidget* w : {static_cast<QWidget*>(systemLabel_), static_cast<QWidget*>(systems_)}) {
    QSizePolicy policy = w->sizePolicy();
    policy.setRetainSizeWhenHidden(true);  // choosing a method must not make the window jump
    w->setSizePolicy(policy);
  }
  grid->addWidget(systemLabel_, 0, 1);
  grid->addWidget(systems_, 0, 2);
  grid->setColumnStretch(0, 1);

  ShowOptions();
  ShowSystems();
  connect(&form_.Option_ConnectionType, &OptionControlArray::Changed, this,
          &FXL_MainWindow::ShowOptions);
  connect(&form_.Combo_Systems, &ComboControl::Changed, this, &FXL_MainWindow::ShowSystems);
  connect(&form_.Label_System, &VisibilityControl::Changed, this, &FXL_MainWindow::ShowSystems);
  connect(systems_, &QComboBox::activated, &form_.Combo_Systems, &ComboControl::SetListIndex);
  connect(systems_->lineEdit(), &QLineEdit::textEdited, &form_.Combo_Systems,
          &ComboControl::SetText);
  return Group(QStringLiteral("&Connection method"), grid);
}

void FXL_MainWindow::ShowOptions() {
  const OptionControlArray& options = form_.Option_ConnectionType;
  for (int i = 0; i < OptionControlArray::kCount; ++i) {
    options_[i]->SetFullText(options.Caption(i));
    if (i == 0) {
      options_[i]->setToolTip(
          QStringLiteral("Fauxlarm listens on port 14000, and the alarm server connects to it.\n"
                         "Events go to the server connected at that moment; none while no "
                         "server is connected."));
    }
    options_[i]->setEnabled(options.Enabled(i));
    options_[i]->setChecked(options.Value(i));
  }
}

void FXL_MainWindow::ShowSystems() {
  const ComboControl& combo = form_.Combo_Systems;
  const QSignalBlocker blocker(systems_);
  if (systems_->count() != combo.ListCount()) {
    systems_->clear();
    for (int i = 0; i < combo.ListCount(); ++i) {
      systems_->addItem(combo.At(i).name, combo.At(i).itemData);
    }
    systems_->view()->setMinimumWidth(systems_->view()->sizeHintForColumn(0));
  }
  if (systems_->currentIndex() != combo.ListIndex()) systems_->setCurrentIndex(combo.ListIndex());
  if (systems_->currentText() != combo.Text()) systems_->setEditText(combo.Text());
  systems_->setToolTip(combo.ToolTip());
  systems_->setVisible(combo.Visible());
  systemLabel_->setVisible(form_.Label_System.Visible());
}

QWidget* FXL_MainWindow::CreateStatusAndSettings() {
  auto* grid = new QGridLayout;
  const QString longest = QStringLiteral("Not Connected");
  QLineEdit* status = Bind(form_.Text_Connect, longest);
  status->setReadOnly(true);
  grid->addWidget(RightAligned(QStringLiteral("Halvane TCP Connect Status:")), 0, 0);
  grid->addWidget(status, 0, 1);
  grid->addWidget(Bind(form_.Check_Stream, QStringLiteral("Stream random events")), 0, 2);
  grid->addWidget(RightAligned(QStringLiteral("Number of events to send:")), 1, 0);
  grid->addWidget(Bind(form_.Text_NumberOfEvents, longest), 1, 1);
  grid->setColumnStretch(3, 1);
  return Group(QStringLiteral("&Status and other settings"), grid);
}

QWidget* FXL_MainWindow::CreateAutomaticAlarms() {
  auto* row = new QHBoxLayout;
  row->addWidget(Bind(form_.Check_SendPeriodicAlarms, QStringLiteral("Send periodic alarms")));
  row->addStretch();
  row->addWidget(RightAligned(QStringLiteral("Interval:")));
  QLineEdit* interval = Bind(form_.Text_SendInterval);
  interval->setMaximumWidth(80);
  row->addWidget(interval);
  row->addWidget(new QLabel(QStringLiteral("seconds")));

  auto* column = new QVBoxLayout;
  column->addLayout(row);
  column->addWidget(Bind(form_.Check_AppendRandomNumbersToTag,
                         QStringLiteral("Append random hex numbers to Tag (_00..FF)")));
  return Group(QStringLiteral("&Automatic alarms"), column);
}

QWidget* FXL_MainWindow::CreateStatusLine() {
  auto* line = new ElidedLabel(Qt::ElideRight, 60, 0);
  line->setObjectName(form_.Label_SendStatus.objectName());
  auto show = [line, this] { line->SetFullText(form_.Label_SendStatus.Text()); };
  show();
  connect(&form_.Label_SendStatus, &SendStatus::Changed, line, show);
  return line;
}
