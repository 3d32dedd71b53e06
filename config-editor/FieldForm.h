// A form of labelled fields over whatever object is shown: each field reads its value
// with a getter and writes the user's edit with a setter, then the form says it was
// edited. Refresh reads every field again (another object, or a change by program).
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QSpinBox;

namespace ConfigEditor {

class FieldForm : public QWidget {
  Q_OBJECT
 public:
  explicit FieldForm(QWidget* parent = nullptr);

  // Each field's widget is named (for tests and accessibility) and labelled; a label
  // may hold a mnemonic ("&Name:").
  QLineEdit* AddText(const QString& label, const QString& name, std::function<QString()> get,
                     std::function<void(const QString&)> set);
  QCheckBox* AddFlag(const QString& label, const QString& name, std::function<bool()> get,
                     std::function<void(bool)> set);
  QSpinBox* AddNumber(const QString& label, const QString& name, std::function<std::int16_t()> get,
                      std::function<void(std::int16_t)> set);
  // A row of the caller's own; refresh is run by Refresh.
  void AddRow(const QString& label, QWidget* field, std::function<void()> refresh = {});

  void Refresh();

 signals:
  void Edited();

 private:
  QFormLayout* layout_;
  std::vector<std::function<void()>> refreshers_;
};

// Marks a text field whose text was refused: red, with the reason as its tooltip. An empty
// reason takes the mark away.
void MarkRefused(QLineEdit* edit, const QString& reason);

}  // namespace ConfigEditor
