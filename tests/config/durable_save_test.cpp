// Saves that survive a power cut: the order of the file operations, every step failed in
// turn, and a real full disk on a small file system of the test's own.
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "ConfigFilesFixture.h"
#include "ScriptedFileOperations.h"

namespace Halvane_Config {
namespace {

using golden::kNoon;
using Call = ScriptedFileOperations::Call;

class DurableSaveTest : public ConfigFilesTest {
 protected:
  // A receiver saved as "Old", then renamed "New" in memory.
  static cReceiver SavedThenChanged(std::int16_t identity) {
    cReceiver receiver;
    receiver.m_DiskIdentity = identity;
    receiver.m_ReceiverName = u"Old";
    EXPECT_TRUE(receiver.SaveToDisk());
    receiver.m_ReceiverName = u"New";
    return receiver;
  }
  std::string FailedLine(const std::string& relative, const std::string& reason) const {
    return "*** Invalid Text (979) " + PathOf(relative) + " Err:" + reason;
  }
};

TEST_F(DurableSaveTest, CopiesAreMadeDurableBeforeTheRenamesAndTheFolderOnceAfterThem) {
  cReceiver first;
  first.m_DiskIdentity = 1;
  cReceiver second;
  second.m_DiskIdentity = 2;
  ScriptedFileOperations operations;
  SaveBatch batch;
  first.SaveToDisk(batch);
  second.SaveToDisk(batch);
  batch.Commit();
  EXPECT_TRUE(batch.OutcomeOf(0).saved && batch.OutcomeOf(1).saved);
  EXPECT_FALSE(second.HasChangedSinceLastLoadFromDisk());
  EXPECT_EQ(folder.Read("Receivers/Receiver_0002.dat"), golden::EmptyReceiverV5(2, kNoon));
  // The copies are made durable, and renamed, side by side, in any order.
  ASSERT_EQ(operations.calls.size(), 11u);
  std::sort(operations.calls.begin() + 4, operations.calls.begin() + 6);
  std::sort(operations.calls.begin() + 8, operations.calls.begin() + 10);
  const std::string copy1 = ".Receiver_0001.dat.new", copy2 = ".Receiver_0002.dat.new";
  EXPECT_EQ(operations.calls,
            (std::vector<std::string>{
                "Open " + copy1, "Write " + copy1, "Open " + copy2, "Write " + copy2,
                "Sync " + copy1, "Sync " + copy2, "Close " + copy1, "Close " + copy2,
                "Rename " + copy1 + " Receiver_0001.dat", "Rename " + copy2 + " Receiver_0002.dat",
                "SyncFolder Receivers"}));
}

TEST_F(DurableSaveTest, AFailedStepLeavesTheOldFileNoCopyAndOneLogLine) {
  const struct {
    Call call;
    int error;
    const char* reason;
  } failures[] = {
      {Call::Open, EACCES, "Permission denied"},
      {Call::Write, ENOSPC, "Disk full"},
      {Call::Write, EDQUOT, "Disk full"},
      {Call::Sync, EIO, "Device I/O error"},
      {Call::Sync, ENOSPC, "Disk full"},
      {Call::Close, EIO, "Device I/O error"},
      {Call::Rename, EXDEV, "Path/File access error"},
  };
  const std::string file = "Receivers/Receiver_0042.dat";
  cReceiver receiver = SavedThenChanged(42);
  const std::string old = folder.Read(file);
  for (const auto& failure : failures) {
    log.Clear();
    ScriptedFileOperations operations;
    operations.Fail(failure.call, failure.error);
    EXPECT_FALSE(receiver.SaveToDisk()) << failure.reason;
    EXPECT_EQ(folder.Read(file), old);
    EXPECT_EQ(folder.Entries("Receivers"), std::vector<std::string>{"Receiver_0042.dat"});
    EXPECT_TRUE(receiver.HasChangedSinceLastLoadFromDisk());
    EXPECT_EQ(log.Lines(), std::vector<std::string>{FailedLine(
                               file, std::string(failure.reason) + " (" + PathOf(file) + ")")});
  }

  // A new receiver gives back the identity it drew for a file that was never written.
  ScriptedFileOperations operations;
  operations.Fail(Call::Write, ENOSPC);
  cReceiver fresh;
  EXPECT_FALSE(fresh.SaveToDisk());
  EXPECT_EQ(fresh.m_DiskIdentity, -1);
  EXPECT_FALSE(fresh.m_HasUpdatedDiskIdentity);
}

TEST_F(DurableSaveTest, InABatchOnlyTheSavesWhoseStepFailedStayUnsaved) {
  cReceiver receivers[] = {SavedThenChanged(1), SavedThenChanged(2), SavedThenChanged(3)};
  const std::string old = folder.Read("Receivers/Receiver_0002.dat");
  SaveBatch batch;
  {
    ScriptedFileOperations operations;
    operations.Fail(Call::Sync, EIO, "Receiver_0002");
    for (cReceiver& receiver : receivers)
      receiver.SaveToDisk(batch);
    batch.Commit();
  }
  EXPECT_TRUE(batch.OutcomeOf(0).saved);
  EXPECT_FALSE(batch.OutcomeOf(1).saved);
  EXPECT_EQ(batch.OutcomeOf(1).errorNumber, hcp::kDeviceIoError);
  EXPECT_TRUE(batch.OutcomeOf(2).saved);
  EXPECT_FALSE(receivers[0].HasChangedSinceLastLoadFromDisk());
  EXPECT_TRUE(receivers[1].HasChangedSinceLastLoadFromDisk());
  EXPECT_EQ(folder.Read("Receivers/Receiver_0002.dat"), old);
  EXPECT_EQ(folder.Entries("Receivers").size(), 3u);
  EXPECT_EQ(log.Lines().size(), 1u);

  // A folder whose names cannot be made durable fails every save in it; the files hold the
  // new bytes, but a power cut may bring back the old ones, so they stay unsaved.
  log.Clear();
  ScriptedFileOperations operations;
  operations.Fail(Call::SyncFolder, EIO);
  EXPECT_FALSE(receivers[1].SaveToDisk());
  EXPECT_TRUE(receivers[1].HasChangedSinceLastLoadFromDisk());
  EXPECT_EQ(log.Lines(),
            std::vector<std::string>{FailedLine("Receivers/Receiver_0002.dat",
                                                "Device I/O error (" + PathOf("Receivers") + ")")});

  // A file system that cannot make anything durable saves as well as it can.
  operations.Fail(Call::Sync, EINVAL);
  operations.Fail(Call::SyncFolder, EINVAL);
  EXPECT_TRUE(receivers[1].SaveToDisk());
}

// Runs work in a child process that mounts a tmpfs of `bytes` on folder, in a mount
// namespace of its own (in a user namespace of its own too where it is not the
// super-user), so that nothing outside the child sees it, and makes it the program folder.
// Returns what work reported, or nothing with the reason the file system could not be made.
std::optional<std::string> OnSmallFileSystem(const std::string& folder, std::size_t bytes,
                                             std::string& whyNot,
                                             const std::function<std::string()>& work) {
  std::filesystem::create_directory(folder);
  int report[2];
  if (::pipe(report) != 0) return std::nullopt;
  const uid_t uid = ::getuid();
  const gid_t gid = ::getgid();
  if (::fork() == 0) {
    const auto say = [&](const std::string& text) {
      if (::write(report[1], text.data(), text.size()) < 0) ::_exit(2);
    };
    const auto fail = [&](const char* step) {
      say(std::string("!") + step + ": " + std::strerror(errno));
      ::_exit(1);
    };
    if (uid != 0) {
      if (::unshare(CLONE_NEWUSER) != 0) fail("unshare(CLONE_NEWUSER)");
      std::ofstream("/proc/self/setgroups") << "deny";
      std::ofstream("/proc/self/uid_map") << "0 " << uid << " 1";
      std::ofstream("/proc/self/gid_map") << "0 " << gid << " 1";
    }
    if (::unshare(CLONE_NEWNS) != 0) fail("unshare(CLONE_NEWNS)");
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) fail("mount private");
    const std::string size = "size=" + std::to_string(bytes);
    if (::mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) != 0) fail("mount tmpfs");
    hcp::SetProgramFolder(hcp::Utf8ToUtf16(folder + "/"));
    say(work());
    ::_exit(0);
  }
  ::close(report[1]);
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = ::read(report[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(n));
  ::close(report[0]);
  ::wait(nullptr);
  if (!text.starts_with("!")) return text;
  whyNot = text.substr(1);
  return std::nullopt;
}

TEST_F(DurableSaveTest, AFullDiskKeepsTheOldFile) {
  std::string whyNot;
  const std::optional<std::string> report =
      OnSmallFileSystem(folder.PathOf("small"), 64 * 1024, whyNot, [] {
        RecordedLog childLog;
        const std::string folder = hcp::Utf16ToUtf8(hcp::ProgramFolder());
        std::filesystem::create_directory(folder + "Receivers");
        cReceiver receiver;
        receiver.m_DiskIdentity = 42;
        receiver.m_ReceiverName = u"Old";
        std::string text = "saved " + std::to_string(receiver.SaveToDisk());
        const std::string path = folder + "Receivers/Receiver_0042.dat";
        // Fills what is left, down to the last byte.
        std::ofstream filler(folder + "filler", std::ios::binary);
        for (std::size_t chunk = 4096; chunk > 0; chunk /= 2) {
          const std::string bytes(chunk, 'x');
          while (filler.write(bytes.data(), static_cast<std::streamsize>(chunk)).flush()) {
          }
          filler.clear();
        }
        receiver.m_ReceiverName = u"New";
        text += ", saved when full " + std::to_string(receiver.SaveToDisk());
        std::ifstream kept(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(kept), {}};
        text += ", old bytes " + std::to_string(bytes.find("Old") != std::string::npos);
        for (const auto& entry : std::filesystem::directory_iterator(folder + "Receivers"))
          text += ", " + entry.path().filename().string();
        for (const std::string& line : childLog.Lines())
          text += "\n" + line.substr(line.find("Err:"), 13);
        return text;
      });
  if (!report) GTEST_SKIP() << "no small file system of the test's own: " << whyNot;
  EXPECT_EQ(*report, "saved 1, saved when full 0, old bytes 1, Receiver_0042.dat\nErr:Disk full");
}

}  // namespace
}  // namespace Halvane_Config
