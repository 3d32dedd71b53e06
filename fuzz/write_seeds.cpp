// Writes the golden files of the tests as the first corpus of each fuzz target:
// write_seeds DIR puts them into DIR/<target>/.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "GoldenFiles.h"
#include "config/cHolidayLabel.h"

namespace {

using namespace Halvane_Config;

// A schedule's disk form as its period array text: each value high byte first, each
// character one UTF-16 unit in little-endian order.
std::string PeriodArrayOf(const std::string& diskForm) {
  std::string text;
  for (std::size_t i = 0; i + 1 < diskForm.size(); i += 2) {
    text += {diskForm[i + 1], '\0'};
    text += {diskForm[i], '\0'};
  }
  return text;
}

// A calendar file with every day-type value, and a few no host list names, on the first
// dates of 2000 and the last of 2039.
std::string MarkedCalendar() {
  std::string bytes(2 * kCalendarDays, '\0');
  const std::int16_t values[] = {1, 7, 8, 23, 24, -1, 3};
  for (std::size_t i = 0; i < std::size(values); ++i) {
    const auto value = static_cast<std::uint16_t>(values[i]);
    for (const std::size_t day : {i * 5, kCalendarDays - 1 - i}) {
      bytes[2 * day] = static_cast<char>(value & 0xFF);
      bytes[2 * day + 1] = static_cast<char>(value >> 8);
    }
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: write_seeds DIR\n", stderr);
    return 2;
  }
  const std::map<std::string, std::vector<std::string>> seeds = {
      {"receiver_fuzzer",
       {golden::EmptyReceiverV5(1, golden::kNoon), golden::ReceiverV3(), golden::ReceiverV4(),
        golden::ReceiverV5(1, false, 12, "Pump", golden::SampleSettings(), "Spare",
                           golden::kNoon)}},
      {"profile_fuzzer",
       {golden::EmptyProfileV5(golden::kNoon), golden::SampleProfile(4, 2, 0),
        golden::SampleProfile(5, 2, golden::kNoon)}},
      {"alarm_fuzzer", {golden::NewAlarmRecord(golden::kNoon), golden::SampleAlarmRecord()}},
      {"schedule_disk_fuzzer", {golden::EmptySchedule(), golden::SampleSchedule()}},
      {"period_array_fuzzer",
       {PeriodArrayOf(golden::EmptySchedule()), PeriodArrayOf(golden::SampleSchedule())}},
      {"calendar_fuzzer", {std::string(2 * kCalendarDays, '\0'), MarkedCalendar()}},
  };
  for (const auto& [target, files] : seeds) {
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / target;
    std::filesystem::create_directories(folder);
    for (std::size_t i = 0; i < files.size(); ++i) {
      std::ofstream out(folder / ("golden-" + std::to_string(i)), std::ios::binary);
      out.write(files[i].data(), static_cast<std::streamsize>(files[i].size()));
    }
  }
  return 0;
}
