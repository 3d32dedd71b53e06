#include "injector/Controls.h"

void TextControl::SetText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  emit Changed();
}

void TextControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  emit Changed();
}

void CheckControl::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  emit Changed();
}

void OptionControlArray::Select(int index) {
  if (index == selected_) return;
  selected_ = index;
  emit Changed();
  if (index >= 0) emit Clicked(index);
}

void OptionControlArray::SetEnabled(int index, bool enabled) {
  if (enabled_.at(index) == enabled) return;
  enabled_.at(index) = enabled;
  emit Changed();
}

void OptionControlArray::SetCaption(int index, const QString& caption) {
  if (captions_.at(index) == caption) return;
  captions_.at(index) = caption;
  emit Changed();
}

void ComboControl::AddItem(const QString& name, int itemData) {
  auto position = entries_.begin();
  while (position != entries_.end() &&
         QString::compare(position->name, name, Qt::CaseInsensitive) <= 0) {
    ++position;
  }
  const int inserted = static_cast<int>(position - entries_.begin());
  entries_.insert(position, Entry{name, itemData});
  if (listIndex_ >= inserted) ++listIndex_;
  emit Changed();
}

void ComboControl::SetListIndex(int position) {
  if (position < -1 || position >= ListCount()) return;
  const QString text = position < 0 ? QString() : entries_.at(position).name;
  if (position == listIndex_ && text == text_) return;
  listIndex_ = position;
  text_ = text;
  emit Changed();
  if (position >= 0) emit Clicked();
}

void ComboControl::SetText(const QString& text) {
  int match = -1;
  for (int i = 0; i < ListCount() && match < 0; ++i) {
    if (entries_.at(i).name == text) match = i;
  }
  const bool selectionMoved = match >= 0 && match != listIndex_;
  if (text == text_ && match == listIndex_) return;
  text_ = text;
  listIndex_ = match;
  emit Changed();
  if (selectionMoved) emit Clicked();
}

void ComboControl::SetToolTip(const QString& toolTip) {
  if (toolTip == toolTip_) return;
  toolTip_ = toolTip;
  emit Changed();
}

void ComboControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  emit Changed();
}

void VisibilityControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  emit Changed();
}
