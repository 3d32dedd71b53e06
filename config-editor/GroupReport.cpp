#include "config-editor/GroupReport.h"

#include <QCoreApplication>
#include <algorithm>
#include <functional>

#include "config/HostProgramData.h"
#include "config/cTimeSchedule.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;

namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("ConfigEditor", text);
}

// Runs of consecutive day types, never across the end of the week.
std::vector<std::pair<int, int>> Runs(const std::vector<int>& days) {
  std::vector<std::pair<int, int>> runs;
  for (const int day : days) {
    if (!runs.empty() && runs.back().second == day - 1 && day != hc::kWeekDayTypes) {
      runs.back().second = day;
    } else {
      runs.emplace_back(day, day);
    }
  }
  return runs;
}

QString Name(int day) {
  return QString::fromStdU16String(hc::DayTypeNames[day]);
}

// "Tuesday to Friday", "Saturday and Sunday", "Monday, Wednesday and Special day 2".
QString Names(const std::vector<int>& days) {
  QStringList parts;
  for (const auto& [first, last] : Runs(days)) {
    if (last - first >= 2) {
      parts << Tr("%1 to %2").arg(Name(first), Name(last));
    } else {
      for (int day = first; day <= last; ++day)
        parts << Name(day);
    }
  }
  if (parts.size() < 2) return parts.join(QString());
  const QString last = parts.takeLast();
  return Tr("%1 and %2").arg(parts.join(QStringLiteral(", ")), last);
}

std::vector<int> Where(const std::function<bool(int day)>& test) {
  std::vector<int> days;
  for (int day = 0; day < hc::kDayTypeCount; ++day)
    if (test(day)) days.push_back(day);
  return days;
}

}  // namespace

GroupState GroupState::Of(const hc::cTimeSchedule& schedule) {
  GroupState state;
  for (int day = 0; day < hc::kDayTypeCount; ++day) {
    state.grouped[day] = schedule.GetGrouped(day);
    for (const hc::PeriodRef& period : schedule.GetPeriods(day))
      state.periods[day].emplace_back(period->m_StartMinute, period->m_StopMinute);
  }
  return state;
}

QStringList DescribeGroupChange(const GroupState& before, const GroupState& after, int source) {
  QStringList lines;
  const auto changed = [&](int day) { return before.periods[day] != after.periods[day]; };
  const std::vector<int> left =
      Where([&](int day) { return before.grouped[day] && !after.grouped[day]; });
  const std::vector<int> joined =
      Where([&](int day) { return !before.grouped[day] && after.grouped[day]; });
  const std::vector<int> stayed =
      Where([&](int day) { return before.grouped[day] && after.grouped[day]; });
  if (!left.empty()) lines << Tr("%1 left the group.").arg(Names(left));
  bool joinedTook = false;
  if (!joined.empty() && !stayed.empty()) {
    joinedTook = std::any_of(joined.begin(), joined.end(), changed);
    lines << (joinedTook ? Tr("%1 joined the group of %2 and took its periods.")
                         : Tr("%1 joined the group of %2."))
                 .arg(Names(joined), Name(stayed.front()));
  } else if (joined.size() == 1) {
    lines << Tr("%1 started a group: days grouped with it later take its periods.")
                 .arg(Name(joined.front()));
  } else if (!joined.empty()) {
    lines << Tr("%1 are grouped.").arg(Names(joined));
  }
  if (source >= 0 && after.grouped[source]) {
    const std::vector<int> took = Where([&](int day) {
      const bool reported = joinedTook && !before.grouped[day];
      return day != source && after.grouped[day] && changed(day) && !reported;
    });
    if (!took.empty()) {
      lines << Tr("%1 took the periods of %2 (grouped).").arg(Names(took), Name(source));
    }
  }
  return lines;
}

QString GroupLabel(const GroupState& state) {
  QStringList parts;
  const auto shortName = [](int day) {
    return QString::fromStdU16String(hc::DayTypeShortNames[day]);
  };
  for (const auto& [first, last] : Runs(Where([&](int day) { return state.grouped[day]; }))) {
    if (last - first >= 2) {
      parts << QStringLiteral("%1-%2").arg(shortName(first), shortName(last));
    } else {
      for (int day = first; day <= last; ++day)
        parts << shortName(day);
    }
  }
  return parts.isEmpty() ? QString() : Tr("%1 grouped").arg(parts.join(QStringLiteral(", ")));
}

}  // namespace ConfigEditor
