#include "config-editor/ObjectFiles.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <filesystem>
#include <set>
#include <string_view>

#include "common/Halvane_Common_Procedures.h"
#include "config/DiskFiles.h"

namespace ConfigEditor {

namespace fs = std::filesystem;
namespace hc = Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

namespace {

fs::path KindFolder(const char* folder) {
  return fs::path(hcp::Utf16ToUtf8(hcp::ProgramFolder())) / folder;
}

// The identity in a file name "<prefix>NNNN.dat", or -1 for any other name.
int IdentityOf(std::string_view name, std::string_view prefix) {
  constexpr std::string_view kExtension = ".dat";
  constexpr std::size_t kDigits = 4;
  if (name.size() != prefix.size() + kDigits + kExtension.size() || !name.starts_with(prefix) ||
      !name.ends_with(kExtension)) {
    return -1;
  }
  int identity = 0;
  for (char c : name.substr(prefix.size(), kDigits)) {
    if (c < '0' || c > '9') return -1;
    identity = identity * 10 + (c - '0');
  }
  return identity;
}

QString Tr(const char* text) {
  return QCoreApplication::translate("ConfigEditor", text);
}

// Whether loading the file writes it anew: the classes rewrite an older version as the
// current one.
bool LoadRewrites(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray version = file.read(2);
  if (version.size() < 2) return false;
  const auto value = static_cast<std::int16_t>(static_cast<std::uint8_t>(version[0]) |
                                               static_cast<std::uint8_t>(version[1]) << 8);
  return value > 0 && value < hc::kCurrentFileVersion;
}

}  // namespace

bool ObjectList::AnyModified() const {
  for (int i = 0; i < Count(); ++i) {
    if (IsModified(i)) return true;
  }
  return false;
}

int ObjectList::IndexOfEntry(std::uint64_t id) const {
  for (int i = 0; i < Count(); ++i) {
    if (EntryId(i) == id) return i;
  }
  return -1;
}

QStringList ObjectList::RefusedReasons(int index) const {
  QStringList reasons;
  for (const auto& [field, refused] : Refused(index))
    reasons << Tr("%1 \"%2\": %3").arg(refused.label, refused.text, refused.reason);
  return reasons;
}

QString ObjectList::WhatIsUnsaved(int index) const {
  const Row row = RowAt(index);
  QStringList what;
  if (row.identity < 0) what << Tr("new, never saved");
  QStringList red;
  for (const auto& [field, refused] : Refused(index))
    red << refused.label;
  if (!red.isEmpty()) what << Tr("red fields: %1").arg(red.join(QStringLiteral(", ")));
  if (what.isEmpty()) what << Tr("changed");
  if (row.disk == DiskState::Changed) what << Tr("its file was changed on disk meanwhile");
  if (row.disk == DiskState::Removed) what << Tr("its file was removed on disk meanwhile");
  return what.join(QStringLiteral("; "));
}

std::shared_ptr<hc::cProfile> ProfileKind::New() {
  auto profile = std::make_shared<hc::cProfile>();
  profile->SetName(Tr("New profile").toStdU16String());
  profile->m_TimeSchedule = std::make_shared<hc::cTimeSchedule>();
  profile->m_TimeSchedule->SetDefaultPeriod();
  return profile;
}

QString ProfileKind::Name(const Object& profile) {
  return QString::fromStdU16String(profile.GetName());
}

void ProfileKind::SetName(Object& profile, const QString& name) {
  profile.SetName(name.toStdU16String());
}

std::shared_ptr<hc::cReceiver> ReceiverKind::New() {
  auto receiver = std::make_shared<hc::cReceiver>();
  receiver->m_ReceiverName = Tr("New receiver").toStdU16String();
  return receiver;
}

QString ReceiverKind::Name(const Object& receiver) {
  return QString::fromStdU16String(receiver.m_ReceiverName);
}

void ReceiverKind::SetName(Object& receiver, const QString& name) {
  receiver.m_ReceiverName = name.toStdU16String();
}

template <typename Kind>
std::vector<std::int16_t> ObjectFiles<Kind>::FilesOnDisk() {
  std::vector<std::int16_t> identities;
  std::error_code error;
  for (fs::directory_iterator it(KindFolder(Kind::kFolder), error), end; !error && it != end;
       it.increment(error)) {
    const int identity = IdentityOf(it->path().filename().string(), Kind::kPrefix);
    if (identity >= 0 && it->is_regular_file(error))
      identities.push_back(static_cast<std::int16_t>(identity));
  }
  std::sort(identities.begin(), identities.end());
  return identities;
}

template <typename Kind>
void ObjectFiles<Kind>::LoadAll() {
  entries_.clear();
  for (const std::int16_t identity : FilesOnDisk())
    entries_.push_back(Load(identity));
}

template <typename Kind>
typename ObjectFiles<Kind>::Entry ObjectFiles<Kind>::Load(std::int16_t identity) {
  Entry entry = Fresh(std::make_shared<Object>());
  const QString path = QString::fromStdU16String(Object::CreateFileName(identity));
  // Read before the class reads it: a write in between then shows as a change, never the
  // other way round.
  const bool rewrites = LoadRewrites(path);
  entry.snapshot = FileSnapshot::Take(path, FileSnapshot::Bytes::Keep);
  if (entry.object->LoadFromDisk(identity)) {
    if (rewrites) entry.snapshot = FileSnapshot::Take(path, FileSnapshot::Bytes::Keep);
    return entry;
  }
  // The classes say nothing of a file too short to hold a version number.
  std::error_code error;
  const auto size = fs::file_size(hcp::Utf16ToUtf8(Object::CreateFileName(identity)), error);
  entry.problem = !error && size < 2 ? Tr("the file holds no version number")
                                     : Tr("the file cannot be loaded (see the log)");
  // It keeps the identity of its file, for removing it.
  entry.object->m_DiskIdentity = identity;
  return entry;
}

template <typename Kind>
ObjectList::Row ObjectFiles<Kind>::RowAt(int index) const {
  const Entry& entry = entries_.at(index);
  return {entry.object->m_DiskIdentity,
          Kind::Name(*entry.object),
          Kind::Enabled(*entry.object),
          IsModified(index),
          entry.problem.isEmpty(),
          entry.problem,
          entry.disk};
}

template <typename Kind>
bool ObjectFiles<Kind>::IsModified(int index) const {
  const Entry& entry = entries_.at(index);
  if (!entry.problem.isEmpty()) return false;
  return entry.object->m_DiskIdentity < 0 || !entry.refused.empty() ||
         entry.object->HasChangedSinceLastLoadFromDisk();
}

template <typename Kind>
QString ObjectFiles<Kind>::FileName(int index) const {
  const std::int16_t identity = entries_.at(index).object->m_DiskIdentity;
  return identity < 0 ? QString() : QString::fromStdU16String(Object::CreateFileName(identity));
}

template <typename Kind>
int ObjectFiles<Kind>::AddNew() {
  entries_.push_back(Fresh(Kind::New()));
  return Count() - 1;
}

template <typename Kind>
int ObjectFiles<Kind>::Duplicate(int index) {
  auto copy = std::make_shared<Object>();
  copy->CopyFrom(*At(index));
  Kind::SetName(*copy, Tr("%1 (copy)").arg(Kind::Name(*copy)));
  Entry entry = Fresh(std::move(copy));
  entry.refused = entries_.at(index).refused;
  entries_.push_back(std::move(entry));
  return Count() - 1;
}

template <typename Kind>
SaveResult ObjectFiles<Kind>::Save(int index, SaveCheck check) {
  hc::SaveBatch batch;
  std::size_t staged = 0;
  const SaveResult result = Stage(index, batch, staged, check);
  if (result != SaveResult::Saved) return result;
  batch.Commit();
  return Finish(index, batch, staged);
}

template <typename Kind>
SaveResult ObjectFiles<Kind>::Stage(int index, hc::SaveBatch& batch, std::size_t& staged,
                                    SaveCheck check) {
  Entry& entry = entries_.at(index);
  if (!entry.problem.isEmpty()) return SaveResult::Failed;
  if (!entry.refused.empty()) return SaveResult::Refused;
  const bool isNew = entry.object->m_DiskIdentity < 0;
  bool fileThere = false;
  if (!isNew && check == SaveCheck::CompareWithDisk) {
    const DiskState disk = entry.snapshot.Compare();
    if (disk != DiskState::AsRead) {
      entry.disk = disk;
      return SaveResult::Conflict;
    }
    fileThere = entry.snapshot.Exists();
  }
  if (!fileThere) {
    std::error_code ignored;  // a folder that cannot be made fails the save, which says why
    fs::create_directories(KindFolder(Kind::kFolder), ignored);
  }
  staged = entry.object->SaveToDisk(batch);
  return SaveResult::Saved;
}

template <typename Kind>
SaveResult ObjectFiles<Kind>::Finish(int index, const hc::SaveBatch& batch, std::size_t staged) {
  if (!batch.OutcomeOf(staged).saved) return SaveResult::Failed;
  Entry& entry = entries_.at(index);
  entry.snapshot = FileSnapshot::Take(FileName(index), FileSnapshot::Bytes::Skip);
  entry.disk = DiskState::AsRead;
  return SaveResult::Saved;
}

template <typename Kind>
void ObjectFiles<Kind>::Discard(int index) {
  Entry& entry = entries_.at(index);
  const std::int16_t identity = entry.object->m_DiskIdentity;
  Entry fresh = identity < 0 ? Entry{} : Load(identity);
  if (!fresh.snapshot.Exists()) {
    entries_.erase(entries_.begin() + index);
    return;
  }
  fresh.id = entry.id;
  entry = std::move(fresh);
}

template <typename Kind>
void ObjectFiles<Kind>::Remove(int index) {
  Entry& entry = entries_.at(index);
  if (entry.object->m_DiskIdentity >= 0) entry.object->RemoveFromDisk(entry.object->m_DiskIdentity);
  entries_.erase(entries_.begin() + index);
}

template <typename Kind>
DiskCheck ObjectFiles<Kind>::CheckDisk() {
  DiskCheck check;
  const auto line = [&check](const char* text, const Object& object, std::int16_t identity) {
    const QString path = QString::fromStdU16String(Object::CreateFileName(identity));
    check.lines << Tr(text).arg(Tr(Kind::kNoun), Kind::Name(object), path.section(u'/', -1));
  };
  std::set<std::int16_t> listed;
  for (std::size_t i = 0; i < entries_.size();) {
    Entry& entry = entries_[i];
    const std::int16_t identity = entry.object->m_DiskIdentity;
    if (identity < 0) {
      ++i;
      continue;
    }
    listed.insert(identity);
    const DiskState disk = entry.snapshot.Compare();
    if (disk == DiskState::AsRead) {
      check.changed |= entry.disk != DiskState::AsRead;
      entry.disk = DiskState::AsRead;
      ++i;
      continue;
    }
    if (IsModified(int(i))) {
      if (entry.disk != disk) {
        check.changed = true;
        line(disk == DiskState::Removed
                 ? "The %1 \"%2\" (%3) was removed on disk by another program; it has unsaved "
                   "changes here, and saving it will ask what to do."
                 : "The %1 \"%2\" (%3) was changed on disk by another program; it has unsaved "
                   "changes here, and saving it will ask what to do.",
             *entry.object, identity);
      }
      entry.disk = disk;
      ++i;
      continue;
    }
    check.changed = true;
    Entry fresh = Load(identity);
    if (!fresh.snapshot.Exists()) {
      line("The %1 \"%2\" (%3) was removed on disk by another program.", *entry.object, identity);
      entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
      continue;
    }
    fresh.id = entry.id;
    entry = std::move(fresh);
    line("The %1 \"%2\" (%3) was changed on disk by another program and is read again.",
         *entry.object, identity);
    ++i;
  }
  for (const std::int16_t identity : FilesOnDisk()) {
    if (listed.count(identity) != 0) continue;
    entries_.push_back(Load(identity));
    check.changed = true;
    line("The %1 \"%2\" (%3) was added on disk by another program.", *entries_.back().object,
         identity);
  }
  return check;
}

template <typename Kind>
void ObjectFiles<Kind>::Refuse(int index, int field, const RefusedField& refused) {
  entries_.at(index).refused[field] = refused;
}

template <typename Kind>
void ObjectFiles<Kind>::Accept(int index, int field) {
  entries_.at(index).refused.erase(field);
}

template class ObjectFiles<ProfileKind>;
template class ObjectFiles<ReceiverKind>;

}  // namespace ConfigEditor
