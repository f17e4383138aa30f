// What the emulator costs and what it can deliver: its CPU time per second
// of streaming (it shares a 2-core machine with the program it serves), and
// the record rates it sustains, as ratios of the real wire.
//
// The emulator serves in this process; its CPU time is the process's less
// the time of the one host thread that reads the stream.
#include <time.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "probelink.h"
#include "temp_config_home.h"
#include "veritrak/emulator.h"

namespace {

using namespace std::chrono_literals;

constexpr int32_t kPort = 9;
constexpr double kWireBytesPerSecond = 38400.0 / 11;
constexpr auto kRun = 4s;

double CpuSeconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

struct Figures {
  double recordsPerSecond = 0;
  double emulatorCpuPerSecond = 0;
};

Figures MeasureStream(const veritrak::Options& options, const std::vector<uint8_t>& registers) {
  testsupport::TempConfigHome home;
  veritrak::Emulator emulator(options);
  home.LinkPort(kPort, emulator.DevicePath());
  Figures f;
  if (OpenPort(kPort) != 0 || ConfigPort(kPort, 20, 38400) != 0) return f;
  const auto n = static_cast<int32_t>(registers.size());
  if (BeginAsyncWren(kPort, n, registers.data()) != 0) return f;
  std::vector<uint8_t> buffer(4096);
  double bytes = 0;
  const double wall0 = Now(), process0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID),
               host0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
  while (Now() - wall0 < std::chrono::duration<double>(kRun).count()) {
    int32_t got = 0;
    ReadRs232Data(kPort, static_cast<int32_t>(buffer.size()), buffer.data(), &got);
    bytes += got;
  }
  const double wall = Now() - wall0;
  const double process = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - process0;
  const double host = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - host0;
  EndAsync(kPort, n);
  DoSynchronize(kPort);
  ClosePort(kPort);
  f.recordsPerSecond = bytes / (2 + 2 * registers.size()) / wall;
  f.emulatorCpuPerSecond = (process - host) / wall;
  return f;
}

double MeasureIdle() {
  veritrak::Emulator emulator;
  const double wall0 = Now(), cpu0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
  std::this_thread::sleep_for(2s);
  return (CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - cpu0) / (Now() - wall0);
}

void Report(const char* what, const Figures& f, size_t registers) {
  const double wireRecords = kWireBytesPerSecond / (2 + 2 * registers);
  std::printf("%-60s %9.0f records/s = %7.2f x wire, emulator CPU %.4f s/s (%.1f%% of a core)\n",
              what, f.recordsPerSecond, f.recordsPerSecond / wireRecords, f.emulatorCpuPerSecond,
              100 * f.emulatorCpuPerSecond);
}

}  // namespace

int main() {
  const std::vector<uint8_t> signal{0x65, 0x64, 0x67, 0x26};
  const std::vector<uint8_t> strength{0x65, 0x64, 0x69, 0x68, 0x67, 0x00};

  veritrak::Options paced;
  paced.line.paced = true;
  Report("emulator: paced stream, 4 registers", MeasureStream(paced, signal), 4);
  Report("emulator: paced stream, 6 registers", MeasureStream(paced, strength), 6);

  const veritrak::Options unpaced;
  Report("emulator: unpaced stream at the default rate, 4 registers",
         MeasureStream(unpaced, signal), 4);
  veritrak::Options unthrottled;
  unthrottled.line.recordRate = 0;
  Report("emulator: unpaced stream, as fast as it drains, 4 registers",
         MeasureStream(unthrottled, signal), 4);

  const double idle = MeasureIdle();
  std::printf("%-60s emulator CPU %.4f s/s (%.2f%% of a core)\n", "emulator: idle", idle,
              100 * idle);
  return 0;
}
