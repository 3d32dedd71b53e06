#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <tuple>

#include "Bytes.h"
#include "ReferenceMerge.h"
#include "TimeScheduleFixture.h"

namespace Halvane_Config {
namespace {

std::string DiskForm(const cTimeSchedule& schedule) {
  std::string bytes;
  schedule.PutDiskForm(bytes);
  return bytes;
}

// A schedule with something in every field: flags, several periods, axis rows, calendar.
void FillVaried(cTimeSchedule& schedule) {
  schedule.m_UseCalendar = true;
  for (int d = 0; d < kDayTypeCount; ++d)
    schedule.SetActive(d, d % 3 != 1);
  schedule.SetDefaultPeriod();
  schedule.AddPeriod(5, 0, 1440);
  schedule.AddPeriod(9, 1439, 1440);
  schedule.AddPeriod(9, 0, 1);
  schedule.AddPeriod(22, 600, 660);
  RecordingHostWindow host;
  host.Answer(HostOperation::Get_Picture_TimeSchedule_Frame_ScaleWidth, 340);
  host.Answer(HostOperation::Get_Picture_TimeSchedule_Frame_ScaleHeight, 180);
  host.Answer(HostOperation::Get_VScroll_Schedule_Width, 17);
  PaintSurface* surface = nullptr;
  schedule.RecalculateAndPrepareToPaint(host, surface, nullptr);  // sets the axis rows
}

// Where each day type's values start in the text or disk form (both 2 units per value),
// and where the closing flag starts.
std::vector<std::size_t> DayTypeOffsets(const cTimeSchedule& schedule) {
  std::vector<std::size_t> offsets{0};
  for (int d = 0; d < kDayTypeCount; ++d)
    offsets.push_back(offsets.back() + 2 * (4 + 2 * schedule.GetPeriods(d).size()));
  return offsets;
}

// What a schedule holds after reading the first `length` units of source's form broke
// off: source's day types that were complete, before's from there on.
std::u16string PartlyReplaced(const cTimeSchedule& source, const cTimeSchedule& before,
                              std::size_t length) {
  const std::vector<std::size_t> sourceAt = DayTypeOffsets(source);
  const std::vector<std::size_t> beforeAt = DayTypeOffsets(before);
  std::size_t complete = 0;
  while (complete < kDayTypeCount && sourceAt[complete + 1] <= length)
    ++complete;
  return source.ComposePeriodArray().substr(0, sourceAt[complete]) +
         before.ComposePeriodArray().substr(beforeAt[complete]);
}

// A schedule unlike FillVaried's in every day type.
cTimeSchedule Before() {
  cTimeSchedule before;
  for (int d = 0; d < kDayTypeCount; ++d)
    before.AddPeriod(d, 100, static_cast<std::int16_t>(200 + d));
  return before;
}

using TimeScheduleModel = TimeScheduleTest;

TEST_F(TimeScheduleModel, ANewScheduleIsTheWeekWithoutPeriods) {
  for (int d = 0; d < kDayTypeCount; ++d) {
    EXPECT_EQ(schedule.GetActive(d), d < 7);
    EXPECT_FALSE(schedule.GetGrouped(d));
    EXPECT_TRUE(schedule.GetPeriods(d).empty());
  }
  EXPECT_EQ(schedule.GetSelectedDayType(), -1);
  EXPECT_EQ(schedule.GetCopiedDayType(), -1);
  EXPECT_EQ(schedule.ComposePeriodArray().size(), 186u);

  const std::string golden =
      Repeat("ffff 0000 0000 0000", 7) + Repeat("0000 0000 0000 0000", 16) + Hex("0000");
  ASSERT_EQ(golden.size(), 186u);
  EXPECT_EQ(DiskForm(schedule), golden);

  cTimeSchedule back;
  back.SetActive(9, true);
  back.AddPeriod(0, 1, 2);
  hcp::ByteReader in(golden);
  back.GetDiskForm(in);
  EXPECT_EQ(back.ComposePeriodArray(), schedule.ComposePeriodArray());
  EXPECT_TRUE(back.GetPeriods(0).empty());
}

TEST_F(TimeScheduleModel, DiskFormHoldsPeriodsFlagsAndRows) {
  schedule.SetDefaultPeriod();
  schedule.AddPeriod(0, 1380, 1440);
  schedule.m_UseCalendar = true;
  schedule.SetActive(8, true);
  Layout();  // Saturday row 5, Sunday 6, special day type 8 row 7
  const std::string golden =
      Hex("ffff ffff 0200 a401 c003 6405 a005 0000") +           // Monday: 07-16, 23-24
      Hex("ffff ffff 0100 a401 c003 0100") +                     // Tuesday, row 1
      Hex("ffff ffff 0100 a401 c003 0200") +                     // Wednesday
      Hex("ffff ffff 0100 a401 c003 0300") +                     // Thursday
      Hex("ffff ffff 0100 a401 c003 0400") +                     // Friday
      Hex("ffff 0000 0000 0500") + Hex("ffff 0000 0000 0600") +  // Saturday, Sunday
      Hex("0000 0000 0000 0700") + Hex("ffff 0000 0000 0700") +  // 7 inactive, 8 active
      Repeat("0000 0000 0000 0800", 14) + Hex("ffff");
  EXPECT_EQ(DiskForm(schedule), golden);
  EXPECT_EQ(golden.size(), 186u + 4 * 6);

  // Through a file, after what an owner wrote before it.
  char pattern[] = "/tmp/schedule.XXXXXX";
  const int descriptor = ::mkstemp(pattern);
  ASSERT_GE(descriptor, 0);
  ::close(descriptor);
  {
    hcp::BinaryFile file(hcp::Utf8ToUtf16(pattern));
    file.Put("profile record");
    schedule.SaveToDisk(file);
    file.Put("after");
  }
  cTimeSchedule back;
  {
    hcp::BinaryFile file(hcp::Utf8ToUtf16(pattern));
    file.Seek(15);
    back.ReadFromDisk(file);
    EXPECT_EQ(file.Get(5), "after");
  }
  std::remove(pattern);
  EXPECT_EQ(back.ComposePeriodArray(), schedule.ComposePeriodArray());
  EXPECT_TRUE(back.m_UseCalendar);
  EXPECT_EQ(back.GetAxisRow(8), 7);
}

TEST_F(TimeScheduleModel, EveryTruncatedDiskFormFailsAndKeepsWhatItHadNotReached) {
  cTimeSchedule source;
  FillVaried(source);
  const std::string bytes = DiskForm(source);
  const cTimeSchedule before = Before();
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    cTimeSchedule target;
    target.ExtractPeriodArray(before.ComposePeriodArray());
    hcp::ByteReader in(std::string_view(bytes).substr(0, length));
    ASSERT_EQ(ErrorNumberOf([&] { target.GetDiskForm(in); }), hcp::kInputPastEndOfFile) << length;
    ASSERT_EQ(target.ComposePeriodArray(), PartlyReplaced(source, before, length)) << length;
  }
}

TEST_F(TimeScheduleModel, RefusesDiskFormsNoScheduleCanHold) {
  const std::string head = Hex("ffff 0000");  // Monday active, not grouped
  const struct {
    std::string bytes;
    int error;
  } cases[] = {
      {head + Hex("ff7f 0000 0000 0000"), hcp::kInputPastEndOfFile},  // 32767 periods announced
      {head + Hex("ffff 0000"), hcp::kInvalidFileFormat},             // -1 periods
  };
  for (const auto& c : cases) {
    cTimeSchedule target;
    target.AddPeriod(0, 60, 120);
    const std::u16string before = target.ComposePeriodArray();
    const std::string bytes = c.bytes + std::string(400, '\0');
    hcp::ByteReader in(bytes);
    EXPECT_EQ(ErrorNumberOf([&] { target.GetDiskForm(in); }), c.error);
    EXPECT_EQ(target.ComposePeriodArray(), before);  // Monday stays as it was
  }
}

TEST_F(TimeScheduleModel, MinutesOutsideTheDayAreKeptAndClippedWhereTheyDrawOrInvert) {
  schedule.AddPeriod(0, -5, 2000);
  schedule.AddPeriod(1, 1000, 500);
  schedule.AddPeriod(1, 32767, -32768);
  schedule.AddPeriod(2, -300, 60);
  schedule.AddPeriod(3, 480, 600);
  EXPECT_EQ(schedule.DayTypesOutsideTheDay(), (std::vector<int>{0, 1, 2}));
  for (const auto& [start, stop, outside] :
       {std::tuple{0, 1440, false}, {-1, 1440, true}, {0, 1441, true}}) {
    const cTimeSchedulePeriod period{static_cast<std::int16_t>(start),
                                     static_cast<std::int16_t>(stop)};
    EXPECT_EQ(IsOutsideTheDay(period), outside) << start << ".." << stop;
  }
  const std::string bytes = DiskForm(schedule);
  cTimeSchedule back;
  hcp::ByteReader in(bytes);
  back.GetDiskForm(in);
  EXPECT_EQ(DiskForm(back), bytes);

  // Every line stays on the axis, 30..318; a bar that ends before it starts is not drawn.
  Layout();
  schedule.Paint(host, &surface);
  std::vector<std::string> bars;
  for (const RecordingPaintSurface::Drawing& d : surface.drawings) {
    ASSERT_TRUE(d.kind != RecordingPaintSurface::Drawing::Kind::Line ||
                (std::min(d.x1, d.x2) >= 30 && std::max(d.x1, d.x2) <= 318));
    if (d.kind == RecordingPaintSurface::Drawing::Kind::Line && d.colour == Rgb(0, 240, 0))
      bars.push_back(std::to_string(int(d.x1)) + ".." + std::to_string(int(d.x2)) + " row " +
                     std::to_string(int(d.y1) / 25));
  }
  EXPECT_EQ(bars, (std::vector<std::string>{"30..318 row 0", "30..42 row 2", "126..150 row 3"}));

  const std::pair<int, Minutes> inverted[] = {
      {0, {}}, {1, {{0, 1440}}}, {2, {{60, 1440}}}, {3, {{0, 480}, {600, 1440}}}};
  for (const auto& [dayType, expected] : inverted) {
    mouse.ClickAt(kMiddleButton, X(720), RowY(dayType));
    schedule.InvertTimeSchedule(host, surface);
    EXPECT_EQ(PeriodsOf(dayType), expected) << dayType;
  }
}

TEST_F(TimeScheduleModel, PeriodArrayTextSurvivesComposeExtractCompose) {
  FillVaried(schedule);
  schedule.AddPeriod(3, -5, 2000);  // values the text carries as they are
  const std::u16string text = schedule.ComposePeriodArray();
  EXPECT_EQ(text.size(), 2u * (23 * 4 + 2 * 10 + 1));
  // The -1 flags are two characters of code 255.
  EXPECT_EQ(text.substr(0, 2), (std::u16string{0xFF, 0xFF}));

  cTimeSchedule copy;
  copy.AddPeriod(20, 1, 2);
  copy.ExtractPeriodArray(text);
  EXPECT_EQ(copy.ComposePeriodArray(), text);
  EXPECT_TRUE(copy.m_UseCalendar);
  EXPECT_EQ(copy.GetAxisRow(22), schedule.GetAxisRow(22));
  EXPECT_TRUE(copy.GetPeriods(20).empty());
  // New objects, not the source's.
  EXPECT_NE(copy.GetPeriods(0).front(), schedule.GetPeriods(0).front());
}

TEST_F(TimeScheduleModel, ShortOrOddPeriodArrayTextsFailAsInvalidArguments) {
  FillVaried(schedule);
  const std::u16string text = schedule.ComposePeriodArray();
  const cTimeSchedule before = Before();
  for (std::size_t length = 0; length < text.size(); ++length) {
    cTimeSchedule target;
    target.ExtractPeriodArray(before.ComposePeriodArray());
    ASSERT_EQ(ErrorNumberOf([&] { target.ExtractPeriodArray(text.substr(0, length)); }),
              hcp::kInvalidProcedureCall)
        << length;
    ASSERT_EQ(target.ComposePeriodArray(), PartlyReplaced(schedule, before, length)) << length;
  }
  // A negative count is refused as well; text after the sequence is ignored.
  std::u16string negative = text;
  negative[4] = negative[5] = 0xFF;
  EXPECT_EQ(ErrorNumberOf([&] { schedule.ExtractPeriodArray(negative); }),
            hcp::kInvalidProcedureCall);
  schedule.ExtractPeriodArray(text + u"x");
  EXPECT_EQ(schedule.ComposePeriodArray(), text);
}

TEST_F(TimeScheduleModel, GetNextTimePeriodWalksTheVerySameObjects) {
  const PeriodRef first = schedule.AddPeriod(2, 60, 120);
  const PeriodRef second = schedule.AddPeriod(2, 480, 600);
  std::int16_t start = -7, stop = -7;
  EXPECT_EQ(schedule.GetNextTimePeriod(2, start, stop, nullptr), first);
  EXPECT_EQ(start, 60);
  EXPECT_EQ(stop, 120);
  EXPECT_EQ(schedule.GetNextTimePeriod(2, start, stop, first), second);
  EXPECT_EQ(start, 480);
  EXPECT_EQ(schedule.GetNextTimePeriod(2, start, stop, second), nullptr);
  EXPECT_EQ(start, 480);

  // Equal values are not the same period.
  const auto lookalike = std::make_shared<cTimeSchedulePeriod>(*first);
  EXPECT_EQ(schedule.GetNextTimePeriod(2, start, stop, lookalike), nullptr);

  schedule.SetActive(2, false);
  start = stop = -7;
  EXPECT_EQ(schedule.GetNextTimePeriod(2, start, stop, nullptr), nullptr);
  EXPECT_EQ(start, -7);
  EXPECT_EQ(schedule.GetNextTimePeriod(3, start, stop, nullptr), nullptr);

  for (int bad : {-1, 23}) {
    EXPECT_EQ(ErrorNumberOf([&] { schedule.GetNextTimePeriod(bad, start, stop, nullptr); }),
              hcp::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { schedule.SetActive(bad, true); }), hcp::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { schedule.GetActive(bad); }), hcp::kSubscriptOutOfRange);
  }
}

