#include "config-editor/ReceiverListField.h"

#include <QCompleter>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStringListModel>
#include <QToolButton>
#include <QVBoxLayout>

namespace ConfigEditor {

namespace {

constexpr QChar kSeparator = u';';

// Completes the name after the last separator, and keeps the names before it.
class ListCompleter : public QCompleter {
 public:
  ListCompleter(QAbstractItemModel* model, QLineEdit& edit)
      : QCompleter(model, &edit), edit_(edit) {
    setCaseSensitivity(Qt::CaseInsensitive);
    setFilterMode(Qt::MatchStartsWith);
  }
  QStringList splitPath(const QString& path) const override {
    return {path.section(kSeparator, -1).trimmed()};
  }
  QString pathFromIndex(const QModelIndex& index) const override {
    const QString text = edit_.text();
    const qsizetype last = text.lastIndexOf(kSeparator);
    const QString name = QCompleter::pathFromIndex(index);
    return last < 0 ? name : text.left(last + 1) + u' ' + name;
  }

 private:
  QLineEdit& edit_;
};

}  // namespace

QStringList SplitReceiverList(const QString& list) {
  QStringList names;
  for (const QString& part : list.split(kSeparator)) {
    const QString name = part.trimmed();
    if (!name.isEmpty()) names << name;
  }
  return names;
}

QString WithReceiver(const QString& list, const QString& name) {
  const QString kept = list.trimmed();
  if (kept.isEmpty()) return name;
  return kept.endsWith(kSeparator) ? kept + u' ' + name : kept + kSeparator + u' ' + name;
}

QStringList UnknownReceivers(const QString& list, const QStringList& known) {
  QStringList unknown;
  for (const QString& name : SplitReceiverList(list))
    if (!known.contains(name)) unknown << name;
  return unknown;
}

ReceiverListField::ReceiverListField(const QString& objectName, QWidget* parent) : QWidget(parent) {
  edit_ = new QLineEdit;
  edit_->setObjectName(objectName);
  edit_->setPlaceholderText(tr("names separated by \";\""));
  names_ = new QStringListModel(this);
  edit_->setCompleter(new ListCompleter(names_, *edit_));
  // Every change but the shown list's own is the user's, also the completer's, which
  // sets the text as a program would.
  connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
    ShowUnknown();
    if (!showing_) emit Edited(text);
  });

  pick_ = new QToolButton;
  pick_->setObjectName(objectName + QStringLiteral("_Pick"));
  pick_->setArrowType(Qt::DownArrow);
  pick_->setPopupMode(QToolButton::InstantPopup);
  pick_->setToolTip(tr("Add a receiver of this folder"));
  pick_->setAccessibleName(pick_->toolTip());
  pick_->setMenu(new QMenu(pick_));
  connect(pick_->menu(), &QMenu::aboutToShow, this, &ReceiverListField::FillPickMenu);

  unknown_ = new QLabel;
  unknown_->setObjectName(objectName + QStringLiteral("_Unknown"));
  unknown_->setWordWrap(true);
  unknown_->setStyleSheet(QStringLiteral("QLabel { color: #b35900; }"));
  unknown_->hide();

  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(edit_, 1);
  row->addWidget(pick_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addLayout(row);
  layout->addWidget(unknown_);
  setFocusProxy(edit_);
}

void ReceiverListField::SetReceivers(const QStringList& names) {
  if (names == receivers_) return;
  receivers_ = names;
  names_->setStringList(names);
  ShowUnknown();
}

void ReceiverListField::SetText(const QString& list) {
  if (edit_->text() == list) return;
  showing_ = true;
  edit_->setText(list);
  showing_ = false;
}

void ReceiverListField::FillPickMenu() {
  QMenu& menu = *pick_->menu();
  menu.clear();
  const QStringList named = SplitReceiverList(edit_->text());
  for (const QString& name : receivers_) {
    QAction* action = menu.addAction(name);
    // A name the list holds already is not added twice.
    action->setEnabled(!named.contains(name));
    connect(action, &QAction::triggered, this,
            [this, name] { edit_->setText(WithReceiver(edit_->text(), name)); });
  }
  if (receivers_.isEmpty()) menu.addAction(tr("(the folder has no receivers)"))->setEnabled(false);
}

void ReceiverListField::ShowUnknown() {
  const QStringList unknown = UnknownReceivers(edit_->text(), receivers_);
  const QString text =
      unknown.isEmpty()
          ? QString()
          : tr("No receiver of this folder is named %1.")
                .arg(QStringLiteral("\"%1\"").arg(unknown.join(QStringLiteral("\", \""))));
  unknown_->setText(text);
  unknown_->setVisible(!text.isEmpty());
  edit_->setToolTip(text);
}

}  // namespace ConfigEditor
