#include "config-editor/ReceiversPage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include "config-editor/FieldForm.h"
#include "config-editor/TypedValue.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;

ReceiversPage::ReceiversPage(ReceiverFiles& receivers, UserQuestions& questions,
                             std::function<bool(int index)> save, QWidget* parent)
    : QWidget(parent), receivers_(receivers), shown_(std::make_shared<hc::cReceiver>()) {
  list_ = new ObjectListPanel(receivers_, questions,
                              {tr("receiver"), QStringLiteral("List_Receivers"), std::move(save)});
  form_ = new FieldForm;
  form_->AddText(
      tr("Na&me:"), QStringLiteral("Text_Receiver_Name"),
      [this] { return QString::fromStdU16String(shown_->m_ReceiverName); },
      [this](const QString& name) { shown_->m_ReceiverName = name.toStdU16String(); });
  form_->AddFlag(
      tr("Ena&bled"), QStringLiteral("Check_Receiver_Enabled"),
      [this] { return shown_->m_Enabled; }, [this](bool enabled) { shown_->m_Enabled = enabled; });
  form_
      ->AddNumber(
          tr("&Type id:"), QStringLiteral("Text_Receiver_TypeId"),
          [this] { return shown_->GetReceiverTypeId(); },
          [this](std::int16_t id) { shown_->SetReceiverTypeId(id); })
      ->setToolTip(tr("The number of the receiver's type, which the alarm server looks up in "
                      "its receiver-type catalogue (-1: none). The type decides what the four "
                      "settings mean. This window has no catalogue: it keeps the number as it "
                      "is."));
  form_->AddText(
      tr("Bac&kup receiver:"), QStringLiteral("Text_Receiver_BackupReceiver"),
      [this] { return QString::fromStdU16String(shown_->m_BackupReceiver); },
      [this](const QString& name) { shown_->m_BackupReceiver = name.toStdU16String(); });
  for (std::int16_t i = 0; i < hc::kReceiverSettings; ++i)
    form_->AddRow(tr("Setting &%1:").arg(i + 1), CreateSetting(i), [this, i] { ShowSetting(i); });
  connect(form_, &FieldForm::Edited, this, &ReceiversPage::Edited);

  auto* details = new QWidget;
  auto* detailsLayout = new QVBoxLayout(details);
  detailsLayout->addWidget(form_);
  detailsLayout->addStretch(1);
  auto* splitter = new QSplitter;
  splitter->addWidget(list_);
  splitter->addWidget(details);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({230, 700});
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);

  connect(list_, &ObjectListPanel::CurrentChanged, this, &ReceiversPage::Show);
  // The selected receiver was read again from its file, or left the list.
  connect(list_, &ObjectListPanel::ListChanged, this, [this] {
    if (Current() != (showsEntry_ ? shown_ : nullptr)) Show();
  });
  Show();
}

std::shared_ptr<hc::cReceiver> ReceiversPage::Current() const {
  return receivers_.Editable(list_->Current());
}

void ReceiversPage::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  list_->SetReadOnly(readOnly);
  Show();
}

QWidget* ReceiversPage::CreateSetting(std::int16_t index) {
  SettingField& field = settings_[static_cast<std::size_t>(index)];
  auto* row = new QWidget;
  field.type = new QComboBox;
  field.type->setObjectName(QStringLiteral("Combo_Receiver_SettingType(%1)").arg(index));
  for (VariantType type : SettingTypes())
    field.type->addItem(TypeName(type), static_cast<int>(type));
  field.text = new QLineEdit;
  field.text->setObjectName(QStringLiteral("Text_Receiver_Setting(%1)").arg(index));
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(field.type);
  layout->addWidget(field.text, 1);
  connect(field.type, &QComboBox::activated, this, [this, index] { ApplySetting(index); });
  connect(field.text, &QLineEdit::editingFinished, this, [this, index] { ApplySetting(index); });
  return row;
}

void ReceiversPage::ShowSetting(std::int16_t index) {
  const SettingField& field = settings_[static_cast<std::size_t>(index)];
  const QSignalBlocker blockType(field.type);
  const QSignalBlocker blockText(field.text);
  const std::map<int, RefusedField> none;
  const std::map<int, RefusedField>& refused =
      showsEntry_ ? receivers_.Refused(list_->Current()) : none;
  if (const auto it = refused.find(index); it != refused.end()) {
    field.type->setCurrentIndex(field.type->findData(it->second.kind));
    field.text->setText(it->second.text);
    field.text->setEnabled(true);
    MarkRefused(field.text, it->second.reason);
    return;
  }
  const Variant value = shown_->GetSetting(index);
  field.type->setCurrentIndex(field.type->findData(static_cast<int>(value.Type())));
  field.text->setText(EditText(value));
  field.text->setEnabled(HasText(value.Type()));
  MarkRefused(field.text, {});
}

void ReceiversPage::ApplySetting(std::int16_t index) {
  if (!showsEntry_) return;
  const int entry = list_->Current();
  const SettingField& field = settings_[static_cast<std::size_t>(index)];
  const auto type = static_cast<VariantType>(field.type->currentData().toInt());
  const bool wasRefused = receivers_.Refused(entry).count(index) != 0;
  const ParsedValue parsed = ParseTypedValue(type, field.text->text());
  if (!parsed.value) {
    receivers_.Refuse(entry, index,
                      {tr("Setting %1").arg(index + 1), static_cast<int>(type), field.text->text(),
                       parsed.error});
    ShowSetting(index);
    emit Edited();
    return;
  }
  receivers_.Accept(entry, index);
  const Variant before = shown_->GetSetting(index);
  shown_->SaveSetting(index, *parsed.value);
  ShowSetting(index);
  if (wasRefused ||
      !(before.Type() == parsed.value->Type() && EditText(before) == EditText(*parsed.value)))
    emit Edited();
}

void ReceiversPage::Show() {
  const std::shared_ptr<hc::cReceiver> current = Current();
  showsEntry_ = current != nullptr;
  form_->setEnabled(showsEntry_ && !readOnly_);
  shown_ = current ? current : std::make_shared<hc::cReceiver>();
  form_->Refresh();
}

}  // namespace ConfigEditor
