#include "config-editor/FieldForm.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSpinBox>
#include <limits>

namespace ConfigEditor {

FieldForm::FieldForm(QWidget* parent) : QWidget(parent), layout_(new QFormLayout(this)) {
  layout_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
}

void FieldForm::AddRow(const QString& label, QWidget* field, std::function<void()> refresh) {
  layout_->addRow(label, field);
  if (refresh) refreshers_.push_back(std::move(refresh));
}

QLineEdit* FieldForm::AddText(const QString& label, const QString& name,
                              std::function<QString()> get,
                              std::function<void(const QString&)> set) {
  auto* edit = new QLineEdit;
  edit->setObjectName(name);
  AddRow(label, edit, [edit, get] {
    const QString value = get();
    if (edit->text() != value) edit->setText(value);
  });
  connect(edit, &QLineEdit::textEdited, this, [this, set](const QString& text) {
    set(text);
    emit Edited();
  });
  return edit;
}

QCheckBox* FieldForm::AddFlag(const QString& label, const QString& name, std::function<bool()> get,
                              std::function<void(bool)> set) {
  auto* box = new QCheckBox(label);
  box->setObjectName(name);
  AddRow({}, box, [box, get] {
    const QSignalBlocker blocker(box);
    box->setChecked(get());
  });
  connect(box, &QCheckBox::toggled, this, [this, set](bool checked) {
    set(checked);
    emit Edited();
  });
  return box;
}

QSpinBox* FieldForm::AddNumber(const QString& label, const QString& name,
                               std::function<std::int16_t()> get,
                               std::function<void(std::int16_t)> set) {
  auto* spin = new QSpinBox;
  spin->setObjectName(name);
  spin->setRange(std::numeric_limits<std::int16_t>::min(),
                 std::numeric_limits<std::int16_t>::max());
  AddRow(label, spin, [spin, get] {
    const QSignalBlocker blocker(spin);
    spin->setValue(get());
  });
  connect(spin, &QSpinBox::valueChanged, this, [this, set](int value) {
    set(static_cast<std::int16_t>(value));
    emit Edited();
  });
  return spin;
}

void MarkRefused(QLineEdit* edit, const QString& reason) {
  edit->setToolTip(reason);
  edit->setAccessibleDescription(reason);
  edit->setStyleSheet(reason.isEmpty() ? QString() : QStringLiteral("QLineEdit { color: red; }"));
}

void FieldForm::Refresh() {
  for (const std::function<void()>& refresh : refreshers_)
    refresh();
}

}  // namespace ConfigEditor
