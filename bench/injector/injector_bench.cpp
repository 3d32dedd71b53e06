// Speed of composing and delivering fake events. Run on demand; see README for the
// command and the figures.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "bench/injector/StartedWindow.h"
#include "common/Text1252.h"
#include "events/EventLine.h"
#include "injector/CommandQueueLibrary.h"
#include "injector/FXL_Main.h"
#include "injector/FXL_Procs.h"
#include "injector/Utf16View.h"

namespace {

constexpr int kBurst = 100000;
const char kLine[] =
    "1|2015-05-05|12:55:54|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE\r\n";

class NoLibrary : public CommandQueueLibrary {
 public:
  bool SetCommandEntry(const std::string&, int, QString*) override { return true; }
};

// A started window in a temporary program folder, sending by the given method.
struct Window {
  explicit Window(const char* method) : started(method, library) {}

  NoLibrary library;
  StartedWindow started;
  std::unique_ptr<FXL_Main>& form = started.form;
};

// A figure of /proc/self/status ("VmRSS", "VmHWM"), in megabytes.
double StatusMegabytes(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::strlen(field) + 1)) / 1024;
  }
  return 0;
}

// One event as the burst loop makes it: the line from the window's fields, in
// Windows-1252 bytes.
void BM_ComposeEvent(benchmark::State& state) {
  Window window("/f");
  FXL_Main& form = *window.form;
  std::array<std::string, 8> fields;
  std::string bytes;
  for (auto _ : state) {
    const QString* texts[] = {&form.Text_Date.Text(),     &form.Text_Time.Text(),
                              &form.Text_Field[0].Text(), &form.Text_Field[1].Text(),
                              &form.Text_Field[2].Text(), &form.Text_Field[3].Text(),
                              &form.Text_Field[4].Text(), &form.Text_Field[5].Text()};
    for (std::size_t i = 0; i < fields.size(); ++i) {
      fields[i].clear();
      Halvane_Common_Procedures::AppendWindows1252(Utf16View(*texts[i]), fields[i]);
    }
    bytes.clear();
    FauxlarmEvents::AppendEventLine(
        1, {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7]},
        bytes);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeEvent);

// Bursts of one event, as the stream timer sends them, into a library that takes them at
// no cost: what a burst costs besides its events (reading the count, the status line).
void BM_OneEventBursts(benchmark::State& state) {
  Window window("/d");
  for (auto _ : state)
    window.form->Command_Alarm_Click(1);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OneEventBursts);

// A burst of 100,000 events by the generic-file method.
void BM_GenericFileBurst(benchmark::State& state) {
  Window window("/f");
  window.form->Text_NumberOfEvents.SetText(QString::number(kBurst));
  const QString file = window.started.folder.filePath(QStringLiteral("GenericFile.txt"));
  for (auto _ : state) {
    window.form->Command_Alarm_Click(1);
    state.PauseTiming();
    QFile::remove(file);
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kBurst);
}
BENCHMARK(BM_GenericFileBurst)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The floor for the burst above: plain C opening, appending one line and closing,
// 100,000 times.
void BM_PlainAppendLoop(benchmark::State& state) {
  QTemporaryDir folder;
  const std::string file = folder.filePath(QStringLiteral("GenericFile.txt")).toStdString();
  for (auto _ : state) {
    for (int i = 0; i < kBurst; ++i) {
      const int fd = open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT, 0666);
      if (write(fd, kLine, sizeof kLine - 1) < 0) state.SkipWithError("write failed");
      close(fd);
    }
    state.PauseTiming();
    unlink(file.c_str());
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kBurst);
}
BENCHMARK(BM_PlainAppendLoop)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// A burst of 100,000 events by TCP, until a local reader has every byte.
void BM_TcpBurst(benchmark::State& state) {
  Window window("/g");
  FXL_Main& form = *window.form;
  form.Text_NumberOfEvents.SetText(QString::number(kBurst));
  const std::size_t lineBytes = sizeof kLine - 2;  // LF only on the wire

  const int reader = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(form.ListeningPort());
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(reader, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    state.SkipWithError("cannot connect");
    return;
  }
  while (form.Winsock_Data.State() != DataSocket::kConnected)
    QCoreApplication::processEvents();

  std::atomic<std::size_t> received{0};
  std::atomic<bool> stop{false};
  std::thread drain([&] {
    char buffer[1 << 16];
    while (!stop) {
      const ssize_t n = recv(reader, buffer, sizeof buffer, 0);
      if (n <= 0) break;
      received += static_cast<std::size_t>(n);
    }
  });
  qint64 queued = 0;
  for (auto _ : state) {
    const std::size_t target = received + lineBytes * kBurst;
    form.Command_Alarm_Click(1);
    // What the burst left queued in the process for the reader, at most a bounded amount.
    queued = std::max(queued, form.Winsock_Data.BytesQueued());
    while (received < target)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
  }
  state.SetItemsProcessed(state.iterations() * kBurst);
  state.counters["queued_MB"] = static_cast<double>(queued) / (1 << 20);
  state.counters["peak_rss_MB"] = StatusMegabytes("VmHWM:");
  stop = true;
  shutdown(reader, SHUT_RDWR);
  drain.join();
  close(reader);
}
BENCHMARK(BM_TcpBurst)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
