// The controls of the main window as plain state. The window's logic reads and changes
// them; a view (or a test) watches Changed and mirrors them. Setting a value by program
// emits the same signals as a user's edit, so every side effect follows either way.
#pragma once

#include <QObject>
#include <QString>
#include <QVector>
#include <array>

class TextControl : public QObject {
  Q_OBJECT
 public:
  explicit TextControl(const QString& designText = {}) : text_(designText) {}

  const QString& Text() const { return text_; }
  void SetText(const QString& text);

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

 signals:
  void Changed();

 private:
  QString text_;
  bool enabled_ = true;
};

// A check box: 0 unticked, 1 ticked, 2 greyed. Greyed counts as ticked.
class CheckControl : public QObject {
  Q_OBJECT
 public:
  int Value() const { return value_; }
  bool Ticked() const { return value_ != 0; }
  void SetValue(int value);

 signals:
  void Changed();

 private:
  int value_ = 0;
};

// A row of option buttons of which at most one is selected; its index is the value the
// logic uses.
class OptionControlArray : public QObject {
  Q_OBJECT
 public:
  static constexpr int kCount = 3;

  explicit OptionControlArray(const std::array<QString, kCount>& captions) : captions_(captions) {}

  int Selected() const { return selected_; }
  bool Value(int index) const { return selected_ == index; }
  void Select(int index);

  bool Enabled(int index) const { return enabled_.at(index); }
  void SetEnabled(int index, bool enabled);

  const QString& Caption(int index) const { return captions_.at(index); }
  void SetCaption(int index, const QString& caption);

 signals:
  void Changed();
  // A new option became the selected one (the option's Click).
  void Clicked(int index);

 private:
  std::array<QString, kCount> captions_;
  std::array<bool, kCount> enabled_{true, true, true};
  int selected_ = -1;
};

// An editable drop-down list kept sorted by name (ignoring case), each entry carrying a
// number. Its text can name an entry or be anything the user typed.
class ComboControl : public QObject {
  Q_OBJECT
 public:
  struct Entry {
    QString name;
    int itemData = 0;
  };

  void AddItem(const QString& name, int itemData);
  int ListCount() const { return static_cast<int>(entries_.size()); }
  const Entry& At(int position) const { return entries_.at(position); }

  // -1 when no entry is selected.
  int ListIndex() const { return listIndex_; }
  // Selects the entry at a position (its name becomes the text); -1 clears the
  // selection and the text.
  void SetListIndex(int position);

  const QString& Text() const { return text_; }
  // Selects the entry of exactly that name, or none when no entry has it.
  void SetText(const QString& text);

  const QString& ToolTip() const { return toolTip_; }
  void SetToolTip(const QString& toolTip);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

 signals:
  void Changed();
  // The selection moved to an entry (the list's Click).
  void Clicked();

 private:
  QVector<Entry> entries_;
  int listIndex_ = -1;
  QString text_;
  QString toolTip_;
  bool visible_ = true;
};

// A control whose only state the logic changes is whether it is shown.
class VisibilityControl : public QObject {
  Q_OBJECT
 public:
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

 signals:
  void Changed();

 private:
  bool visible_ = true;
};
