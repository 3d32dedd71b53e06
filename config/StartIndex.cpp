#include "config/StartIndex.h"

#include <algorithm>
#include <climits>

namespace Halvane_Config {

namespace {

constexpr std::pair<int, int> kNone{INT_MAX, INT_MAX};

}  // namespace

StartIndex::StartIndex(const std::vector<std::int16_t>& starts)
    : starts_(starts), distinct_(starts) {
  std::sort(distinct_.begin(), distinct_.end());
  distinct_.erase(std::unique(distinct_.begin(), distinct_.end()), distinct_.end());
  while (leaves_ < distinct_.size())
    leaves_ *= 2;
  present_.resize(distinct_.size());
  for (int period = 0; period < static_cast<int>(starts.size()); ++period) {
    const auto leaf = std::lower_bound(distinct_.begin(), distinct_.end(), starts[period]);
    present_[static_cast<std::size_t>(leaf - distinct_.begin())].insert(period);
  }
  tree_.assign(2 * leaves_, kNone);
  for (std::size_t leaf = 0; leaf < distinct_.size(); ++leaf)
    tree_[leaves_ + leaf] = Lowest(leaf);
  for (std::size_t node = leaves_ - 1; node >= 1; --node)
    tree_[node] = Combine(tree_[2 * node], tree_[2 * node + 1]);
}

StartIndex::Two StartIndex::Combine(Two a, Two b) {
  if (a.first > b.first) std::swap(a, b);
  return {a.first, std::min(a.second, b.first)};
}

StartIndex::Two StartIndex::Lowest(std::size_t leaf) const {
  const std::set<int>& periods = present_[leaf];
  auto it = periods.begin();
  if (it == periods.end()) return kNone;
  const int first = *it++;
  return {first, it == periods.end() ? INT_MAX : *it};
}

void StartIndex::Remove(int period) {
  const auto at = std::lower_bound(distinct_.begin(), distinct_.end(), starts_[period]);
  const auto leaf = static_cast<std::size_t>(at - distinct_.begin());
  present_[leaf].erase(period);
  std::size_t node = leaves_ + leaf;
  tree_[node] = Lowest(leaf);
  for (node /= 2; node >= 1; node /= 2)
    tree_[node] = Combine(tree_[2 * node], tree_[2 * node + 1]);
}

int StartIndex::First(int low, int high, int except) const {
  if (low > high) return -1;
  auto from = static_cast<std::size_t>(std::lower_bound(distinct_.begin(), distinct_.end(), low) -
                                       distinct_.begin());
  auto to = static_cast<std::size_t>(std::upper_bound(distinct_.begin(), distinct_.end(), high) -
                                     distinct_.begin());
  Two found = kNone;
  for (from += leaves_, to += leaves_; from < to; from /= 2, to /= 2) {
    if (from & 1) found = Combine(found, tree_[from++]);
    if (to & 1) found = Combine(found, tree_[--to]);
  }
  const int first = found.first == except ? found.second : found.first;
  return first == INT_MAX ? -1 : first;
}

}  // namespace Halvane_Config
