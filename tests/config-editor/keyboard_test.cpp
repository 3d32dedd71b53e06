// The window by keyboard: every mnemonic on a page reaches one thing, and the boxes that
// ask take no key typed for the window before them.
#include <QAbstractButton>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include "EditorFixture.h"

namespace ConfigEditor {
namespace {

// The mnemonics of what the window shows now, with the texts that carry them.
QMultiMap<QKeySequence, QString> ShownMnemonics(QWidget& window) {
  QMultiMap<QKeySequence, QString> mnemonics;
  const auto add = [&](const QString& text) {
    if (const QKeySequence key = QKeySequence::mnemonic(text); !key.isEmpty())
      mnemonics.insert(key, text);
  };
  for (const QAction* menu : window.findChild<QMenuBar*>()->actions())
    add(menu->text());
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(&window)) continue;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) add(button->text());
    if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy()) add(label->text());
    if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
      for (int i = 0; i < tabs->count(); ++i)
        add(tabs->tabText(i));
    }
  }
  return mnemonics;
}

TEST_F(EditorTest, NoTwoThingsOnAPageShareAMnemonic) {
  Open();
  auto* profileTabs = window->findChild<QTabWidget*>(QStringLiteral("Tabs_Profile"));
  for (int tab = 0; tab < window->Tabs().count(); ++tab) {
    window->Tabs().setCurrentIndex(tab);
    for (int inner = 0; inner < (tab == MainWindow::kProfilesTab ? profileTabs->count() : 1);
         ++inner) {
      profileTabs->setCurrentIndex(inner);
      const QMultiMap<QKeySequence, QString> mnemonics = ShownMnemonics(*window);
      for (const QKeySequence& key : mnemonics.uniqueKeys()) {
        EXPECT_EQ(mnemonics.count(key), 1) << "tab " << tab << "." << inner << ": "
                                           << mnemonics.values(key).join(", ").toStdString();
      }
    }
  }
  // Alt+E from the schedule reaches the Receivers tab at the first press.
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->Tabs().setCurrentIndex(MainWindow::kProfilesTab);
  profileTabs->setCurrentIndex(0);
  QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);
  EXPECT_EQ(window->Tabs().currentIndex(), MainWindow::kReceiversTab);
}

TEST(QuestionBoxTest, TakesNoKeyAtFirstThenAnswersByMnemonicWithCancelTheDefault) {
  MessageBoxQuestions questions;
  QStringList buttons;
  QString defaultButton;
  bool openAfterKeys = false;
  QTimer::singleShot(50, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    for (const QAbstractButton* button : box->buttons())
      buttons << button->text();
    defaultButton = box->defaultButton()->text();
    // Typed on as if into the window: a mnemonic, Space, Enter.
    QTest::keyClick(box, Qt::Key_S);
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(box, Qt::Key_Return);
  });
  QTimer::singleShot(250, [&] {
    openAfterKeys = QApplication::activeModalWidget() != nullptr;
    QTimer::singleShot(MessageBoxQuestions::kInputDelayMilliseconds,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_D); });
  });
  EXPECT_EQ(questions.AskToSave(nullptr, QStringLiteral("Save?")), UserQuestions::Choice::Discard);
  EXPECT_TRUE(openAfterKeys);
  EXPECT_EQ(defaultButton, QStringLiteral("&Cancel"));
  QStringList mnemonics;
  for (const QString& text : buttons)
    mnemonics << QKeySequence::mnemonic(text).toString();
  mnemonics.removeDuplicates();
  EXPECT_EQ(mnemonics.size(), 3) << buttons.join(", ").toStdString();
  EXPECT_FALSE(mnemonics.contains(QString()));
}

}  // namespace
}  // namespace ConfigEditor
