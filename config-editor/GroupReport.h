// What the user is told about the schedule's group: the days that edit together. The
// schedule copies a change of a grouped day to every other grouped day, Delete and
// 00:00-24:00 take the day out of the group, and Paste and Group make it join; none of
// this shows in the picture but a small corner mark, so the window names the group beside
// the schedule and logs what each operation did to it.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <utility>
#include <vector>

#include "config/DayTypes.h"

namespace Halvane_Config {
class cTimeSchedule;
}

namespace ConfigEditor {

// The grouping and the periods of every day type, taken before and after an operation.
struct GroupState {
  std::array<bool, Halvane_Config::kDayTypeCount> grouped{};
  std::array<std::vector<std::pair<int, int>>, Halvane_Config::kDayTypeCount> periods;

  static GroupState Of(const Halvane_Config::cTimeSchedule& schedule);
};

// One log line for each thing the operation did to the group: days that left it, days
// that joined it ("Sunday joined the group of Monday", the group named by its first day
// that stayed in it) or formed it, and grouped days that took the periods of the day the
// operation worked on (source; -1 for none).
QStringList DescribeGroupChange(const GroupState& before, const GroupState& after, int source);

// "Mon-Fri grouped", "Mon, Wed, S3 grouped"; empty when no day is grouped.
QString GroupLabel(const GroupState& state);

}  // namespace ConfigEditor
