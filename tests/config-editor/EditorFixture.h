// The window over a temporary program folder, with the user's answers scripted and the
// mouse driven as a user drives it.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <deque>

#include "ProgramFolderScope.h"
#include "config-editor/MainWindow.h"
#include "config-editor/SurfaceWidget.h"
#include "config-editor/UserQuestions.h"
#include "config-editor/Workspace.h"

namespace ConfigEditor {

// Answers in the order given and remembers what was asked; with no answer left it cancels.
class ScriptedQuestions : public UserQuestions {
 public:
  Choice AskToSave(QWidget*, const QString& question) override {
    asked.push_back(question);
    if (choices.empty()) return Choice::Cancel;
    const Choice choice = choices.front();
    choices.pop_front();
    return choice;
  }
  ConflictChoice AskAboutConflict(QWidget*, const QString& question, const QString&) override {
    asked.push_back(question);
    if (conflicts.empty()) return ConflictChoice::Cancel;
    const ConflictChoice choice = conflicts.front();
    conflicts.pop_front();
    return choice;
  }
  OpenChoice AskToOpenHeldFolder(QWidget*, const QString& question) override {
    asked.push_back(question);
    return open;
  }
  QString AskForFolder(QWidget*, const QString&) override { return folderChosen; }
  bool Confirm(QWidget*, const QString& question) override {
    asked.push_back(question);
    return confirm;
  }
  void ShowError(QWidget*, const QString& text) override { errors.push_back(text); }

  std::deque<Choice> choices;
  std::deque<ConflictChoice> conflicts;
  OpenChoice open = OpenChoice::Anyway;
  QString folderChosen;
  bool confirm = true;
  QStringList asked;
  QStringList errors;
};

// Sends the mouse events a user's press, moves and release make, in widget units.
inline void SendMouse(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

inline void Drag(QWidget& widget, QPointF from, QPointF to, Qt::MouseButton button = Qt::LeftButton,
                 int steps = 4) {
  SendMouse(widget, QEvent::MouseButtonPress, from, button, button);
  for (int i = 1; i <= steps; ++i)
    SendMouse(widget, QEvent::MouseMove, from + (to - from) * i / steps, Qt::NoButton, button);
  SendMouse(widget, QEvent::MouseButtonRelease, to, button, Qt::NoButton);
}

inline void Click(QWidget& widget, QPointF at, Qt::MouseButton button = Qt::LeftButton) {
  Drag(widget, at, at, button, 0);
}

// Clicks the New button of a page (profiles or receivers).
inline void ClickNew(QWidget& page) {
  auto* button = page.findChild<QWidget*>(QStringLiteral("Command_New"));
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
}

// Where a point in the surface's units lies on its widget, at the scale it is drawn.
inline QPointF At(SurfaceWidget& surface, QPointF units) {
  return surface.Surface().ToWidget(units);
}

class EditorTest : public ::testing::Test {
 protected:
  // Opens the window on the folder as it is now.
  void Open() {
    window.reset();
    workspace = std::make_unique<Workspace>();
    window = std::make_unique<MainWindow>(*workspace, questions);
    window->OpenFolder(QString::fromStdString(folder.Path()));
    window->show();
  }

  Halvane_Config::TemporaryProgramFolder folder;
  ScriptedQuestions questions;
  std::unique_ptr<Workspace> workspace;
  std::unique_ptr<MainWindow> window;
};

}  // namespace ConfigEditor
