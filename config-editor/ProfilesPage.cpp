#include "config-editor/ProfilesPage.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/Halvane_Common_Procedures.h"
#include "config-editor/FieldForm.h"
#include "config-editor/ReceiverListField.h"
#include "config-editor/ScheduleEditorPanel.h"
#include "config-editor/Scrolled.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

namespace {

enum SystemColumn { kSystemNumber, kSystemCode, kSystemName, kSystemValue, kSystemColumns };

QString FromU16(const std::u16string& text) {
  return QString::fromStdU16String(text);
}

}  // namespace

ProfilesPage::ProfilesPage(ProfileFiles& profiles, EditorHost& host, UserQuestions& questions,
                           std::function<bool(int index)> save, QWidget* parent)
    : QWidget(parent), profiles_(profiles), shown_(std::make_shared<hc::cProfile>()) {
  list_ = new ObjectListPanel(profiles_, questions,
                              {tr("profile"), QStringLiteral("List_Profiles"), std::move(save)});
  auto* splitter = new QSplitter;
  splitter->addWidget(list_);
  splitter->addWidget(CreateDetails(host));
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({230, 700});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);

  connect(list_, &ObjectListPanel::CurrentChanged, this, &ProfilesPage::Show);
  // The selected profile was read again from its file, or left the list.
  connect(list_, &ObjectListPanel::ListChanged, this, [this] {
    if (Current() != (showsEntry_ ? shown_ : nullptr)) Show();
  });
  connect(editor_, &ScheduleEditorPanel::Edited, this, &ProfilesPage::Edited);
  connect(this, &ProfilesPage::Edited, this, &ProfilesPage::ShowScheduleNote);
  Show();
}

void ProfilesPage::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  list_->SetReadOnly(readOnly);
  Show();
}

std::shared_ptr<hc::cProfile> ProfilesPage::Current() const {
  return profiles_.Editable(list_->Current());
}

FieldForm* ProfilesPage::NewForm() {
  auto* form = new FieldForm;
  connect(form, &FieldForm::Edited, this, &ProfilesPage::Edited);
  forms_.push_back(form);
  return form;
}

QWidget* ProfilesPage::CreateDetails(EditorHost& host) {
  details_ = new QWidget;
  FieldForm* header = NewForm();
  header->AddText(
      tr("Na&me:"), QStringLiteral("Text_Profile_Name"),
      [this] { return FromU16(shown_->GetName()); },
      [this](const QString& name) { shown_->SetName(name.toStdU16String()); });
  header->AddFlag(
      tr("Ena&bled"), QStringLiteral("Check_Profile_Enabled"), [this] { return shown_->m_Enabled; },
      [this](bool enabled) { shown_->m_Enabled = enabled; });

  tabs_ = new QTabWidget;
  tabs_->setObjectName(QStringLiteral("Tabs_Profile"));
  tabs_->addTab(Scrolled(CreateScheduleTab(host)), tr("&Schedule"));
  tabs_->addTab(Scrolled(CreateGeneral()), tr("&General"));
  tabs_->addTab(Scrolled(CreateConditions()), tr("Con&ditions"));
  tabs_->addTab(Scrolled(CreateExternal()), tr("E&xternal"));
  tabs_->addTab(CreateSystems(), tr("S&ystems"));

  auto* layout = new QVBoxLayout(details_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(header);
  layout->addWidget(tabs_, 1);
  return details_;
}

QWidget* ProfilesPage::CreateScheduleTab(EditorHost& host) {
  // A new profile's schedule is not used until the user says so; the server then ignores
  // it, which the schedule itself does not show.
  scheduleNote_ = new QFrame;
  scheduleNote_->setObjectName(QStringLiteral("Note_ScheduleNotUsed"));
  scheduleNote_->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
  auto* icon = new QLabel;
  const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(size, size));
  auto* text = new QLabel(tr("The server ignores this schedule: Use the time schedule is off"));
  text->setWordWrap(true);
  auto* turnOn = new QPushButton(tr("Turn it on"));
  turnOn->setObjectName(QStringLiteral("Command_UseTimeSchedule"));
  connect(turnOn, &QPushButton::clicked, this, [this] { useSchedule_->setChecked(true); });
  auto* note = new QHBoxLayout(scheduleNote_);
  note->addWidget(icon);
  note->addWidget(text, 1);
  note->addWidget(turnOn);

  editor_ = new ScheduleEditorPanel(host);
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(scheduleNote_);
  layout->addWidget(editor_, 1);
  return page;
}