TEST_F(TimeScheduleModel, DefaultPeriodsAddUpWithoutMerging) {
  schedule.AddPeriod(0, 0, 60);
  schedule.SetDefaultPeriod();
  schedule.SetDefaultPeriod();
  EXPECT_EQ(PeriodsOf(0), (Minutes{{0, 60}, {420, 960}, {420, 960}}));
  for (int d = 1; d < 5; ++d) {
    EXPECT_EQ(PeriodsOf(d), (Minutes{{420, 960}, {420, 960}}));
    EXPECT_TRUE(schedule.GetGrouped(d));
  }
  EXPECT_TRUE(schedule.GetPeriods(5).empty());
  EXPECT_FALSE(schedule.GetGrouped(5));
}

TEST_F(TimeScheduleModel, MergingExtendsTheEarlierStartInAnyOrder) {
  Minutes periods{{480, 600}, {540, 570}, {600, 660}};
  std::sort(periods.begin(), periods.end());
  do {
    cTimeSchedule merged;
    for (auto [start, stop] : periods)
      merged.AddPeriod(4, static_cast<std::int16_t>(start), static_cast<std::int16_t>(stop));
    const PeriodRef earliest =
        *std::find_if(merged.GetPeriods(4).begin(), merged.GetPeriods(4).end(),
                      [](const PeriodRef& p) { return p->m_StartMinute == 480; });
    merged.MergePeriods(4);
    ASSERT_EQ(merged.GetPeriods(4).size(), 1u);
    EXPECT_EQ(merged.GetPeriods(4).front(), earliest);  // never moved earlier, only extended
    EXPECT_EQ(earliest->m_StopMinute, 660);
  } while (std::next_permutation(periods.begin(), periods.end()));
}

