// Runs each acquisition thread against the emulator program for a fixed
// time and prints its sample rate against the limit the serial wire sets for
// the bytes that view exchanges per sample, and the program's CPU time per
// sample. The emulator runs as its own process so that its CPU time is not
// counted.
//   acquisition_bench [seconds] [path to veritrak-emulator]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "com_data.h"
#include "emulator_process.h"
#include "idle_window.h"
#include "wire_limits.h"
#include "probelink.h"
#include "temp_config_home.h"

namespace {

using namespace quillon;

constexpr int32_t kPort = 7;

// Counts the samples the threads hand over; draws nothing.
class CountingWindow : public IdleWindow {
 public:
  long samples = 0;
  void UpdateStatusDisplay(int32_t, float, int32_t, float, bool, bool) override { ++samples; }
  void DrawLissajousBatch(bool, const SignalBatch&, const SignalBatch&, float) override {
    samples += 5;
  }
  int32_t DrawStrengthPoint(int32_t, int32_t, int32_t, float, int32_t, int32_t) override {
    ++samples;
    return 0;
  }
  void DrawTraceSegment(const TraceSegment&) override { ++samples; }
  void ShowRegisterPass(const QStringList&) override { ++samples; }
  void CommunicationFailure() override { std::printf("  communication failure\n"); }
};

struct ViewRun {
  const char* name;
  bench::WireCost cost;
  std::function<void(ComData&)> start;
};

void Measure(const ViewRun& view, const std::string& program, bool paced, double seconds) {
  testsupport::TempConfigHome home;
  bench::EmulatorProcess emulator(program, home, kPort, paced);
  CountingWindow window;
  auto com = std::make_unique<ComData>(kPort, window);
  QString message;
  int32_t result = 0;
  if (!emulator.Running() || !com->Identify(message, result)) {
    std::printf("%-9s %s: no electronics found\n", view.name, paced ? "paced" : "unpaced");
    return;
  }
  com->SetPlotSizes(150, 5000, 10.0f);
  const double cpuBefore = bench::ProcessCpuSeconds();
  QElapsedTimer timer;
  timer.start();
  view.start(*com);
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
  loop.exec();
  com->RequestStop();
  const long samples = window.samples;
  const double elapsed = timer.elapsed() / 1000.0;
  com.reset();
  const double cpu = bench::ProcessCpuSeconds() - cpuBefore;
  ClosePort(kPort);
  const double rate = samples / elapsed;
  const double limit = bench::WireSamplesPerSecond(view.cost);
  std::printf("%-9s %s %9.1f/s wire %7.1f/s ratio %7.2f cpu %8.1f us/sample\n", view.name,
              paced ? "paced  " : "unpaced", rate, limit, rate / limit,
              samples ? cpu * 1e6 / samples : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
  const std::string program = bench::EmulatorProgram(argv[0], argc, argv, 2);
  const ViewRun views[] = {
      {"STATUS", bench::kStatusCost, [](ComData& c) { c.StartStatus(ActionLive); }},
      {"SIGNAL", bench::kSignalCost, [](ComData& c) { c.StartSignal(ActionLive); }},
      {"STRENGTH", bench::kStrengthCost, [](ComData& c) { c.StartStrength(ActionLive); }},
      {"POSITION", bench::kPositionCost, [](ComData& c) { c.StartPosition(ActionLive); }},
      {"REGISTERS", bench::kSurveyCost, [](ComData& c) { c.StartReadAll(); }},
  };
  std::printf("acquisition rates, %.0f s a view (targets: paced ratio >= 0.95, unpaced >= 50)\n"
              "wire limit: the bytes of a sample, and %.1f byte times of silence for each lone "
              "sync byte of the polled views\n",
              seconds, bench::kSyncSilenceBytes);
  for (bool paced : {true, false})
    for (const ViewRun& view : views) Measure(view, program, paced, seconds);
  return 0;
}
