// A profile's list of receivers: free text, the names separated by ";" (as stored, for the
// alarm server to read), with the folder's receivers offered to pick from, by a menu beside
// the field and by completing the name being typed, and a note under it that names what
// matches no receiver of the folder.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QCompleter;
class QLabel;
class QLineEdit;
class QStringListModel;
class QToolButton;

namespace ConfigEditor {

// The names of a list, blanks around them left out, empty ones dropped.
QStringList SplitReceiverList(const QString& list);
// The list with a name added at its end.
QString WithReceiver(const QString& list, const QString& name);
// The names of a list that are none of the known ones (compared exactly).
QStringList UnknownReceivers(const QString& list, const QStringList& known);

class ReceiverListField : public QWidget {
  Q_OBJECT
 public:
  explicit ReceiverListField(const QString& objectName, QWidget* parent = nullptr);

  QLineEdit& Edit() { return *edit_; }
  // The receivers of the folder, to offer and to check the names against.
  void SetReceivers(const QStringList& names);
  // Shows a list as it is stored; says nothing of an edit.
  void SetText(const QString& list);

 signals:
  // The user changed the list.
  void Edited(const QString& list);

 private:
  void ShowUnknown();
  void FillPickMenu();

  QLineEdit* edit_ = nullptr;
  QToolButton* pick_ = nullptr;
  QLabel* unknown_ = nullptr;
  QStringListModel* names_ = nullptr;
  QStringList receivers_;
  bool showing_ = false;  // SetText at work
};

}  // namespace ConfigEditor