void ProfilesPage::AddReceiverList(FieldForm& form, const QString& label, const QString& name,
                                   std::u16string hc::cProfile::*member) {
  auto* field = new ReceiverListField(name);
  form.AddRow(label, field,
              [this, field, member] { field->SetText(FromU16(shown_.get()->*member)); });
  connect(field, &ReceiverListField::Edited, this, [this, member](const QString& text) {
    shown_.get()->*member = text.toStdU16String();
    emit Edited();
  });
  receiverLists_.push_back(field);
}

QWidget* ProfilesPage::CreateGeneral() {
  FieldForm* form = NewForm();
  useSchedule_ = form->AddFlag(
      tr("Use the &time schedule"), QStringLiteral("Check_Profile_UseTimeSchedule"),
      [this] { return shown_->m_UseTimeSchedule; },
      [this](bool use) { shown_->m_UseTimeSchedule = use; });
  form->AddNumber(
          tr("Off-duty alarm beha&viour:"), QStringLiteral("Text_Profile_OffDutyAlarmBehaviour"),
          [this] { return shown_->m_OffDutyAlarmBehaviour; },
          [this](std::int16_t value) { shown_->m_OffDutyAlarmBehaviour = value; })
      ->setToolTip(tr("What happens to alarms outside the time schedule: a number that the alarm "
                      "server reads. This window keeps it as it is and does not interpret it."));
  AddReceiverList(*form, tr("P&arallel receivers:"),
                  QStringLiteral("Text_Profile_ParallellReceivers"),
                  &hc::cProfile::m_ParallellReceivers);
  AddReceiverList(*form, tr("Se&quential receivers:"),
                  QStringLiteral("Text_Profile_SequentialReceivers"),
                  &hc::cProfile::m_SequentialReceivers);
  for (std::int16_t i = 0; i < hc::kProfileStates; ++i) {
    form->AddNumber(
        tr("State &%1:").arg(i), QStringLiteral("Text_Profile_State(%1)").arg(i),
        [this, i] { return shown_->GetState(i); },
        [this, i](std::int16_t value) { shown_->SetState(i, value); });
  }
  return form;
}

QWidget* ProfilesPage::CreateConditions() {
  FieldForm* form = NewForm();
  for (std::int16_t i = 0; i < hc::kProfileConditions; ++i) {
    form->AddText(
        tr("Condition &%1:").arg(i), QStringLiteral("Text_Profile_Condition(%1)").arg(i),
        [this, i] { return FromU16(hcp::ToText(shown_->GetCondition(i))); },
        [this, i](const QString& text) { shown_->SetCondition(i, text.toStdU16String()); });
  }
  return form;
}

QWidget* ProfilesPage::CreateExternal() {
  FieldForm* form = NewForm();
  form->AddFlag(
      tr("Use an external &tag"), QStringLiteral("Check_Profile_UseExternalTag"),
      [this] { return shown_->m_UseExternalTag; },
      [this](bool use) { shown_->m_UseExternalTag = use; });
  form->AddText(
      tr("Tag name:"), QStringLiteral("Text_Profile_ExternalTagName"),
      [this] { return FromU16(shown_->m_ExternalTagName); },
      [this](const QString& text) { shown_->m_ExternalTagName = text.toStdU16String(); });
  form->AddFlag(
      tr("Ignore the external tag in other profiles"),
      QStringLiteral("Check_Profile_IgnoreExternalTagInOtherProfiles"),
      [this] { return shown_->m_IgnoreExternalTagInOtherProfiles; },
      [this](bool ignore) { shown_->m_IgnoreExternalTagInOtherProfiles = ignore; });
  form->AddFlag(
      tr("Use an external f&ile"), QStringLiteral("Check_Profile_UseExternalFile"),
      [this] { return shown_->m_UseExternalFile; },
      [this](bool use) { shown_->m_UseExternalFile = use; });
  form->AddText(
      tr("File name:"), QStringLiteral("Text_Profile_ExternalFileName"),
      [this] { return FromU16(shown_->m_ExternalFileName); },
      [this](const QString& text) { shown_->m_ExternalFileName = text.toStdU16String(); });
  form->AddText(
      tr("Text in the file:"), QStringLiteral("Text_Profile_ExternalFileText"),
      [this] { return FromU16(shown_->m_ExternalFileText); },
      [this](const QString& text) { shown_->m_ExternalFileText = text.toStdU16String(); });
  return form;
}