TEST_F(TimeScheduleModel, MergingAgreesWithAMinuteMapOnRandomSets) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 300; ++round) {
    cTimeSchedule merged;
    const int count = 1 + static_cast<int>(random() % 40);
    const int longest = 1 + static_cast<int>(random() % 400);
    std::vector<bool> covered(1440, false);
    for (int i = 0; i < count; ++i) {
      const int start = static_cast<int>(random() % 1440);
      const int stop = std::min(1440, start + 1 + static_cast<int>(random() % longest));
      merged.AddPeriod(1, static_cast<std::int16_t>(start), static_cast<std::int16_t>(stop));
      std::fill(covered.begin() + start, covered.begin() + stop, true);
    }
    const std::vector<PeriodRef> originals = merged.GetPeriods(1);
    merged.MergePeriods(1);

    Minutes expected;
    for (int m = 0; m < 1440; ++m) {
      if (!covered[m]) continue;
      int end = m;
      while (end < 1440 && covered[end])
        ++end;
      expected.emplace_back(m, end);
      m = end;
    }
    Minutes actual;
    std::size_t lastOriginal = 0;
    for (const PeriodRef& p : merged.GetPeriods(1)) {
      actual.emplace_back(p->m_StartMinute, p->m_StopMinute);
      // Survivors are original objects, in their original order.
      const auto at = std::find(originals.begin(), originals.end(), p);
      ASSERT_NE(at, originals.end());
      ASSERT_GE(static_cast<std::size_t>(at - originals.begin()), lastOriginal);
      lastOriginal = static_cast<std::size_t>(at - originals.begin());
    }
    std::sort(actual.begin(), actual.end());
    ASSERT_EQ(actual, expected) << "round " << round;
  }
}

