#include "config-editor/ObjectListPanel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config-editor/ObjectFiles.h"
#include "config-editor/UserQuestions.h"

namespace ConfigEditor {

namespace {

enum Column { kIdentity, kName, kEnabled, kColumns };

QString IdentityText(std::int16_t identity) {
  return identity < 0 ? QObject::tr("new") : QStringLiteral("%1").arg(identity, 4, 10, QChar(u'0'));
}

}  // namespace

ObjectListPanel::ObjectListPanel(ObjectList& list, UserQuestions& questions, Kind kind,
                                 QWidget* parent)
    : QWidget(parent), list_(list), questions_(questions), kind_(std::move(kind)) {
  tree_ = new QTreeWidget;
  tree_->setObjectName(kind_.objectName);
  tree_->setColumnCount(kColumns);
  tree_->setHeaderLabels({tr("No."), tr("Name"), tr("Enabled")});
  tree_->setRootIsDecorated(false);
  tree_->setUniformRowHeights(true);
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionResizeMode(kName, QHeaderView::Stretch);
  tree_->header()->setSectionResizeMode(kIdentity, QHeaderView::ResizeToContents);
  tree_->header()->setSectionResizeMode(kEnabled, QHeaderView::ResizeToContents);
  connect(tree_, &QTreeWidget::currentItemChanged, this,
          [this] { OnCurrentRowChanged(tree_->indexOfTopLevelItem(tree_->currentItem())); });

  add_ = new QPushButton(tr("&New"));
  add_->setObjectName(QStringLiteral("Command_New"));
  duplicate_ = new QPushButton(tr("D&uplicate"));
  duplicate_->setObjectName(QStringLiteral("Command_Duplicate"));
  remove_ = new QPushButton(tr("&Remove"));
  remove_->setObjectName(QStringLiteral("Command_Remove"));
  connect(add_, &QPushButton::clicked, this, [this] {
    if (SettleCurrent()) AddEntry(list_.AddNew());
  });
  connect(duplicate_, &QPushButton::clicked, this, [this] {
    // The copy takes what the form shows, saved or not.
    if (current_ >= 0) AddEntry(list_.Duplicate(current_));
  });
  connect(remove_, &QPushButton::clicked, this, &ObjectListPanel::RemoveCurrent);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(add_);
  buttons->addWidget(duplicate_);
  buttons->addWidget(remove_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tree_, 1);
  layout->addLayout(buttons);
  Refresh();
}

void ObjectListPanel::Refresh() {
  const QSignalBlocker block(tree_);
  while (tree_->topLevelItemCount() > list_.Count())
    delete tree_->takeTopLevelItem(tree_->topLevelItemCount() - 1);
  while (tree_->topLevelItemCount() < list_.Count())
    tree_->addTopLevelItem(new QTreeWidgetItem);
  for (int i = 0; i < list_.Count(); ++i) {
    const ObjectList::Row row = list_.RowAt(i);
    QTreeWidgetItem* item = tree_->topLevelItem(i);
    item->setText(kIdentity, IdentityText(row.identity));
    QString name = row.readable ? row.name : tr("(%1)").arg(row.problem);
    if (row.modified) name += QStringLiteral(" *");
    if (row.disk == DiskState::Changed) name += tr(" (changed on disk)");
    if (row.disk == DiskState::Removed) name += tr(" (removed on disk)");
    item->setText(kName, name);
    item->setText(kEnabled, row.readable ? (row.enabled ? tr("yes") : tr("no")) : QString());
    item->setToolTip(kName,
                     row.readable ? list_.FileName(i) : list_.FileName(i) + u'\n' + row.problem);
    item->setForeground(kName, row.readable ? palette().text() : palette().placeholderText());
  }
  if (current_ >= list_.Count()) current_ = list_.Count() - 1;
  currentId_ = current_ >= 0 ? list_.EntryId(current_) : 0;
  tree_->setCurrentItem(current_ >= 0 ? tree_->topLevelItem(current_) : nullptr);
  add_->setEnabled(!readOnly_);
  duplicate_->setEnabled(!readOnly_ && current_ >= 0 && list_.RowAt(current_).readable);
  remove_->setEnabled(!readOnly_ && current_ >= 0);
}

void ObjectListPanel::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  Refresh();
}

void ObjectListPanel::Select(int index) {
  current_ = index < list_.Count() ? index : -1;
  Refresh();
  emit CurrentChanged(current_);
}

void ObjectListPanel::Follow() {
  const int found = currentId_ != 0 ? list_.IndexOfEntry(currentId_) : -1;
  if (found < 0 && current_ >= 0) {
    Select(std::min(current_, list_.Count() - 1));
  } else {
    current_ = found;
    Refresh();
  }
  emit ListChanged();
}

bool ObjectListPanel::SettleCurrent() {
  if (current_ < 0 || !list_.IsModified(current_)) return true;
  const ObjectList::Row row = list_.RowAt(current_);
  const int countBefore = list_.Count();
  switch (questions_.AskToSave(this,
                               tr("The %1 \"%2\" has unsaved changes (%3). Save them?")
                                   .arg(kind_.singular, row.name, list_.WhatIsUnsaved(current_)))) {
    case UserQuestions::Choice::Save:
      if (!kind_.save(current_)) return false;
      break;
    case UserQuestions::Choice::Discard:
      list_.Discard(current_);
      break;
    case UserQuestions::Choice::Cancel:
      return false;
  }
  // A new entry discarded, or one whose file had gone read again, left the list.
  if (list_.Count() < countBefore) current_ = -1;
  Refresh();
  emit ListChanged();
  return true;
}

void ObjectListPanel::OnCurrentRowChanged(int row) {
  if (row == current_) return;
  const int left = current_;
  const int countBefore = list_.Count();
  if (!SettleCurrent()) {
    // Back on the entry the user stays on, also once a click has selected the row it
    // was on, which the view does after telling of the new current row.
    Refresh();
    QTimer::singleShot(0, this, &ObjectListPanel::Refresh);
    return;
  }
  // A new entry that was discarded left the list: the rows after it moved up by one.
  const bool went = list_.Count() < countBefore;
  Select(went && row > left ? row - 1 : row);
}

void ObjectListPanel::AddEntry(int index) {
  emit ListChanged();
  Select(index);
}

void ObjectListPanel::RemoveCurrent() {
  if (current_ < 0) return;
  const ObjectList::Row row = list_.RowAt(current_);
  QString question =
      row.identity < 0
          ? tr("Remove the new %1 \"%2\"? It has not been saved.").arg(kind_.singular, row.name)
          : tr("Remove the %1 \"%2\" and delete its file %3?")
                .arg(kind_.singular, row.readable ? row.name : row.problem,
                     list_.FileName(current_));
  if (const QString note = removalNote_ ? removalNote_(current_) : QString(); !note.isEmpty())
    question += QStringLiteral("\n\n") + note;
  if (!questions_.Confirm(this, question)) return;
  list_.Remove(current_);
  Select(std::min(current_, list_.Count() - 1));
  emit ListChanged();
}

}  // namespace ConfigEditor