QWidget* ProfilesPage::CreateSystems() {
  auto* page = new QWidget;
  FieldForm* form = NewForm();
  form->AddFlag(
      tr("Only the se&lected systems count"), QStringLiteral("Check_Profile_ScanSpecificSystems"),
      [this] { return shown_->m_ScanSpecificSystems; },
      [this](bool scan) { shown_->m_ScanSpecificSystems = scan; });

  systems_ = new QTableWidget(hc::kProfileSystems, kSystemColumns);
  systems_->setObjectName(QStringLiteral("Table_Profile_Systems"));
  systems_->setHorizontalHeaderLabels({tr("No."), tr("Code"), tr("System"), tr("Value")});
  systems_->verticalHeader()->hide();
  systems_->horizontalHeader()->setSectionResizeMode(kSystemName, QHeaderView::Stretch);
  hcp::InitScadaSystems();
  for (int n = 0; n < hc::kProfileSystems; ++n) {
    const auto fixed = [](const QString& text) {
      auto* item = new QTableWidgetItem(text);
      item->setFlags(item->flags() & ~Qt::ItemIsEditable);
      return item;
    };
    systems_->setItem(n, kSystemNumber, fixed(QString::number(n)));
    systems_->setItem(n, kSystemCode, fixed(FromU16(hcp::ScadaSystemCodes[n])));
    systems_->setItem(n, kSystemName, fixed(FromU16(hcp::ScadaSystemNames[n])));
    systems_->setItem(n, kSystemValue, new QTableWidgetItem);
  }
  systems_->resizeColumnsToContents();
  connect(systems_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() != kSystemValue) return;
    const auto n = static_cast<std::int16_t>(item->row());
    bool number = false;
    const int value = item->text().trimmed().toInt(&number);
    if (number && value >= INT16_MIN && value <= INT16_MAX) {
      shown_->SetSystem(n, static_cast<std::int16_t>(value));
      emit Edited();
    }
    ShowSystems();  // a value that is no 16-bit number goes back to the stored one
  });

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(form);
  layout->addWidget(systems_, 1);
  return page;
}

void ProfilesPage::ShowSystems() {
  const QSignalBlocker block(systems_);
  for (std::int16_t n = 0; n < hc::kProfileSystems; ++n)
    systems_->item(n, kSystemValue)->setText(FromU16(hcp::ToText(shown_->GetSystem(n))));
}

void ProfilesPage::Show() {
  std::shared_ptr<hc::cProfile> current = Current();
  showsEntry_ = current != nullptr;
  details_->setEnabled(showsEntry_);
  shown_ = current ? current : std::make_shared<hc::cProfile>();
  for (FieldForm* form : forms_) {
    form->Refresh();
    form->setEnabled(!readOnly_);
  }
  ShowSystems();
  systems_->setEnabled(!readOnly_);
  ShowScheduleNote();
  const bool unchanged = current && !current->HasChangedSinceLastLoadFromDisk();
  editor_->SetProfile(current);
  // Laid out for the editor, the schedule numbers its rows, which its period array holds:
  // a profile only looked at has no unsaved change.
  if (unchanged) current->RememberOriginalSettings();
  // Read-only, the schedule still shows, but takes no mouse or key.
  if (readOnly_) editor_->setEnabled(false);
  emit CurrentChanged();
}

void ProfilesPage::ShowScheduleNote() {
  scheduleNote_->setVisible(showsEntry_ && !shown_->m_UseTimeSchedule);
  scheduleNote_->setEnabled(!readOnly_);
}

void ProfilesPage::SetReceiverNames(const QStringList& names) {
  for (ReceiverListField* field : receiverLists_)
    field->SetReceivers(names);
}

}  // namespace ConfigEditor
