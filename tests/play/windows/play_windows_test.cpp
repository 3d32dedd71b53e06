// fauxlarm-play.exe as an engineer runs it on the alarm server's host: a real process beside
// Halvane3.dll, paths the Windows way (backslashes, a folder whose name the ANSI code page
// holds but ASCII does not), command queue 0 read back through the DLL, the generic file,
// and a TCP client on loopback.
#define WIN32_LEAN_AND_MEAN
#include <gtest/gtest.h>
#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <regex>

#include "ChildProcess.h"
#include "Scenario.h"
#include "events/EventLine.h"
#include "events/windows/WindowsText.h"
#include "exchange/Halvane3.h"

namespace {

namespace fs = std::filesystem;
using FauxlarmEvents::windows::InCodePage;
using FauxlarmEvents::windows::Utf8;

const std::string kPlay = "fauxlarm-play.exe";

// The folder of the test program, where the build puts fauxlarm-play.exe and Halvane3.dll.
fs::path BinFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(std::wstring(path, length)).parent_path();
}

class PlayWindowsTest : public ::testing::Test {
 protected:
  ~PlayWindowsTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  fs::path At(const std::string& name) const { return folder_ / name; }
  // A path as a command line of the ANSI code page carries it.
  static std::string Ansi(const fs::path& path) {
    const std::wstring wide = path.wstring();
    BOOL lost = FALSE;
    std::string text(wide.size() * 2, '\0');
    text.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                            static_cast<int>(text.size()), nullptr, &lost)));
    EXPECT_FALSE(lost) << "the ANSI code page cannot hold the test's folder name";
    return text;
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(At(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream file(At(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
  }

  fs::path folder_ = fs::temp_directory_path() /
                     (L"fauxlarm-play Pr\u00FCfung " + std::to_wstring(GetCurrentProcessId()));
  bool made_ = fs::create_directories(folder_);
};

TEST_F(PlayWindowsTest, ScenarioGoesIntoCommandQueueZeroEntryByEntry) {
  // Attached before and after the run, so that the region outlives fauxlarm-play.exe.
  const HMODULE library = LoadLibraryA("Halvane3.dll");
  ASSERT_NE(library, nullptr);
  const auto getCommandEntry = reinterpret_cast<decltype(&GetCommandEntry)>(
      reinterpret_cast<void*>(GetProcAddress(library, "GetCommandEntry")));
  char entry[4096];
  std::int32_t cursor = -1;
  std::int32_t size = sizeof entry;
  while (getCommandEntry(&cursor, entry, &size, 0) == 1)
    size = sizeof entry;

  Write("s.csv", kScenario);
  const Finished run = runToEnd({kPlay, "--queue", "--system=VISTA", Ansi(At("s.csv"))});
  EXPECT_EQ(run.exitCode, 0) << run.output;
  EXPECT_NE(run.output.find("Sent            3 by command queue 0 of " +
                            Utf8((BinFolder() / "Halvane3.dll").wstring())),
            std::string::npos)
      << run.output;
  for (const std::string& command : kQueueCommands) {
    size = sizeof entry;
    ASSERT_EQ(getCommandEntry(&cursor, entry, &size, 0), 1) << command;
    EXPECT_EQ(std::string(entry, static_cast<std::size_t>(size)), command);
  }
  size = sizeof entry;
  EXPECT_EQ(getCommandEntry(&cursor, entry, &size, 0), 0);
  FreeLibrary(library);
}

TEST_F(PlayWindowsTest, GenericFileGetsTheBytesItGetsOnLinuxAppendedWithCrLf) {
  Write("s.csv", kScenario);
  const std::vector<std::string> play = {kPlay, "--file=" + Ansi(At("G.txt")), "--json",
                                         Ansi(At("s.csv"))};
  ASSERT_EQ(runToEnd(play).exitCode, 0);
  const Finished again = runToEnd(play);
  EXPECT_EQ(again.exitCode, 0) << again.output;
  EXPECT_EQ(Read("G.txt"), kLines + kLines);
  // Standard output is a pipe here: the summary is UTF-8, backslashes escaped in JSON.
  const std::string input =
      std::regex_replace(Utf8(At("s.csv").wstring()), std::regex("\\\\"), "\\\\");
  EXPECT_NE(again.output.find("{\"input\":\"" + input + "\",\"method\":\"generic file "),
            std::string::npos)
      << again.output;
  EXPECT_NE(again.output.find("\"read\":3,\"sent\":3,\"undelivered\":0"), std::string::npos);

  // A folder that is not there: every event counted as not delivered, and why.
  const Finished lost = runToEnd(
      {kPlay, "--file=" + Ansi(At("none\\G.txt")), "--json", "--quiet", Ansi(At("s.csv"))});
  EXPECT_EQ(lost.exitCode, 1);
  EXPECT_NE(lost.output.find("\"undelivered_by_reason\":{\"file_error\":3}"), std::string::npos)
      << lost.output;
  EXPECT_FALSE(FauxlarmEvents::AppendToFile(Utf8(At("none\\G.txt").wstring()), "x"));
  EXPECT_EQ(errno, ENOENT);
}

TEST_F(PlayWindowsTest, TcpGoesToAClientOnLoopback) {
  Write("s.csv", kScenario);
  ChildProcess play({kPlay, "--tcp=0", "--wait=20", "--loop=2", Ansi(At("s.csv"))}, true);
  std::smatch port;
  const std::string waiting = play.readLine();
  ASSERT_TRUE(std::regex_search(waiting, port, std::regex("port (\\d+)$"))) << waiting;

  WSADATA winsock;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &winsock), 0);
  const SOCKET client = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(std::stoi(port[1])));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  std::string received;
  char buffer[4096];
  int n;
  while ((n = recv(client, buffer, sizeof buffer, 0)) > 0)
    received.append(buffer, static_cast<std::size_t>(n));
  closesocket(client);
  WSACleanup();

  const std::string lines = std::regex_replace(kLines, std::regex("\r\n"), "\n");
  EXPECT_EQ(received, lines + lines);
  EXPECT_EQ(play.finish(), 0);
}

TEST_F(PlayWindowsTest, WithoutHalvane3DllBesideItTheQueueSaysSoAndExitsWithOne) {
  fs::copy_file(BinFolder() / kPlay, At(kPlay));
  Write("s.csv", kScenario);
  // The current folder holds Halvane3.dll, and is no place the program looks.
  ASSERT_TRUE(SetCurrentDirectoryW(BinFolder().c_str()));
  const Finished run = runToEnd({Ansi(At(kPlay)), "--queue", Ansi(At("s.csv"))});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("fauxlarm-play: The exchange library could not be loaded: looked "
                            "for Halvane3.dll in " +
                            Utf8(folder_.wstring()) + "\\ and in the system's library path.\n"),
            std::string::npos)
      << run.output;
}

TEST(ConsoleText, IsGivenInTheConsolesCodePage) {
  const std::string text =
      "Pr\xC3\xBC"
      "fung \xE2\x82\xAC";  // "Prüfung €"
  EXPECT_EQ(InCodePage(text, 850),
            "Pr\x81"
            "fung ?");
  EXPECT_EQ(InCodePage(text, 1252),
            "Pr\xFC"
            "fung \x80");
  EXPECT_EQ(InCodePage(text, CP_UTF8), text);
}

}  // namespace