TEST_F(TimeScheduleModel, MergingMatchesTheLiteralPassesInEveryDetail) {
  Layout();
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    // Few distinct starts, so ties, empty and reversed periods are common.
    const int count = 1 + static_cast<int>(random() % 30);
    const int spread = 1 + static_cast<int>(random() % 60);
    schedule.ExtractPeriodArray(cTimeSchedule().ComposePeriodArray());
    std::vector<PeriodRef> literal;
    for (int i = 0; i < count; ++i) {
      const auto start = static_cast<std::int16_t>(random() % spread);
      const auto stop = static_cast<std::int16_t>(start + static_cast<int>(random() % 25) - 3);
      schedule.AddPeriod(6, start, stop);
      literal.push_back(std::make_shared<cTimeSchedulePeriod>(cTimeSchedulePeriod{start, stop}));
    }
    const std::vector<PeriodRef> originals = schedule.GetPeriods(6);
    // A press selects the first period that holds its minute, in both.
    const int minute = static_cast<int>(random() % (spread + 20));
    mouse.Press(kLeftButton, X(minute), RowY(6));
    PeriodRef literalSelected;
    for (const PeriodRef& p : literal) {
      if (p->m_StartMinute <= minute && minute <= p->m_StopMinute) {
        literalSelected = p;
        break;
      }
    }
    const std::vector<PeriodRef> literalOriginals = literal;
    const auto indexOf = [](const std::vector<PeriodRef>& all, const PeriodRef& p) {
      return std::find(all.begin(), all.end(), p) - all.begin();
    };
    ASSERT_EQ(indexOf(originals, schedule.GetSelectedPeriod()),
              indexOf(literalOriginals, literalSelected));

    schedule.MergePeriods(6);
    ReferenceMerge(literal, literalSelected);

    ASSERT_EQ(schedule.GetPeriods(6).size(), literal.size()) << "round " << round;
    for (std::size_t i = 0; i < literal.size(); ++i) {
      const PeriodRef& p = schedule.GetPeriods(6)[i];
      ASSERT_EQ(indexOf(originals, p), indexOf(literalOriginals, literal[i])) << round;
      ASSERT_EQ(p->m_StopMinute, literal[i]->m_StopMinute) << "round " << round;
    }
    ASSERT_EQ(indexOf(originals, schedule.GetSelectedPeriod()),
              indexOf(literalOriginals, literalSelected))
        << "round " << round;
  }
}

