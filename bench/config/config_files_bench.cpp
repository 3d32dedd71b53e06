// Saving and loading a program folder of 1,000 receivers and 1,000 profiles through the
// classes, against plainly writing (each file with one fsync, as a durable save needs) and
// reading the same bytes in as many files in the same run; one profile saved against one
// file written so; and halvane-config-dump --folder on that folder.
//
//   config_files_bench [ROUNDS [DUMP_PROGRAM]]
//
// Each round times every way once, in turn, so that a drift of the machine's speed
// touches them alike; the medians of the rounds are printed, and of each round's ratio.
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ProgramFolderScope.h"
#include "common/Halvane_Common_Procedures.h"
#include "config/Halvane_Config.h"

extern char** environ;

namespace {

using namespace Halvane_Config;
namespace hcp = Halvane_Common_Procedures;
using Clock = std::chrono::steady_clock;

constexpr int kEach = 1000;

std::u16string Numbered(const char16_t* prefix, int number) {
  return prefix + hcp::Utf8ToUtf16(std::to_string(number));
}

std::vector<std::shared_ptr<cReceiver>> MakeReceivers() {
  std::vector<std::shared_ptr<cReceiver>> receivers;
  for (int i = 1; i <= kEach; ++i) {
    auto receiver = std::make_shared<cReceiver>();
    receiver->m_DiskIdentity = static_cast<std::int16_t>(i);
    receiver->SetReceiverTypeId(12);
    receiver->m_ReceiverName = Numbered(u"Service engineer ", i);
    receiver->m_BackupReceiver = Numbered(u"Service engineer ", i + 1);
    receiver->SaveSetting(0, u"+46 70 123 45 67");
    receiver->SaveSetting(1, std::int16_t{30});
    receiver->SaveSetting(2, true);
    receivers.push_back(receiver);
  }
  return receivers;
}

std::vector<std::shared_ptr<cProfile>> MakeProfiles() {
  std::vector<std::shared_ptr<cProfile>> profiles;
  for (int i = 1; i <= kEach; ++i) {
    auto profile = std::make_shared<cProfile>();
    profile->m_DiskIdentity = static_cast<std::int16_t>(i);
    profile->SetName(Numbered(u"Building A, floor ", i));
    profile->m_ParallellReceivers = u"Service engineer 1;Service engineer 2;Guard";
    profile->m_SequentialReceivers = u"Duty manager;Site manager";
    profile->SetCondition(0, u"Area=A*");
    profile->SetSystem(18, 1);
    profile->m_UseTimeSchedule = true;
    profile->m_TimeSchedule = std::make_shared<cTimeSchedule>();
    profile->m_TimeSchedule->SetDefaultPeriod();
    profile->m_TimeSchedule->AddPeriod(5, 480, 720);
    profiles.push_back(profile);
  }
  return profiles;
}

std::vector<std::string> AllPaths() {
  std::vector<std::string> paths;
  for (int i = 1; i <= kEach; ++i) {
    paths.push_back(hcp::Utf16ToUtf8(cReceiver::CreateFileName(static_cast<std::int16_t>(i))));
    paths.push_back(hcp::Utf16ToUtf8(cProfile::CreateFileName(static_cast<std::int16_t>(i))));
  }
  return paths;
}

std::string ReadWhole(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) throw std::runtime_error("cannot open " + path);
  struct stat info {};
  ::fstat(descriptor, &info);
  std::string bytes(static_cast<std::size_t>(info.st_size), '\0');
  if (::read(descriptor, bytes.data(), bytes.size()) != info.st_size) {
    throw std::runtime_error("short read of " + path);
  }
  ::close(descriptor);
  return bytes;
}

