#include "config-editor/UserQuestions.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace ConfigEditor {

namespace {

const QString kTitle = QStringLiteral("halvane-config");

QString Tr(const char* text) {
  return QCoreApplication::translate("ConfigEditor", text);
}

// Shows the box modally; its buttons wake up after the delay, the default one focused.
QAbstractButton* Ask(QMessageBox& box, QPushButton* defaultButton) {
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(defaultButton);
  const QList<QAbstractButton*> buttons = box.buttons();
  for (QAbstractButton* button : buttons)
    button->setEnabled(false);
  QTimer::singleShot(MessageBoxQuestions::kInputDelayMilliseconds, &box, [&box, buttons] {
    for (QAbstractButton* button : buttons)
      button->setEnabled(true);
    if (box.defaultButton() != nullptr) box.defaultButton()->setFocus();
  });
  box.exec();
  return box.clickedButton();
}

QPushButton* AddButton(QMessageBox& box, QMessageBox::StandardButton which, const QString& text) {
  QPushButton* button = box.addButton(which);
  button->setText(text);
  return button;
}

}  // namespace

UserQuestions::Choice MessageBoxQuestions::AskToSave(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, kTitle, question, QMessageBox::NoButton, parent);
  QPushButton* save = AddButton(box, QMessageBox::Save, Tr("&Save"));
  QPushButton* discard = AddButton(box, QMessageBox::Discard, Tr("&Discard"));
  QPushButton* cancel = AddButton(box, QMessageBox::Cancel, Tr("&Cancel"));
  box.setEscapeButton(cancel);
  const QAbstractButton* answer = Ask(box, cancel);
  if (answer == save) return Choice::Save;
  if (answer == discard) return Choice::Discard;
  return Choice::Cancel;
}

UserQuestions::ConflictChoice MessageBoxQuestions::AskAboutConflict(QWidget* parent,
                                                                    const QString& question,
                                                                    const QString& reload) {
  QMessageBox box(QMessageBox::Warning, kTitle, question, QMessageBox::NoButton, parent);
  QPushButton* overwrite = box.addButton(Tr("&Overwrite"), QMessageBox::AcceptRole);
  QPushButton* read = box.addButton(reload, QMessageBox::DestructiveRole);
  QPushButton* cancel = AddButton(box, QMessageBox::Cancel, Tr("&Cancel"));
  box.setEscapeButton(cancel);
  const QAbstractButton* answer = Ask(box, cancel);
  if (answer == overwrite) return ConflictChoice::Overwrite;
  if (answer == read) return ConflictChoice::Reload;
  return ConflictChoice::Cancel;
}

UserQuestions::OpenChoice MessageBoxQuestions::AskToOpenHeldFolder(QWidget* parent,
                                                                   const QString& question) {
  QMessageBox box(QMessageBox::Warning, kTitle, question, QMessageBox::NoButton, parent);
  QPushButton* readOnly = box.addButton(Tr("Open &read-only"), QMessageBox::AcceptRole);
  QPushButton* anyway = box.addButton(Tr("Open &anyway"), QMessageBox::DestructiveRole);
  box.setEscapeButton(readOnly);
  return Ask(box, readOnly) == anyway ? OpenChoice::Anyway : OpenChoice::ReadOnly;
}

QString MessageBoxQuestions::AskForFolder(QWidget* parent, const QString& start) {
  return QFileDialog::getExistingDirectory(parent, Tr("Open a program folder"), start);
}

bool MessageBoxQuestions::Confirm(QWidget* parent, const QString& question) {
  QMessageBox box(QMessageBox::Question, kTitle, question, QMessageBox::NoButton, parent);
  QPushButton* yes = AddButton(box, QMessageBox::Yes, Tr("&Yes"));
  QPushButton* no = AddButton(box, QMessageBox::No, Tr("&No"));
  box.setEscapeButton(no);
  return Ask(box, no) == yes;
}

void MessageBoxQuestions::ShowError(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Warning, kTitle, text, QMessageBox::NoButton, parent);
  QPushButton* ok = box.addButton(QMessageBox::Ok);
  box.setEscapeButton(ok);
  Ask(box, ok);
}

}  // namespace ConfigEditor