TEST_F(TimeScheduleModel, CopyAndPasteReplaceTheRowWithNewPeriods) {
  Layout();
  schedule.AddPeriod(1, 480, 600);
  schedule.AddPeriod(1, 540, 720);
  schedule.Group(host, surface);  // no row selected: nothing
  schedule.Paste(host, surface);
  EXPECT_TRUE(host.calls.empty());

  mouse.ClickAt(kMiddleButton, X(0), RowY(1));  // Tuesday
  schedule.Copy();
  schedule.Paste(host, surface);  // onto itself: nothing
  EXPECT_EQ(PeriodsOf(1), (Minutes{{480, 600}, {540, 720}}));

  schedule.AddPeriod(3, 0, 60);
  mouse.ClickAt(kMiddleButton, X(0), RowY(3));
  schedule.Paste(host, surface);
  EXPECT_EQ(PeriodsOf(3), (Minutes{{480, 720}}));
  EXPECT_EQ(PeriodsOf(1), (Minutes{{480, 600}, {540, 720}}));
  EXPECT_NE(schedule.GetPeriods(3).front(), schedule.GetPeriods(1).front());
  mouse.ClickAt(kMiddleButton, X(0), RowY(4));
  schedule.Paste(host, surface);  // the copy stays for more rows
  EXPECT_EQ(PeriodsOf(4), (Minutes{{480, 720}}));
}

