// fauxlarm-play measured as it runs, against the anchors of the same machine in the same
// run: pacing at 1,000 and 10,000 events/s (and loggen's --rate where it is installed),
// top speed to a reader on loopback and into command queue 0 (and Fauxlarm's burst of the
// same events), and peak memory while a 1 GB scenario streams. See README for the figures.
//
// Usage: play_bench FAUXLARM_PLAY [PACING_SECONDS [SCENARIO_MB]]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "bench/injector/StartedWindow.h"
#include "injector/FXL_Main.h"
#include "injector/Halvane3Library.h"

namespace {

using Clock = std::chrono::steady_clock;

const std::string kLine =
    "1|2015-05-05|12:55:54|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE";

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Process {
  int status = -1;
  std::string out;
  double seconds = 0;
  double cpuSeconds = 0;
  double peakMegabytes = 0;
};

// Runs a program to its end with what it prints on standard output and error kept.
Process Run(const std::vector<std::string>& argv) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    std::vector<char*> arguments;
    for (const std::string& argument : argv)
      arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    dup2(pipeEnds[1], STDOUT_FILENO);
    dup2(pipeEnds[1], STDERR_FILENO);
    execvp(arguments[0], arguments.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  Process process;
  char buffer[4096];
  ssize_t n;
  while ((n = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
    process.out.append(buffer, static_cast<std::size_t>(n));
  close(pipeEnds[0]);
  rusage usage{};
  wait4(child, &process.status, 0, &usage);
  process.seconds = SecondsSince(start);
  process.peakMegabytes = usage.ru_maxrss / 1024.0;
  process.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                       (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  return process;
}

double JsonNumber(const std::string& json, const std::string& key) {
  std::smatch match;
  if (!std::regex_search(json, match, std::regex("\"" + key + "\":(-?[0-9.]+)"))) return NAN;
  return std::stod(match[1]);
}

int FreePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t size = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

// What a reader on loopback saw: every message's arrival against a schedule of `rate`
// messages a second (0: no schedule), set so that none came early; lateness measured
// where the server would see it, the same way for every sender.
struct Received {
  std::int64_t messages = 0;
  double firstToLast = 0;
  std::vector<double> lateness;  // seconds
};

// Messages are lines, or of a fixed size (loggen's have no line ends).
void Read(int fd, double rate, Received& received, std::size_t messageSize = 0) {
  std::vector<char> buffer(1 << 20);
  Clock::time_point first;
  Clock::time_point last;
  std::int64_t bytes = 0;
  ssize_t n;
  while ((n = recv(fd, buffer.data(), buffer.size(), 0)) > 0) {
    last = Clock::now();
    if (bytes == 0) first = last;
    bytes += n;
    const std::int64_t messages =
        messageSize > 0 ? bytes / static_cast<std::int64_t>(messageSize) - received.messages
                        : std::count(buffer.data(), buffer.data() + n, '\n');
    const double since = std::chrono::duration<double>(last - first).count();
    for (std::int64_t i = 0; rate > 0 && i < messages; ++i)
      received.lateness.push_back(since - static_cast<double>(received.messages + i) / rate);
    received.messages += messages;
  }
  received.firstToLast = std::chrono::duration<double>(last - first).count();
  if (!received.lateness.empty()) {
    const double earliest = *std::min_element(received.lateness.begin(), received.lateness.end());
    for (double& lateness : received.lateness)
      lateness -= earliest;
  }
  close(fd);
}

// Connects to a program that listens, trying until it does.
int ConnectTo(int port) {
  for (int attempt = 0; attempt < 500; ++attempt) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    close(fd);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

double Percentile(std::vector<double> values, double share) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, static_cast<std::size_t>(share * values.size()))];
}

void Pacing(const std::string& play, int rate, int seconds) {
  const int port = FreePort();
  Received received;
  std::thread reader([&] { Read(ConnectTo(port), rate, received); });
  const Process run = Run({play, "--tcp=" + std::to_string(port), "--wait=10", "--random",
                           "--rate=" + std::to_string(rate),
                           "--duration=" + std::to_string(seconds), "--json", "--quiet"});
  reader.join();
  const double achieved = JsonNumber(run.out, "rate");
  std::printf(
      "fauxlarm-play --rate=%-6d %10.2f/s %+7.3f %%  own lateness p50 %.3f p99 %.3f max %.3f ms"
      "  | reader: %lld lines, lateness p50 %.3f p99 %.3f ms\n",
      rate, achieved, (achieved / rate - 1) * 100, JsonNumber(run.out, "p50"),
      JsonNumber(run.out, "p99"), JsonNumber(run.out, "max"),
      static_cast<long long>(received.messages), Percentile(received.lateness, 0.5) * 1e3,
      Percentile(received.lateness, 0.99) * 1e3);
}

void LoggenPacing(int rate, int seconds) {
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  const int on = 1;
  setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(listener, 4);
  socklen_t size = sizeof address;
  getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
  // 127 bytes is the least loggen sends; its stream messages have no line ends.
  constexpr std::size_t kMessageSize = 127;
  Received received;
  std::thread reader(
      [&] { Read(accept(listener, nullptr, nullptr), rate, received, kMessageSize); });
  const Process run =
      Run({"loggen", "--inet", "--stream", "--quiet", "--size=" + std::to_string(kMessageSize),
           "--rate=" + std::to_string(rate), "--interval=" + std::to_string(seconds), "127.0.0.1",
           std::to_string(ntohs(address.sin_port))});
  reader.join();
  close(listener);
  // Its own figure: "average rate = 1207.15 msg/sec, count=3636, time=3.01205, ..."
  std::smatch own;
  const double achieved = std::regex_search(run.out, own, std::regex("average rate = ([0-9.]+)"))
                              ? std::stod(own[1])
                              : NAN;
  std::printf(
      "loggen --rate=%-13d %10.2f/s %+7.3f %%  (tells no lateness)"
      "                              | reader: %lld messages, lateness p50 %.3f p99 %.3f ms\n",
      rate, achieved, (achieved / rate - 1) * 100, static_cast<long long>(received.messages),
      Percentile(received.lateness, 0.5) * 1e3, Percentile(received.lateness, 0.99) * 1e3);
}

// The floor of this machine at the moment: a bare loop that sleeps to absolute deadlines
// and takes the time when it wakes, with the same exact timers.
void Floor(int rate, int seconds) {
  prctl(PR_SET_TIMERSLACK, 1, 0, 0, 0);
  std::vector<double> lateness;
  const Clock::time_point start = Clock::now();
  for (std::int64_t i = 0; i < std::int64_t{rate} * seconds; ++i) {
    const Clock::time_point due = start + std::chrono::nanoseconds(i * 1'000'000'000 / rate);
    std::this_thread::sleep_until(due);
    lateness.push_back(std::chrono::duration<double>(Clock::now() - due).count());
  }
  std::printf("a bare sleep loop at %-8d lateness p50 %.3f p99 %.3f max %.3f ms\n", rate,
              Percentile(lateness, 0.5) * 1e3, Percentile(lateness, 0.99) * 1e3,
              Percentile(lateness, 1.0) * 1e3);
}

// A started Fauxlarm window sending by the given method, in a temporary program folder,
// the same event as the generic file holds.
struct Window {
  Window(const char* method, const QString& binFolder)
      : library(binFolder + u'/'), started(method, library) {
    form->Text_Field[5].SetText(QStringLiteral("ACTIVE"));
  }

  Halvane3Library library;
  StartedWindow started;
  std::unique_ptr<FXL_Main>& form = started.form;
};

double FauxlarmTcpBurst(const QString& binFolder, int events) {
  Window window("/g", binFolder);
  FXL_Main& form = *window.form;
  form.Text_NumberOfEvents.SetText(QString::number(events));
  std::atomic<std::int64_t> lines{0};
  std::thread reader([&] {
    Received received;
    Read(ConnectTo(form.ListeningPort()), 0, received);
    lines = received.messages;
  });
  while (form.Winsock_Data.State() != DataSocket::kConnected)
    QCoreApplication::processEvents();
  const Clock::time_point start = Clock::now();
  form.Command_Alarm_Click(1);
  form.Form_Unload();  // flushes what is queued and closes, so that the reader ends
  reader.join();
  return static_cast<double>(lines) / SecondsSince(start);
}

double FauxlarmQueueBurst(const QString& binFolder, int events) {
  Window window("/d", binFolder);
  window.form->Text_NumberOfEvents.SetText(QStringLiteral("1"));
  window.form->Command_Alarm_Click(1);  // loads the library outside the timing
  window.form->Text_NumberOfEvents.SetText(QString::number(events));
  const Clock::time_point start = Clock::now();
  window.form->Command_Alarm_Click(1);
  return events / SecondsSince(start);
}

void TopSpeed(const std::string& play, const QString& binFolder, const std::string& folder,
              int events) {
  const std::string file = folder + "/generic.txt";
  {
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < events; ++i)
      out << kLine << "\r\n";
  }
  const int port = FreePort();
  Received received;
  std::thread reader([&] { Read(ConnectTo(port), 0, received); });
  const Process tcp =
      Run({play, "--tcp=" + std::to_string(port), "--wait=10", "--json", "--quiet", file});
  reader.join();
  const double fauxlarmTcp = FauxlarmTcpBurst(binFolder, events);
  const Process queue = Run({play, "--queue", "--json", "--quiet", file});
  const double fauxlarmQueue = FauxlarmQueueBurst(binFolder, events);
  std::printf(
      "top speed, %d events: TCP to a reader %.2f M/s (the reader: %lld lines, %.2f M/s; "
      "whole run with the check %.2f s, %.2f s CPU); Fauxlarm's burst %.2f M/s\n",
      events, JsonNumber(tcp.out, "rate") / 1e6, static_cast<long long>(received.messages),
      received.messages / received.firstToLast / 1e6, tcp.seconds, tcp.cpuSeconds,
      fauxlarmTcp / 1e6);
  std::printf(
      "top speed, %d events: command queue 0 %.2f M/s (whole run %.2f s, %.2f s CPU); "
      "Fauxlarm's burst %.2f M/s\n",
      events, JsonNumber(queue.out, "rate") / 1e6, queue.seconds, queue.cpuSeconds,
      fauxlarmQueue / 1e6);
}

void Memory(const std::string& play, const std::string& folder, int megabytes) {
  const std::string file = folder + "/scenario.csv";
  std::int64_t rows = 0;
  {
    std::ofstream out(file, std::ios::binary);
    out << "at,type,tag,area,category,name,description,status,date,time\r\n";
    const std::int64_t bytes = std::int64_t{megabytes} << 20;
    std::int64_t written = 0;
    char row[256];
    while (written < bytes) {
      const int n = std::snprintf(
          row, sizeof row,
          "%lld.%03lld,active,P-%06lld,A5,2,PressureFault,\"Pressure is bad, hall %lld\",ACTIVE,"
          "2015-05-05,12:55:54\r\n",
          static_cast<long long>(rows / 1000), static_cast<long long>(rows % 1000),
          static_cast<long long>(rows % 1000000), static_cast<long long>(rows % 7));
      out.write(row, n);
      written += n;
      ++rows;
    }
  }
  const Process run = Run({play, "--queue", "--rate=0", "--json", "--quiet", file});
  std::printf(
      "%d MB scenario, %lld rows, into command queue 0: peak resident %.1f MB, %.1f s in all, "
      "%.1f s CPU (checked, then %.0f sent at %.2f M/s)\n",
      megabytes, static_cast<long long>(rows), run.peakMegabytes, run.seconds, run.cpuSeconds,
      JsonNumber(run.out, "sent"), JsonNumber(run.out, "rate") / 1e6);
  std::remove(file.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: play_bench FAUXLARM_PLAY [PACING_SECONDS [SCENARIO_MB]]\n");
    return 2;
  }
  const std::string play = argv[1];
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 60;
  const int megabytes = argc > 3 ? std::atoi(argv[3]) : 1024;
  const std::string prefix = "play-bench-" + std::to_string(getpid()) + ".";
  setenv("HALVANE3_NAME_PREFIX", prefix.c_str(), 1);
  QCoreApplication app(argc, argv);
  const QString binFolder = QFileInfo(QString::fromStdString(play)).absolutePath();
  QTemporaryDir folder;

  for (const int rate : {1000, 10000}) {
    Floor(rate, seconds);
    Pacing(play, rate, seconds);
    if (std::system("command -v loggen >/dev/null") == 0) LoggenPacing(rate, seconds);
  }
  TopSpeed(play, binFolder, folder.path().toStdString(), 2'000'000);
  Memory(play, QDir::tempPath().toStdString(), megabytes);
  // The region's objects go with this run: the library removes the region with its last
  // process, but never the attach lock.
  for (const char* object : {"QorShareView3", "QorStructMutEx3", "QorAttach3"})
    std::remove(("/dev/shm/" + prefix + object).c_str());
  return 0;
}
