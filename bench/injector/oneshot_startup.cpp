// Start-to-exit time of a one-shot run "Fauxlarm /f /s1 /u" against appending the same
// line with printf from a shell, measured in turns in one run.
// Usage: oneshot_startup PATH_TO_Fauxlarm [RUNS]
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace {

double RunMilliseconds(const std::vector<std::string>& command, char** environment) {
  std::vector<char*> argv;
  for (const std::string& word : command)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environment) != 0) {
    std::perror(argv[0]);
    std::exit(1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  const auto end = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s failed\n", argv[0]);
    std::exit(1);
  }
  return std::chrono::duration<double, std::milli>(end - start).count();
}

struct Summary {
  double min, median, max;
};

Summary Summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values.front(), values[values.size() / 2], values.back()};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s PATH_TO_Fauxlarm [RUNS]\n", argv[0]);
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 50;
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("oneshot_bench." + std::to_string(getpid()));
  fs::create_directories(root / "program");
  fs::create_directories(root / "config");
  const fs::path program = root / "program" / "Fauxlarm";
  fs::copy_file(argv[1], program);

  std::vector<std::string> environmentText = {"XDG_CONFIG_HOME=" + (root / "config").string(),
                                              "PATH=/usr/bin:/bin", "HOME=" + root.string()};
  std::vector<char*> environment;
  for (std::string& entry : environmentText)
    environment.push_back(entry.data());
  environment.push_back(nullptr);

  const std::string line = "1|||TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE";
  const std::vector<std::string> fauxlarm = {program.string(), "/f", "/s1", "/u"};
  const std::vector<std::string> shell = {"/bin/sh", "-c", "printf '%s\\r\\n' \"$0\" >> \"$1\"",
                                          line, (root / "shell.txt").string()};

  RunMilliseconds(fauxlarm, environment.data());  // warm the caches once
  std::vector<double> a, b, ratios;
  for (int i = 0; i < runs; ++i) {
    a.push_back(RunMilliseconds(fauxlarm, environment.data()));
    b.push_back(RunMilliseconds(shell, environment.data()));
    ratios.push_back(a.back() / b.back());
  }
  const Summary sa = Summarise(a), sb = Summarise(b), sr = Summarise(ratios);
  std::printf("runs: %d each, alternating\n", runs);
  std::printf("Fauxlarm /f /s1 /u   min %6.2f  median %6.2f  max %6.2f ms\n", sa.min, sa.median,
              sa.max);
  std::printf("sh printf >> file    min %6.2f  median %6.2f  max %6.2f ms\n", sb.min, sb.median,
              sb.max);
  std::printf("ratio (pairwise)     min %6.2f  median %6.2f  max %6.2f\n", sr.min, sr.median,
              sr.max);
  fs::remove_all(root);
  return 0;
}
