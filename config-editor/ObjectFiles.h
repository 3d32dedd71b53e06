// The receivers or the profiles of a program folder as the window edits them: one entry
// per file "Receivers/Receiver_NNNN.dat" ("Profiles/Profile_NNNN.dat"), loaded by the
// class itself, in the order of their disk identities, and after them the new ones that
// have no file yet. A file that cannot be loaded is listed too, so that the user sees it,
// but it cannot be edited or saved over.
#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "config/cProfile.h"
#include "config/cReceiver.h"

namespace ConfigEditor {

// The list as the window's list panel sees it, whatever the kind.
class ObjectList {
 public:
  struct Row {
    std::int16_t identity = -1;  // -1: new, no file yet
    QString name;
    bool enabled = true;
    bool modified = false;
    bool readable = true;
    QString problem;  // why the file could not be loaded
  };

  virtual ~ObjectList() = default;

  virtual int Count() const = 0;
  virtual Row RowAt(int index) const = 0;
  // Unsaved: new, or changed since it was loaded or saved.
  virtual bool IsModified(int index) const = 0;
  bool AnyModified() const;
  // The path of the entry's file; empty for a new one.
  virtual QString FileName(int index) const = 0;

  // Each returns the index of the new entry, at the end.
  virtual int AddNew() = 0;
  virtual int Duplicate(int index) = 0;
  // Writes the entry's file (creating the kind's folder when it is missing). False when
  // the class could not save it; it has logged why.
  virtual bool Save(int index) = 0;
  // Back to what the file holds; a new entry goes.
  virtual void Discard(int index) = 0;
  // Deletes the file (the class logs it) and the entry.
  virtual void Remove(int index) = 0;
};

// What ObjectFiles needs to know of a kind: ProfileKind and ReceiverKind.
struct ProfileKind {
  using Object = Halvane_Config::cProfile;
  static constexpr const char* kFolder = "Profiles";
  static constexpr const char* kPrefix = "Profile_";
  // A new profile: named, enabled, with Monday to Friday 07:00-16:00 in one group.
  static std::shared_ptr<Object> New();
  static QString Name(const Object& profile);
  static void SetName(Object& profile, const QString& name);
  static bool Enabled(const Object& profile) { return profile.m_Enabled; }
};

struct ReceiverKind {
  using Object = Halvane_Config::cReceiver;
  static constexpr const char* kFolder = "Receivers";
  static constexpr const char* kPrefix = "Receiver_";
  static std::shared_ptr<Object> New();
  static QString Name(const Object& receiver);
  static void SetName(Object& receiver, const QString& name);
  static bool Enabled(const Object& receiver) { return receiver.m_Enabled; }
};

template <typename Kind>
class ObjectFiles final : public ObjectList {
 public:
  using Object = typename Kind::Object;

  // Loads every file of the kind below the program folder, replacing the entries.
  void LoadAll();
  // The object of an entry (also of one that could not be loaded).
  const std::shared_ptr<Object>& At(int index) const { return entries_.at(index).object; }
  bool IsReadable(int index) const { return entries_.at(index).problem.isEmpty(); }

  int Count() const override { return static_cast<int>(entries_.size()); }
  Row RowAt(int index) const override;
  bool IsModified(int index) const override;
  QString FileName(int index) const override;
  int AddNew() override;
  int Duplicate(int index) override;
  bool Save(int index) override;
  void Discard(int index) override;
  void Remove(int index) override;

 private:
  struct Entry {
    std::shared_ptr<Object> object;
    QString problem;
  };
  // Loads the file of an identity into the entry's object.
  static void Load(Entry& entry, std::int16_t identity);

  std::vector<Entry> entries_;
};

using ProfileFiles = ObjectFiles<ProfileKind>;
using ReceiverFiles = ObjectFiles<ReceiverKind>;

}  // namespace ConfigEditor
