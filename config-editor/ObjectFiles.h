// The receivers or the profiles of a program folder as the window edits them: one entry
// per file "Receivers/Receiver_NNNN.dat" ("Profiles/Profile_NNNN.dat"), loaded by the
// class itself, in the order of their disk identities, and after them the new ones that
// have no file yet. A file that cannot be loaded is listed too, so that the user sees it,
// but it cannot be edited or saved over.
//
// Each entry remembers its file as it was read or written (FileSnapshot). A save first
// compares the file with that: a file another program changed or removed since is not
// written over unless the user says so. CheckDisk notices such files between saves.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "config-editor/FileSnapshot.h"
#include "config/DiskFiles.h"
#include "config/cProfile.h"
#include "config/cReceiver.h"

namespace ConfigEditor {

enum class SaveResult {
  Saved,
  Refused,   // a field holds a text that is no value of it; nothing was written
  Conflict,  // the file was changed or removed on disk since (DiskState); nothing was written
  Failed,    // the class could not save it, and has logged why
};

enum class SaveCheck { CompareWithDisk, Overwrite };

// A text the user typed into a field of an entry that is no value of the field: the
// entry keeps its last value and cannot be saved until the text is mended or discarded.
struct RefusedField {
  QString label;   // "Setting 4"
  int kind = 0;    // what the field was to hold (the page's own numbering)
  QString text;    // as typed
  QString reason;  // "out of range for Integer (-32,768..32,767)"
};

// What CheckDisk found and did.
struct DiskCheck {
  bool changed = false;  // entries were read again, marked, added or dropped
  QStringList lines;     // one for the log per entry concerned
};

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
    DiskState disk = DiskState::AsRead;
  };

  virtual ~ObjectList() = default;

  virtual int Count() const = 0;
  virtual Row RowAt(int index) const = 0;
  // Unsaved: new, changed since it was loaded or saved, or holding a refused text.
  virtual bool IsModified(int index) const = 0;
  bool AnyModified() const;
  // The path of the entry's file; empty for a new one.
  virtual QString FileName(int index) const = 0;
  // A number that stays with the entry while it is listed, also when it is read again.
  virtual std::uint64_t EntryId(int index) const = 0;
  // The index of the entry with that number, or -1.
  int IndexOfEntry(std::uint64_t id) const;

  // Each returns the index of the new entry, at the end.
  virtual int AddNew() = 0;
  virtual int Duplicate(int index) = 0;
  // Writes the entry's file (creating the kind's folder when it is missing), unless a
  // field holds a refused text or, when asked to compare, the file changed on disk.
  virtual SaveResult Save(int index, SaveCheck check = SaveCheck::CompareWithDisk) = 0;
  // Save in two halves, for saving many entries in one SaveBatch: Stage makes the same
  // checks and stages the save in batch (its number there in staged; Saved means staged),
  // Finish takes the file's snapshot once the batch has committed (Saved or Failed).
  virtual SaveResult Stage(int index, Halvane_Config::SaveBatch& batch, std::size_t& staged,
                           SaveCheck check = SaveCheck::CompareWithDisk) = 0;
  virtual SaveResult Finish(int index, const Halvane_Config::SaveBatch& batch,
                            std::size_t staged) = 0;
  // Back to what the file holds; a new entry, or one whose file is gone, goes.
  virtual void Discard(int index) = 0;
  // Deletes the file (the class logs it) and the entry.
  virtual void Remove(int index) = 0;
  // Reads again what changed on disk and lists what came: an entry without unsaved
  // changes whose file changed is read again, or goes when its file went; one with unsaved
  // changes is marked (DiskState) and saving it asks. Files that came are added at the end.
  virtual DiskCheck CheckDisk() = 0;

  // Refused texts of fields, by the page's own field numbers.
  virtual void Refuse(int index, int field, const RefusedField& refused) = 0;
  virtual void Accept(int index, int field) = 0;
  virtual const std::map<int, RefusedField>& Refused(int index) const = 0;
  // "Setting 4 "70000": out of range for Integer (-32,768..32,767)", one per field.
  QStringList RefusedReasons(int index) const;
  // What is unsaved of a modified entry: "new, never saved", "red fields: Setting 4",
  // "changed", and whether its file changed on disk meanwhile.
  QString WhatIsUnsaved(int index) const;
};

// What ObjectFiles needs to know of a kind: ProfileKind and ReceiverKind.
struct ProfileKind {
  using Object = Halvane_Config::cProfile;
  static constexpr const char* kNoun = QT_TRANSLATE_NOOP("ConfigEditor", "profile");
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
  static constexpr const char* kNoun = QT_TRANSLATE_NOOP("ConfigEditor", "receiver");
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
  // The object of an entry that can be edited; none for no entry (-1, or one that has
  // just gone) or a file that could not be loaded.
  std::shared_ptr<Object> Editable(int index) const {
    return index >= 0 && index < Count() && IsReadable(index) ? At(index) : nullptr;
  }

  int Count() const override { return static_cast<int>(entries_.size()); }
  Row RowAt(int index) const override;
  bool IsModified(int index) const override;
  QString FileName(int index) const override;
  std::uint64_t EntryId(int index) const override { return entries_.at(index).id; }
  int AddNew() override;
  int Duplicate(int index) override;
  SaveResult Save(int index, SaveCheck check = SaveCheck::CompareWithDisk) override;
  SaveResult Stage(int index, Halvane_Config::SaveBatch& batch, std::size_t& staged,
                   SaveCheck check = SaveCheck::CompareWithDisk) override;
  SaveResult Finish(int index, const Halvane_Config::SaveBatch& batch, std::size_t staged) override;
  void Discard(int index) override;
  void Remove(int index) override;
  DiskCheck CheckDisk() override;
  void Refuse(int index, int field, const RefusedField& refused) override;
  void Accept(int index, int field) override;
  const std::map<int, RefusedField>& Refused(int index) const override {
    return entries_.at(index).refused;
  }

 private:
  struct Entry {
    std::shared_ptr<Object> object;
    QString problem;
    std::uint64_t id = 0;
    FileSnapshot snapshot;  // the file as read or written last
    DiskState disk = DiskState::AsRead;
    std::map<int, RefusedField> refused;
  };
  // A fresh entry with the file of an identity loaded into its object.
  Entry Load(std::int16_t identity);
  Entry Fresh(std::shared_ptr<Object> object) {
    Entry entry;
    entry.object = std::move(object);
    entry.id = ++lastId_;
    return entry;
  }
  // The disk identities of the kind's files, in order.
  static std::vector<std::int16_t> FilesOnDisk();

  std::vector<Entry> entries_;
  std::uint64_t lastId_ = 0;
};

using ProfileFiles = ObjectFiles<ProfileKind>;
using ReceiverFiles = ObjectFiles<ReceiverKind>;

}  // namespace ConfigEditor