TEST_F(TimeScheduleModel, DeleteRemovesTheSelectedPeriodAndLeavesTheGroup) {
  Layout();
  schedule.SetDefaultPeriod();
  schedule.AddPeriod(2, 1200, 1260);
  mouse.ClickAt(kLeftButton, X(1230), RowY(2));
  ASSERT_EQ(schedule.GetSelectedPeriod(), schedule.GetPeriods(2).back());
  host.ClearLog();
  schedule.Delete(host, surface);
  EXPECT_EQ(PeriodsOf(2), (Minutes{{420, 960}}));
  EXPECT_FALSE(schedule.GetGrouped(2));
  EXPECT_EQ(schedule.GetSelectedPeriod(), nullptr);
  EXPECT_EQ(schedule.GetSelectedDayType(), -1);
  EXPECT_EQ(host.CallsTo(HostOperation::Set_Text_Schedule_Period_Start).front().arguments[0],
            Variant(u""));

  // Without a selected period in the row nothing is removed, but the row leaves the group.
  // (Thursday got Wednesday's periods when the click released on the grouped row.)
  mouse.ClickAt(kMiddleButton, X(0), RowY(3));
  schedule.Delete(host, surface);
  EXPECT_EQ(PeriodsOf(3), (Minutes{{420, 960}, {1200, 1260}}));
  EXPECT_FALSE(schedule.GetGrouped(3));

  DeleteAllPeriods = true;
  schedule.AddPeriod(4, 0, 60);
  mouse.ClickAt(kMiddleButton, X(0), RowY(4));
  schedule.Delete(host, surface);
  EXPECT_TRUE(schedule.GetPeriods(4).empty());
}

TEST_F(TimeScheduleModel, WholeDayAndInversion) {
  Layout();
  schedule.AddPeriod(0, 420, 960);
  mouse.ClickAt(kMiddleButton, X(0), RowY(0));
  schedule.InvertTimeSchedule(host, surface);
  EXPECT_EQ(PeriodsOf(0), (Minutes{{0, 420}, {960, 1440}}));
  schedule.InvertTimeSchedule(host, surface);
  EXPECT_EQ(PeriodsOf(0), (Minutes{{420, 960}}));

  mouse.ClickAt(kMiddleButton, X(0), RowY(1));
  schedule.InvertTimeSchedule(host, surface);  // an empty day
  EXPECT_EQ(PeriodsOf(1), (Minutes{{0, 1440}}));
  schedule.InvertTimeSchedule(host, surface);
  EXPECT_TRUE(PeriodsOf(1).empty());

  schedule.SetDefaultPeriod();
  mouse.ClickAt(kMiddleButton, X(0), RowY(2));
  schedule.SetTimeFrom00to24(host, surface);
  EXPECT_EQ(PeriodsOf(2), (Minutes{{0, 1440}}));
  EXPECT_FALSE(schedule.GetGrouped(2));
  EXPECT_EQ(schedule.GetSelectedDayType(), -1);
}

