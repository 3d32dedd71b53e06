// Answers, for the merging of a day type's periods, "which period comes first in the
// collection among those that start between two minutes", while periods leave it.
#pragma once

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace Halvane_Config {

class StartIndex {
 public:
  // Periods are numbered by their place in the collection; all are present at first.
  explicit StartIndex(const std::vector<std::int16_t>& starts);

  void Remove(int period);
  // The lowest-numbered present period other than `except` whose start lies in
  // [low, high], or -1.
  int First(int low, int high, int except) const;

 private:
  // The two lowest numbers present below a node of the tree.
  using Two = std::pair<int, int>;
  static Two Combine(Two a, Two b);
  Two Lowest(std::size_t leaf) const;

  std::vector<std::int16_t> starts_;    // of every period, by number
  std::vector<std::int16_t> distinct_;  // the distinct starts, ascending: one leaf each
  std::vector<std::set<int>> present_;  // per leaf, the periods present
  std::size_t leaves_ = 1;
  std::vector<Two> tree_;  // tree_[1] is the root, leaves from tree_[leaves_]
};

}  // namespace Halvane_Config
