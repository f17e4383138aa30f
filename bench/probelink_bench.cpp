// The library's own CPU cost per exchange, against an instant responder on a
// pseudo-terminal, as a share of the time the same bytes need on the wire at
// 38400 baud 8E1 (11 bits a byte).
#include <poll.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "probelink.h"
#include "pty_pair.h"
#include "temp_config_home.h"

namespace {

constexpr int32_t kPort = 3;
constexpr double kByteMs = 11.0 * 1000.0 / 38400.0;

double ThreadCpuUs() {
  rusage usage{};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_utime.tv_sec * 1e6 + usage.ru_utime.tv_usec + usage.ru_stime.tv_sec * 1e6 +
         usage.ru_stime.tv_usec;
}

std::vector<uint8_t> StatusReply() {
  std::vector<uint8_t> r{0x90, 0, 0, 0, 0x34, 0x12};
  unsigned sum = 0;
  for (uint8_t b : r) sum += b;
  r.push_back(static_cast<uint8_t>(sum));
  r.push_back(static_cast<uint8_t>(sum >> 8));
  return r;
}

// Answers each 10-byte request at once, or streams records without pause.
class Responder {
 public:
  Responder(const testsupport::PtyPair& pty, bool stream, int values)
      : pty_(pty), stream_(stream), values_(values), thread_([this] { Run(); }) {}
  ~Responder() {
    stop_ = true;
    thread_.join();
  }

 private:
  void Run() {
    const std::vector<uint8_t> reply = StatusReply();
    std::vector<uint8_t> records;
    for (int r = 0; r < 64; ++r) {
      records.push_back(0xFF);
      records.push_back(0xFF);
      for (int v = 0; v < values_; ++v) {
        records.push_back(static_cast<uint8_t>(v));
        records.push_back(0x01);
      }
    }
    size_t pending = 0;
    while (!stop_) {
      pollfd p{pty_.MasterFd(), static_cast<short>(stream_ ? POLLOUT : POLLIN), 0};
      if (poll(&p, 1, 10) <= 0) continue;
      if (stream_) {
        (void)!::write(pty_.MasterFd(), records.data(), records.size());
        continue;
      }
      uint8_t buffer[256];
      const ssize_t r = ::read(pty_.MasterFd(), buffer, sizeof buffer);
      if (r <= 0) continue;
      pending += static_cast<size_t>(r);
      for (; pending >= 10; pending -= 10) (void)!::write(pty_.MasterFd(), reply.data(), reply.size());
    }
  }

  const testsupport::PtyPair& pty_;
  bool stream_;
  int values_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

void Report(const char* what, int count, double cpuUs, size_t wireBytes) {
  const double perUs = cpuUs / count;
  const double wireUs = wireBytes * kByteMs * 1000.0;
  std::printf("%-28s cpu %7.2f us  wire %7.1f us  ratio %.4f (%.2f %%)\n", what, perUs, wireUs,
              perUs / wireUs, 100.0 * perUs / wireUs);
}

void RegisterReads(const testsupport::TempConfigHome& home) {
  testsupport::PtyPair pty;
  home.LinkPort(kPort, pty.SlavePath());
  OpenPort(kPort);
  ConfigPort(kPort, 100, 38400);
  Responder responder(pty, false, 0);
  constexpr int kCount = 20000;
  const double start = ThreadCpuUs();
  int failures = 0;
  for (int i = 0; i < kCount; ++i) failures += ReadStatus(kPort) != 0x1234;
  Report("register read round trip", kCount, ThreadCpuUs() - start, 10 + 8);
  if (failures) std::printf("  (%d failed reads)\n", failures);
  ClosePort(kPort);
}

void StreamRecords(const testsupport::TempConfigHome& home, int values) {
  testsupport::PtyPair pty;
  home.LinkPort(kPort, pty.SlavePath());
  OpenPort(kPort);
  ConfigPort(kPort, 100, 38400);
  Responder responder(pty, true, values);
  constexpr int kCount = 50000;
  std::vector<uint16_t> record(values);
  const double start = ThreadCpuUs();
  int failures = 0;
  for (int i = 0; i < kCount; ++i) failures += ReadAsyncWren(kPort, values, record.data()) != 0;
  char label[64];
  std::snprintf(label, sizeof label, "stream record of %d values", values);
  Report(label, kCount, ThreadCpuUs() - start, 2 + 2 * values);
  if (failures) std::printf("  (%d failed records)\n", failures);
  ClosePort(kPort);
}

}  // namespace

int main() {
  testsupport::TempConfigHome home;
  std::printf("probelink CPU cost per exchange (target: under 1 %% of the wire time)\n");
  RegisterReads(home);
  StreamRecords(home, 4);
  StreamRecords(home, 6);
  return 0;
}
