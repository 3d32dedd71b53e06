// A program-wide collection of configuration objects by key, in the order they were added,
// like ReceiverCollection and ProfileCollection: the key of an object stored with disk
// identity 42 is "42K". Keys compare exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "common/RuntimeError.h"
#include "common/Text1252.h"

namespace Halvane_Config {

// "This key is already associated with an element of this collection".
inline constexpr int kKeyAlreadyAssociated = 457;

// The key of the object with this disk identity: the identity in decimal, then "K".
inline std::u16string CollectionKey(std::int16_t DiskIdentity) {
  return Halvane_Common_Procedures::Utf8ToUtf16(std::to_string(DiskIdentity)) + u"K";
}

template <typename T>
class KeyedCollection {
 public:
  using Entry = std::pair<std::u16string, std::shared_ptr<T>>;

  // A key already in use raises error 457 and adds nothing.
  void Add(std::shared_ptr<T> item, std::u16string key) {
    if (Contains(key)) {
      throw Halvane_Common_Procedures::RuntimeError(
          kKeyAlreadyAssociated,
          "This key is already associated with an element of this collection");
    }
    entries_.emplace_back(std::move(key), std::move(item));
    index_.emplace(entries_.back().first, std::prev(entries_.end()));
  }
  bool Contains(const std::u16string& key) const { return index_.count(key) != 0; }
  // A missing key raises error 5, here and in Remove.
  const std::shared_ptr<T>& Item(const std::u16string& key) const { return Find(key)->second; }
  void Remove(const std::u16string& key) {
    const auto entry = Find(key);
    index_.erase(key);
    entries_.erase(entry);
  }
  void Clear() {
    index_.clear();
    entries_.clear();
  }
  std::size_t Count() const { return entries_.size(); }
  // The entries (key and object) in the order they were added.
  auto begin() const { return entries_.cbegin(); }
  auto end() const { return entries_.cend(); }

 private:
  using Iterator = typename std::list<Entry>::iterator;

  Iterator Find(const std::u16string& key) const {
    const auto found = index_.find(key);
    if (found == index_.end()) {
      throw Halvane_Common_Procedures::RuntimeError(
          Halvane_Common_Procedures::kInvalidProcedureCall);
    }
    return found->second;
  }

  std::list<Entry> entries_;
  std::unordered_map<std::u16string, Iterator> index_;
};

}  // namespace Halvane_Config
