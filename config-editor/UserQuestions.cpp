#include "config-editor/UserQuestions.h"

#include <QMessageBox>

namespace ConfigEditor {

namespace {

const QString kTitle = QStringLiteral("halvane-config");

}  // namespace

UserQuestions::Choice MessageBoxQuestions::AskToSave(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, kTitle, question,
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save:
      return Choice::Save;
    case QMessageBox::Discard:
      return Choice::Discard;
    default:
      return Choice::Cancel;
  }
}

bool MessageBoxQuestions::Confirm(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, kTitle, question, QMessageBox::Yes | QMessageBox::No,
                  parent);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void MessageBoxQuestions::ShowError(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Warning, kTitle, text, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace ConfigEditor