TEST_F(TimeScheduleModel, TypedTimesGoThroughTimeTextToMinutes) {
  Layout();
  schedule.SetDefaultPeriod();
  const struct {
    const char16_t* start;
    const char16_t* stop;
    Minutes expected;
    const char* startText;
    const char* stopText;
  } cases[] = {
      {u"17", u"8", {{480, 1020}}, "08:00", "17:00"},  // swapped
      {u"7:30", u"730", {{450, 450}}, "07:30", "07:30"},
      {u"7.30", u"25:00", {{450, 1440}}, "07:30", "24:00"},
      {u"", u"07", {{0, 7}}, "00:00", "00:07"},
      {u"12345", u"7 30", {{450, 1425}}, "07:30", "23:45"},
  };
  for (const auto& c : cases) {
    mouse.ClickAt(kLeftButton, X(600), RowY(0));
    ASSERT_NE(schedule.GetSelectedPeriod(), nullptr);
    Type(c.start, c.stop);
    host.ClearLog();
    schedule.ExtractTimeFromTextboxes(host, surface);
    EXPECT_EQ(PeriodsOf(0), c.expected) << hcp::Utf16ToUtf8(c.start);
    EXPECT_EQ(PeriodsOf(1), c.expected);  // Tuesday follows its group
    const auto start = host.CallsTo(HostOperation::Set_Text_Schedule_Period_Start);
    const auto stop = host.CallsTo(HostOperation::Set_Text_Schedule_Period_Stop);
    ASSERT_EQ(start.size(), 1u);
    EXPECT_EQ(start[0].arguments[0], Variant(hcp::Utf8ToUtf16(c.startText)));
    EXPECT_EQ(stop[0].arguments[0], Variant(hcp::Utf8ToUtf16(c.stopText)));
    schedule.ExtractPeriodArray(cTimeSchedule().ComposePeriodArray());
    schedule.SetDefaultPeriod();
    Layout();
  }
  // Without a selected period the texts are not even read.
  mouse.ClickAt(kLeftButton, X(1200), RowY(0));
  host.ClearLog();
  schedule.ExtractTimeFromTextboxes(host, surface);
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(TimeScheduleModel, GroupingJoinsTheLowestGroupedRow) {
  Layout();
  schedule.AddPeriod(2, 60, 120);
  schedule.AddPeriod(4, 600, 700);
  schedule.AddPeriod(5, 800, 900);
  mouse.ClickAt(kMiddleButton, X(0), RowY(4));
  schedule.Group(host, surface);  // the first member keeps its periods
  EXPECT_TRUE(schedule.GetGrouped(4));
  EXPECT_EQ(PeriodsOf(4), (Minutes{{600, 700}}));
  mouse.ClickAt(kMiddleButton, X(0), RowY(2));
  schedule.Group(host, surface);
  EXPECT_EQ(PeriodsOf(2), (Minutes{{600, 700}}));
  mouse.ClickAt(kMiddleButton, X(0), RowY(5));
  schedule.Group(host, surface);  // copies from the lowest other member, day type 2
  EXPECT_EQ(PeriodsOf(5), (Minutes{{600, 700}}));
  schedule.Group(host, surface);  // toggles back out, keeping the periods
  EXPECT_FALSE(schedule.GetGrouped(5));
  EXPECT_EQ(PeriodsOf(5), (Minutes{{600, 700}}));
}

TEST_F(TimeScheduleModel, GroupingMondayToFridayCopiesMonday) {
  Layout();
  schedule.AddPeriod(0, 480, 720);
  schedule.AddPeriod(2, 0, 1440);
  schedule.SetActive(9, true);
  schedule.m_UseCalendar = true;
  mouse.ClickAt(kMiddleButton, X(0), RowY(5));
  schedule.Group(host, surface);  // Saturday grouped before
  schedule.GroupMonFri(host, surface);
  for (int d = 0; d < kDayTypeCount; ++d)
    EXPECT_EQ(schedule.GetGrouped(d), d < 5) << d;
  for (int d = 1; d < 5; ++d)
    EXPECT_EQ(PeriodsOf(d), (Minutes{{480, 720}})) << d;
  EXPECT_TRUE(PeriodsOf(5).empty());

  // The host checks its menu item; the second use ungroups everything.
  host.Answer(HostOperation::Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked, std::int32_t{-1});
  schedule.GroupMonFri(host, surface);
  for (int d = 0; d < kDayTypeCount; ++d)
    EXPECT_FALSE(schedule.GetGrouped(d));
}

}  // namespace
}  // namespace Halvane_Config
