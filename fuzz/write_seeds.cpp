// Writes the golden files of the tests as the first corpus of each fuzz target:
// write_seeds DIR puts them into DIR/<target>/.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "GoldenFiles.h"

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
