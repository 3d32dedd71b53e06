// What the window asks its user and tells them in boxes; tests answer with a double.
#pragma once

#include <QString>

class QWidget;

namespace ConfigEditor {

class UserQuestions {
 public:
  enum class Choice { Save, Discard, Cancel };

  virtual ~UserQuestions() = default;

  // Unsaved changes: save them, discard them, or stay where the user was.
  virtual Choice AskToSave(QWidget* parent, const QString& question) = 0;
  // Yes (true) or no, for what cannot be undone.
  virtual bool Confirm(QWidget* parent, const QString& question) = 0;
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
};

// Message boxes.
class MessageBoxQuestions : public UserQuestions {
 public:
  Choice AskToSave(QWidget* parent, const QString& question) override;
  bool Confirm(QWidget* parent, const QString& question) override;
  void ShowError(QWidget* parent, const QString& text) override;
};

}  // namespace ConfigEditor
