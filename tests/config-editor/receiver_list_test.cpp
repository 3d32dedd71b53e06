// A profile's receiver lists against the folder's receivers: offered, checked, and named
// when a receiver is to be removed.
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <map>

#include "EditorFixture.h"
#include "config-editor/ProfilesPage.h"
#include "config-editor/ReceiverListField.h"
#include "config-editor/ReceiversPage.h"

namespace ConfigEditor {
namespace {

namespace hc = Halvane_Config;

TEST(ReceiverListTest, NamesAreSplitAtSemicolonsAddedAtTheEndAndCheckedExactly) {
  EXPECT_EQ(SplitReceiverList(QStringLiteral(" Guard ;;Pager east; ")),
            (QStringList{QStringLiteral("Guard"), QStringLiteral("Pager east")}));
  EXPECT_EQ(WithReceiver(QString(), QStringLiteral("Guard")), QStringLiteral("Guard"));
  EXPECT_EQ(WithReceiver(QStringLiteral("Guard"), QStringLiteral("Pager")),
            QStringLiteral("Guard; Pager"));
  EXPECT_EQ(WithReceiver(QStringLiteral("Guard; "), QStringLiteral("Pager")),
            QStringLiteral("Guard; Pager"));
  EXPECT_EQ(UnknownReceivers(QStringLiteral("Guard; guard; Gaurd"), {QStringLiteral("Guard")}),
            (QStringList{QStringLiteral("guard"), QStringLiteral("Gaurd")}));
}

TEST_F(EditorTest, ReceiverListsOfferTheFoldersReceiversAndMarkUnknownNames) {
  for (const char16_t* name : {u"Guard", u"Pager"}) {
    hc::cReceiver receiver;
    receiver.m_ReceiverName = name;
    ASSERT_TRUE(receiver.SaveToDisk());
  }
  hc::cProfile profile;
  profile.SetName(u"Night shift");
  profile.m_ParallellReceivers = u"Guard; Gaurd";
  profile.m_TimeSchedule = std::make_shared<hc::cTimeSchedule>();
  ASSERT_TRUE(profile.SaveToDisk());
  Open();

  const QString field = QStringLiteral("Text_Profile_ParallellReceivers");
  auto* unknown = window->Profiles().findChild<QLabel*>(field + QStringLiteral("_Unknown"));
  EXPECT_FALSE(unknown->isHidden());
  EXPECT_TRUE(unknown->text().contains(QStringLiteral("\"Gaurd\"")));
  EXPECT_FALSE(unknown->text().contains(QStringLiteral("\"Guard\"")));

  // Picked from the menu, a receiver is added; one named already is not offered again.
  QMenu* pick = window->Profiles().findChild<QToolButton*>(field + QStringLiteral("_Pick"))->menu();
  emit pick->aboutToShow();
  std::map<QString, QAction*> offered;
  for (QAction* action : pick->actions())
    offered[action->text()] = action;
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_FALSE(offered[QStringLiteral("Guard")]->isEnabled());
  offered[QStringLiteral("Pager")]->trigger();
  EXPECT_EQ(workspace->Profiles().At(0)->m_ParallellReceivers, u"Guard; Gaurd; Pager");
  EXPECT_TRUE(window->windowTitle().contains(u'*'));

  // Mended by typing, the mark goes.
  auto* edit = window->Profiles().findChild<QLineEdit*>(field);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("Guard; Pager"));
  EXPECT_TRUE(unknown->isHidden());
  EXPECT_EQ(workspace->Profiles().At(0)->m_ParallellReceivers, u"Guard; Pager");

  // Removing a receiver that the profile names says so before it asks.
  window->Receivers().List().Select(workspace->Receivers().RowAt(0).name == u"Pager" ? 0 : 1);
  questions.confirm = false;
  QTest::mouseClick(window->Receivers().findChild<QWidget*>(QStringLiteral("Command_Remove")),
                    Qt::LeftButton);
  ASSERT_FALSE(questions.asked.isEmpty());
  EXPECT_TRUE(
      questions.asked.last().contains(QStringLiteral("Named by 1 profile: \"Night shift\"")));
}

}  // namespace
}  // namespace ConfigEditor
