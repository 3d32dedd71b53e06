// What the window asks its user and tells them in boxes; tests answer with a double.
#pragma once

#include <QString>

class QWidget;

namespace ConfigEditor {

class UserQuestions {
 public:
  enum class Choice { Save, Discard, Cancel };
  enum class ConflictChoice { Overwrite, Reload, Cancel };
  enum class OpenChoice { ReadOnly, Anyway };

  virtual ~UserQuestions() = default;

  // Unsaved changes: save them, discard them, or stay where the user was.
  virtual Choice AskToSave(QWidget* parent, const QString& question) = 0;
  // A file changed or removed on disk since the window read it: write over it, read it
  // again (reload names what that loses), or leave it unsaved.
  virtual ConflictChoice AskAboutConflict(QWidget* parent, const QString& question,
                                          const QString& reload) = 0;
  // Another window has the folder open: look only, or edit as well.
  virtual OpenChoice AskToOpenHeldFolder(QWidget* parent, const QString& question) = 0;
  // A folder to open, starting from one; empty when the user chose none.
  virtual QString AskForFolder(QWidget* parent, const QString& start) = 0;
  // Yes (true) or no, for what cannot be undone.
  virtual bool Confirm(QWidget* parent, const QString& question) = 0;
  virtual void ShowError(QWidget* parent, const QString& text) = 0;
};

// Message boxes. Their buttons have mnemonics, the default is always the answer that
// writes and loses nothing, and for their first moments they take no key and no click:
// what the user was typing into the window when the box came up is not an answer.
class MessageBoxQuestions : public UserQuestions {
 public:
  static constexpr int kInputDelayMilliseconds = 400;

  Choice AskToSave(QWidget* parent, const QString& question) override;
  ConflictChoice AskAboutConflict(QWidget* parent, const QString& question,
                                  const QString& reload) override;
  OpenChoice AskToOpenHeldFolder(QWidget* parent, const QString& question) override;
  QString AskForFolder(QWidget* parent, const QString& start) override;
  bool Confirm(QWidget* parent, const QString& question) override;
  void ShowError(QWidget* parent, const QString& text) override;
};

}  // namespace ConfigEditor
