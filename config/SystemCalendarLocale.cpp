// The calendar's locale from the C library. Month and weekday names come from the locale's
// LC_TIME data, in the multibyte codeset of that locale; glibc adds the week rules
// (first day of the week, minimal days of week 1) to LC_TIME.
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

#include "common/DateTime.h"
#include "common/RuntimeError.h"
#include "config/CalendarLocale.h"

#if !defined(__STDC_ISO_10646__)
#error "wide characters must hold Unicode code points"
#endif

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// The locale of the user's dates, resolved from the environment as the C library does.
std::string UserTimeLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') return value;
  }
  return "C";
}

bool StandsForNoChoice(std::string_view name) {
  return name == "C" || name == "POSIX" || name.starts_with("C.");
}

// A loaded locale whose character type matches its time texts, so that their multibyte
// codeset converts correctly whatever the program's own locale is.
class LoadedLocale {
 public:
  explicit LoadedLocale(const std::string& name)
      : locale_(::newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name.c_str(), locale_t{})) {}
  ~LoadedLocale() {
    if (locale_ != locale_t{}) ::freelocale(locale_);
  }
  LoadedLocale(const LoadedLocale&) = delete;
  LoadedLocale& operator=(const LoadedLocale&) = delete;

  bool Loaded() const { return locale_ != locale_t{}; }

  const char* Text(nl_item item) const { return ::nl_langinfo_l(item, locale_); }

  // A byte-sized setting, or 0 when the locale has none.
  int Byte(nl_item item) const { return static_cast<unsigned char>(*Text(item)); }

  // A word-sized setting: the C library hands it over in place of the text pointer.
  unsigned Word(nl_item item) const {
    const char* pointer = Text(item);
    unsigned word = 0;
    std::memcpy(&word, &pointer, sizeof word);
    return word;
  }

  std::u16string Utf16(nl_item item) const {
    // The conversion functions read the thread's locale; this one lends its codeset.
    struct Lend {
      locale_t previous;
      ~Lend() { ::uselocale(previous); }
    } lend{::uselocale(locale_)};

    const char* text = Text(item);
    std::size_t left = std::strlen(text);
    std::u16string out;
    std::mbstate_t state{};
    while (left > 0) {
      wchar_t wide = 0;
      const std::size_t used = std::mbrtowc(&wide, text, left, &state);
      if (used == static_cast<std::size_t>(-1) || used == static_cast<std::size_t>(-2) ||
          used == 0) {
        out += kReplacement;
        state = {};
        ++text, --left;
        continue;
      }
      AppendCodePoint(out, static_cast<char32_t>(wide));
      text += used, left -= used;
    }
    return out;
  }

 private:
  static void AppendCodePoint(std::u16string& out, char32_t point) {
    if (point >= 0x10000 && point <= 0x10FFFF) {
      point -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (point >> 10));
      out += static_cast<char16_t>(0xDC00 + (point & 0x3FF));
    } else if (point < 0xD800 || (point > 0xDFFF && point < 0x10000)) {
      out += static_cast<char16_t>(point);
    } else {
      out += kReplacement;
    }
  }

  locale_t locale_;
};

// glibc keeps the first day of the week as a day of a reference week (a date such as
// 19971130, a Sunday) and the 1-based index of the first day counted from it.
int FirstDayOfWeek(const LoadedLocale& locale) {
  const unsigned reference = locale.Word(_NL_TIME_WEEK_1STDAY);
  const int first = locale.Byte(_NL_TIME_FIRST_WEEKDAY);
  if (reference == 0 || first < 1 || first > 7) return kIsoWeeks.firstDayOfWeek;
  const int referenceWeekday = hcp::WeekdayFromMonday(
      hcp::DateSerial(static_cast<int>(reference / 10000), static_cast<int>(reference / 100 % 100),
                      static_cast<int>(reference % 100)));
  return (referenceWeekday + first - 1) % 7;
}

int MinimalDaysInFirstWeek(const LoadedLocale& locale) {
  const int days = locale.Byte(_NL_TIME_WEEK_1STWEEK);
  return days >= 1 && days <= 7 ? days : kIsoWeeks.minimalDaysInFirstWeek;
}

}  // namespace

SystemCalendarLocale::SystemCalendarLocale(std::string_view localeName) {
  const std::string name = localeName.empty() ? UserTimeLocaleName() : std::string(localeName);
  const LoadedLocale user(name);
  const LoadedLocale plain("C");
  const LoadedLocale& locale = user.Loaded() ? user : plain;

  for (int month = 0; month < 12; ++month) {
    // The title names the month on its own: the stand-alone form where a language has one
    // ("Февраль 2000", not the genitive "февраля").
#ifdef ALTMON_1
    months_[month] = locale.Utf16(ALTMON_1 + month);
#endif
    if (months_[month].empty()) months_[month] = locale.Utf16(MON_1 + month);
  }
  for (int weekday = 0; weekday < 7; ++weekday) {
    // ABDAY_1 is Sunday.
    weekdays_[weekday] = locale.Utf16(ABDAY_1 + (weekday + 1) % 7);
  }
  if (user.Loaded() && !StandsForNoChoice(name))
    weeks_ = {FirstDayOfWeek(locale), MinimalDaysInFirstWeek(locale)};
}

std::u16string SystemCalendarLocale::MonthName(int month) const {
  if (month < 1 || month > 12) throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
  return months_[month - 1];
}

std::u16string SystemCalendarLocale::ShortDayName(int weekday) const {
  if (weekday < 0 || weekday > 6) throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
  return weekdays_[weekday];
}

}  // namespace Halvane_Config
