// Runs each acquisition thread against the emulator program for a fixed
// time and prints its sample rate against the limit the serial wire sets for
// the bytes that view exchanges per sample, and the program's CPU time per
// sample. The emulator runs as its own process so that its CPU time is not
// counted.
//   acquisition_bench [seconds] [path to veritrak-emulator]
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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
#include "probelink.h"
#include "temp_config_home.h"

extern char** environ;

namespace {

using namespace quillon;

constexpr int32_t kPort = 7;
constexpr double kBytesPerSecond = 38400.0 / 11.0;

// Bytes on the wire per sample: a lone sync is 2, a register read 18, a
// 32-bit information read 20.
constexpr double kStatusBytes = 4 * (2 + 18) + (2 + 3 * 18 + 2 * 2);
constexpr double kSignalBytes = 2 + 4 * 2;
constexpr double kStrengthBytes = 2 + 6 * 2;
constexpr double kPositionBytes = 2 + 4 * 2;
constexpr double kSurveyBytes = 26 * (2 + 18) + (2 + 18) + 2 * (2 + 20);

// Counts the samples the threads hand over; draws nothing.
class CountingWindow : public WindowLink {
 public:
  long samples = 0;
  void UpdateStatusDisplay(int32_t, float, int32_t, float, bool, bool) override { ++samples; }
  void ClearLissajous() override {}
  void DrawLissajousPoint(bool, const SignalSample&, float) override {}
  void DrawLissajousBatch(bool, const SignalBatch&, const SignalBatch&, float) override {
    samples += 5;
  }
  int32_t DrawStrengthPoint(int32_t, int32_t, int32_t, float, int32_t, int32_t) override {
    ++samples;
    return 0;
  }
  void ReplotStrength(const int32_t*, const int32_t*, int32_t, int32_t, int32_t) override {}
  void WriteStrengthLabels(int32_t, int32_t) override {}
  void WriteTimeLabels(float, float) override {}
  void WriteValueLabels(const AxisLimits&) override {}
  void DrawTraceSegment(const TraceSegment&) override { ++samples; }
  void ReplotTrace(const int32_t*, const float*, const float*, int32_t, float, float,
                   const AxisLimits&) override {}
  void ClearTimePlot() override {}
  void ShowTime(float) override {}
  void ShowRegisterPass(const QStringList&) override { ++samples; }
  bool CommandBusy() const override { return false; }
  int ModelCode() const override { return 1; }
  void StopAction() override {}
  void CommunicationFailure() override { std::printf("  communication failure\n"); }
  void ShowInterpolationAndFrequency(int32_t, uint32_t) override {}
};

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec * 1e-6;
}

class EmulatorProcess {
 public:
  EmulatorProcess(const std::string& program, const testsupport::TempConfigHome& home,
                  bool paced) {
    std::vector<std::string> args = {program, "--com", std::to_string(kPort), "--record-rate",
                                     "0"};
    if (paced) args.push_back("--paced");
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0)
      pid_ = -1;
    const auto link = home.PortFolder() / ("COM" + std::to_string(kPort));
    for (int i = 0; i < 500 && !std::filesystem::is_symlink(link); ++i) usleep(10000);
  }
  ~EmulatorProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  bool Running() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

struct ViewRun {
  const char* name;
  double wireBytes;
  std::function<void(ComData&)> start;
};

void Measure(const ViewRun& view, const std::string& program, bool paced, double seconds) {
  testsupport::TempConfigHome home;
  EmulatorProcess emulator(program, home, paced);
  CountingWindow window;
  auto com = std::make_unique<ComData>(kPort, window);
  QString message;
  int32_t result = 0;
  if (!emulator.Running() || !com->Identify(message, result)) {
    std::printf("%-9s %s: no electronics found\n", view.name, paced ? "paced" : "unpaced");
    return;
  }
  com->SetPlotSizes(150, 5000, 10.0f);
  const double cpuBefore = ProcessCpuSeconds();
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
  const double cpu = ProcessCpuSeconds() - cpuBefore;
  ClosePort(kPort);
  const double rate = samples / elapsed;
  const double limit = kBytesPerSecond / view.wireBytes;
  std::printf("%-9s %s %9.1f/s wire %7.1f/s ratio %7.2f cpu %8.1f us/sample\n", view.name,
              paced ? "paced  " : "unpaced", rate, limit, rate / limit,
              samples ? cpu * 1e6 / samples : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
  const std::string program =
      argc > 2 ? argv[2]
               : (std::filesystem::path(argv[0]).parent_path() / "../emulator/veritrak-emulator")
                     .string();
  const ViewRun views[] = {
      {"STATUS", kStatusBytes, [](ComData& c) { c.StartStatus(ActionLive); }},
      {"SIGNAL", kSignalBytes, [](ComData& c) { c.StartSignal(ActionLive); }},
      {"STRENGTH", kStrengthBytes, [](ComData& c) { c.StartStrength(ActionLive); }},
      {"POSITION", kPositionBytes, [](ComData& c) { c.StartPosition(ActionLive); }},
      {"REGISTERS", kSurveyBytes, [](ComData& c) { c.StartReadAll(); }},
  };
  std::printf("acquisition rates, %.0f s a view (targets: paced ratio >= 0.95, unpaced >= 50)\n",
              seconds);
  for (bool paced : {true, false})
    for (const ViewRun& view : views) Measure(view, program, paced, seconds);
  return 0;
}
