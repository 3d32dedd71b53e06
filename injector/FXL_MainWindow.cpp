#include "injector/FXL_MainWindow.h"

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
#include <QVBoxLayout>

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

}  // namespace

FXL_MainWindow::FXL_MainWindow(FXL_Main& form, QWidget* parent) : QWidget(parent), form_(form) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(CreateEventButtons());
  layout->addWidget(CreateTimeStamp());
  layout->addWidget(CreateInformationFields());
  layout->addWidget(CreateConnectionMethod());
  layout->addWidget(CreateStatusAndSettings());
  layout->addWidget(CreateAutomaticAlarms());
  layout->addStretch();

  setWindowTitle(form_.Caption());
  connect(&form_, &FXL_Main::CaptionChanged, this, [this] { setWindowTitle(form_.Caption()); });
  connect(&form_, &FXL_Main::Unloaded, this, [this] {
    closing_ = true;
    close();
  });
}

void FXL_MainWindow::closeEvent(QCloseEvent* event) {
  if (!closing_) {
    closing_ = true;
    form_.Form_Unload();
  }
  event->accept();
}

QLineEdit* FXL_MainWindow::Bind(TextControl& control) {
  auto* edit = new QLineEdit(control.Text());
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
  row->addWidget(Bind(form_.Text_Date));
  row->addWidget(RightAligned(QStringLiteral("Time:")));
  row->addWidget(Bind(form_.Text_Time));
  row->addWidget(Bind(form_.Check_SetDateAndTime, QStringLiteral("Auto")));

  auto* hint = new QLabel(QStringLiteral(
      "(If you leave above fields empty, Halvane will automatically use the actual time)"));
  hint->setAlignment(Qt::AlignCenter);
  hint->setForegroundRole(QPalette::PlaceholderText);

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
    options_[i] = new QRadioButton;
    grid->addWidget(options_[i], i, 0);
    connect(options_[i], &QRadioButton::clicked, &form_.Option_ConnectionType,
            [this, i] { form_.Option_ConnectionType.Select(i); });
  }
  systemLabel_ = RightAligned(QStringLiteral("System:"));
  systems_ = new QComboBox;
  systems_->setObjectName(form_.Combo_Systems.objectName());
  systems_->setEditable(true);
  systems_->setInsertPolicy(QComboBox::NoInsert);
  systems_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
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
    options_[i]->setText(options.Caption(i));
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
  }
  if (systems_->currentIndex() != combo.ListIndex()) systems_->setCurrentIndex(combo.ListIndex());
  if (systems_->currentText() != combo.Text()) systems_->setEditText(combo.Text());
  systems_->setToolTip(combo.ToolTip());
  systems_->setVisible(combo.Visible());
  systemLabel_->setVisible(form_.Label_System.Visible());
}

QWidget* FXL_MainWindow::CreateStatusAndSettings() {
  auto* grid = new QGridLayout;
  QLineEdit* status = Bind(form_.Text_Connect);
  status->setReadOnly(true);
  grid->addWidget(RightAligned(QStringLiteral("Halvane TCP Connect Status:")), 0, 0);
  grid->addWidget(status, 0, 1);
  grid->addWidget(Bind(form_.Check_Stream, QStringLiteral("Stream random events")), 0, 2);
  grid->addWidget(RightAligned(QStringLiteral("Number of events to send:")), 1, 0);
  grid->addWidget(Bind(form_.Text_NumberOfEvents), 1, 1);
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
