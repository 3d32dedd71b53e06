// What this program, as the host of the configuration classes, provides them: the texts of
// the numbered text table their log lines start with, and the names of the 23 day types.
// All of them in the user's language, through Qt's translations.
#pragma once

#include <QString>

namespace ConfigEditor {

// Fills the numbered text table (GetTextByNumber) with the texts of the receivers' and
// profiles' log lines and of the receiver type's name. The weekday headings of the
// calendar (611..617) are left out: the calendar then takes them from the user's locale,
// like its month names.
void InstallProgramTexts();

// Fills DayTypeShortNames and DayTypeNames: "Mon" .. "Sun" and "Monday" .. "Sunday", then
// "S1" .. "S16" and "Special day 1" .. "Special day 16".
void InstallDayTypeNames();

// A count with its noun: "1 receiver", "2 receivers".
QString Counted(qsizetype count, const QString& one, const QString& many);

// The calendar's day-type list: item 1 is the ordinary day (value 0), then values 1..7
// ("Like Monday" ..) and 8..23 (the special day types' names).
inline constexpr int kDayTypeItems = 24;
QString DayTypeItemText(int value);

}  // namespace ConfigEditor
