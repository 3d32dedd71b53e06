#include "config-editor/ObjectFiles.h"

#include <QCoreApplication>
#include <algorithm>
#include <filesystem>
#include <string_view>

#include "common/Halvane_Common_Procedures.h"

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

}  // namespace

bool ObjectList::AnyModified() const {
  for (int i = 0; i < Count(); ++i) {
    if (IsModified(i)) return true;
  }
  return false;
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
void ObjectFiles<Kind>::LoadAll() {
  entries_.clear();
  std::vector<int> identities;
  std::error_code error;
  for (fs::directory_iterator it(KindFolder(Kind::kFolder), error), end; !error && it != end;
       it.increment(error)) {
    const int identity = IdentityOf(it->path().filename().string(), Kind::kPrefix);
    if (identity >= 0 && it->is_regular_file(error)) identities.push_back(identity);
  }
  std::sort(identities.begin(), identities.end());
  for (const int identity : identities) {
    Entry entry{std::make_shared<Object>(), {}};
    Load(entry, static_cast<std::int16_t>(identity));
    entries_.push_back(std::move(entry));
  }
}

template <typename Kind>
void ObjectFiles<Kind>::Load(Entry& entry, std::int16_t identity) {
  entry.problem.clear();
  if (entry.object->LoadFromDisk(identity)) return;
  // The classes say nothing of a file too short to hold a version number.
  std::error_code error;
  const auto size = fs::file_size(hcp::Utf16ToUtf8(Object::CreateFileName(identity)), error);
  entry.problem = !error && size < 2 ? Tr("the file holds no version number")
                                     : Tr("the file cannot be loaded (see the log)");
  // It keeps the identity of its file, for removing it.
  entry.object->m_DiskIdentity = identity;
}

template <typename Kind>
ObjectList::Row ObjectFiles<Kind>::RowAt(int index) const {
  const Entry& entry = entries_.at(index);
  return {entry.object->m_DiskIdentity, Kind::Name(*entry.object),
          Kind::Enabled(*entry.object), IsModified(index),
          entry.problem.isEmpty(),      entry.problem};
}

template <typename Kind>
bool ObjectFiles<Kind>::IsModified(int index) const {
  const Entry& entry = entries_.at(index);
  if (!entry.problem.isEmpty()) return false;
  return entry.object->m_DiskIdentity < 0 || entry.object->HasChangedSinceLastLoadFromDisk();
}

template <typename Kind>
QString ObjectFiles<Kind>::FileName(int index) const {
  const std::int16_t identity = entries_.at(index).object->m_DiskIdentity;
  return identity < 0 ? QString() : QString::fromStdU16String(Object::CreateFileName(identity));
}

template <typename Kind>
int ObjectFiles<Kind>::AddNew() {
  entries_.push_back({Kind::New(), {}});
  return Count() - 1;
}

template <typename Kind>
int ObjectFiles<Kind>::Duplicate(int index) {
  auto copy = std::make_shared<Object>();
  copy->CopyFrom(*At(index));
  Kind::SetName(*copy, Tr("%1 (copy)").arg(Kind::Name(*copy)));
  entries_.push_back({std::move(copy), {}});
  return Count() - 1;
}

template <typename Kind>
bool ObjectFiles<Kind>::Save(int index) {
  Entry& entry = entries_.at(index);
  if (!entry.problem.isEmpty()) return false;
  std::error_code ignored;  // a folder that cannot be made fails the save, which says why
  fs::create_directories(KindFolder(Kind::kFolder), ignored);
  return entry.object->SaveToDisk();
}

template <typename Kind>
void ObjectFiles<Kind>::Discard(int index) {
  Entry& entry = entries_.at(index);
  if (entry.object->m_DiskIdentity < 0) {
    entries_.erase(entries_.begin() + index);
    return;
  }
  Entry fresh{std::make_shared<Object>(), {}};
  Load(fresh, entry.object->m_DiskIdentity);
  entry = std::move(fresh);
}

template <typename Kind>
void ObjectFiles<Kind>::Remove(int index) {
  Entry& entry = entries_.at(index);
  if (entry.object->m_DiskIdentity >= 0) entry.object->RemoveFromDisk(entry.object->m_DiskIdentity);
  entries_.erase(entries_.begin() + index);
}

template class ObjectFiles<ProfileKind>;
template class ObjectFiles<ReceiverKind>;

}  // namespace ConfigEditor