// Writes the file in place; returns it still open.
int WriteWhole(const std::string& path, const std::string& bytes) {
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (descriptor < 0 ||
      ::write(descriptor, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    throw std::runtime_error("cannot write " + path);
  }
  return descriptor;
}

void SyncAndClose(int descriptor) {
  if (::fsync(descriptor) != 0) throw std::runtime_error("fsync failed");
  ::close(descriptor);
}

double Seconds(const std::function<void()>& work) {
  const Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The median of the rounds' ratios a / b.
double MedianRatio(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < a.size(); ++i)
    ratios.push_back(a[i] / b[i]);
  return Median(ratios);
}

double RunQuietly(const std::string& program, const std::string& folder) {
  const char* argv[] = {program.c_str(), "--folder", folder.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  return Seconds([&] {
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, const_cast<char**>(argv), environ) != 0) {
      throw std::runtime_error("cannot start " + program);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
      throw std::runtime_error(program + " did not end well");
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 7;
  const std::string dumpProgram = argc > 2 ? argv[2] : "";
  constexpr int kSingleSaves = 10;
  TemporaryProgramFolder folder;
  const FixedClock clock(46364.5);
  const auto receivers = MakeReceivers();
  const auto profiles = MakeProfiles();
  const auto saveAll = [&] {
    SaveBatch batch;
    for (const auto& receiver : receivers)
      receiver->SaveToDisk(batch);
    for (const auto& profile : profiles)
      profile->SaveToDisk(batch);
    batch.Commit();
    for (std::size_t i = 0; i < receivers.size() + profiles.size(); ++i) {
      if (!batch.OutcomeOf(i).saved) throw std::runtime_error("a save failed");
    }
  };
  saveAll();
  const std::vector<std::string> paths = AllPaths();
  std::vector<std::string> contents;
  for (const std::string& path : paths)
    contents.push_back(ReadWhole(path));

  std::vector<double> one, plainOne, all, eachAlone, plainEach, plainAllThenSync, load, read, dump;
  std::size_t loaded = 0;
  std::size_t bytesRead = 0;
  for (int round = 0; round < rounds; ++round) {
    one.push_back(Seconds([&] {
                    for (int i = 0; i < kSingleSaves; ++i) {
                      if (!profiles.front()->SaveToDisk()) throw std::runtime_error("not saved");
                    }
                  }) /
                  kSingleSaves);
    plainOne.push_back(Seconds([&] {
                         for (int i = 0; i < kSingleSaves; ++i)
                           SyncAndClose(WriteWhole(paths[1], contents[1]));
                       }) /
                       kSingleSaves);
    all.push_back(Seconds(saveAll));
    eachAlone.push_back(Seconds([&] {
      for (const auto& receiver : receivers)
        receiver->SaveToDisk();
      for (const auto& profile : profiles)
        profile->SaveToDisk();
    }));
    plainEach.push_back(Seconds([&] {
      for (std::size_t i = 0; i < paths.size(); ++i)
        SyncAndClose(WriteWhole(paths[i], contents[i]));
    }));
    plainAllThenSync.push_back(Seconds([&] {
      std::vector<int> descriptors;
      for (std::size_t i = 0; i < paths.size(); ++i) {
        descriptors.push_back(WriteWhole(paths[i], contents[i]));
        if (descriptors.size() == 256 || i + 1 == paths.size()) {
          for (const int descriptor : descriptors)
            SyncAndClose(descriptor);
          descriptors.clear();
        }
      }
    }));
    load.push_back(Seconds([&] {
      for (int i = 1; i <= kEach; ++i) {
        cReceiver receiver;
        cProfile profile;
        loaded += receiver.LoadFromDisk(static_cast<std::int16_t>(i));
        loaded += profile.LoadFromDisk(static_cast<std::int16_t>(i));
      }
    }));
    read.push_back(Seconds([&] {
      for (const std::string& path : paths)
        bytesRead += ReadWhole(path).size();
    }));
    if (!dumpProgram.empty()) dump.push_back(RunQuietly(dumpProgram, folder.Path()));
  }
  std::size_t total = 0;
  for (const std::string& c : contents)
    total += c.size();
  if (loaded != static_cast<std::size_t>(2 * kEach * rounds) || bytesRead != total * rounds) {
    std::fprintf(stderr, "only %zu of the loads succeeded\n", loaded);
    return 1;
  }

  const double ms = 1000;
  std::printf("%d receivers and %d profiles, %zu bytes in all; medians of %d rounds\n", kEach,
              kEach, total, rounds);
  std::printf("one profile saved                     %8.2f ms\n", Median(one) * ms);
  std::printf("  plain write + fsync of one file     %8.2f ms   ratio %.2f\n",
              Median(plainOne) * ms, MedianRatio(one, plainOne));
  std::printf("save all (one batch)                  %8.1f ms\n", Median(all) * ms);
  std::printf("  plain write + fsync, file by file   %8.1f ms   ratio %.2f\n",
              Median(plainEach) * ms, MedianRatio(all, plainEach));
  std::printf("  plain: all written, then fsynced    %8.1f ms   ratio %.2f\n",
              Median(plainAllThenSync) * ms, MedianRatio(all, plainAllThenSync));
  std::printf("every file saved on its own           %8.1f ms   ratio to file by file %.2f\n",
              Median(eachAlone) * ms, MedianRatio(eachAlone, plainEach));
  std::printf("load through the classes              %8.1f ms\n", Median(load) * ms);
  std::printf("  plain read                          %8.1f ms   ratio %.2f\n", Median(read) * ms,
              MedianRatio(load, read));
  if (!dump.empty()) {
    std::printf("halvane-config-dump --folder          %8.1f ms\n", Median(dump) * ms);
  }
  return 0;
}
