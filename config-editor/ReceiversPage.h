// The Receivers tab: the list of the folder's receivers and the selected one's form: name,
// enabled, type, backup receiver and the four settings, each a kind and a text.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "config-editor/ObjectFiles.h"
#include "config-editor/ObjectListPanel.h"

class QComboBox;
class QLineEdit;

namespace ConfigEditor {

class FieldForm;
class UserQuestions;

class ReceiversPage : public QWidget {
  Q_OBJECT
 public:
  ReceiversPage(ReceiverFiles& receivers, UserQuestions& questions,
                std::function<bool(int index)> save, QWidget* parent = nullptr);

  ObjectListPanel& List() { return *list_; }
  // Looking only: the form cannot be edited, and no entry added or removed.
  void SetReadOnly(bool readOnly);

 signals:
  // The selected receiver was changed by the user.
  void Edited();

 private:
  struct SettingField {
    QComboBox* type = nullptr;
    QLineEdit* text = nullptr;
  };

  void Show();
  // The selected receiver when it can be edited; none otherwise.
  std::shared_ptr<Halvane_Config::cReceiver> Current() const;
  QWidget* CreateSetting(std::int16_t index);
  void ShowSetting(std::int16_t index);
  // Takes what the setting's fields hold; a text that is no value of the kind is marked,
  // the receiver keeping its value, and the entry holds it as refused until it is
  // mended: the entry cannot be saved meanwhile.
  void ApplySetting(std::int16_t index);

  ReceiverFiles& receivers_;
  ObjectListPanel* list_ = nullptr;
  FieldForm* form_ = nullptr;
  std::array<SettingField, Halvane_Config::kReceiverSettings> settings_;
  // The receiver the fields edit: a blank one while none is selected.
  std::shared_ptr<Halvane_Config::cReceiver> shown_;
  bool showsEntry_ = false;  // shown_ is the selected entry's
  bool readOnly_ = false;
};

}  // namespace ConfigEditor
