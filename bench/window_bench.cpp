// Runs the real main window against the paced emulator program in each live
// view and prints what the window costs: the program's CPU time per sample,
// its share of a core at the rate the line carries, the GUI thread's and the
// others' (the acquisition thread's) shares apart with the times each woke a
// second, and the frames the view's display painted a second. The emulator
// runs as its own process, so the figures are the window's and its
// acquisition thread's alone. Given a packet period, the emulator hands its
// bytes over in packets, as a USB adapter does.
//   window_bench [seconds a view] [path to veritrak-emulator] [packet ms]
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "canvas_widgets.h"
#include "emulator_process.h"
#include "main_form.h"
#include "probelink.h"
#include "questions.h"
#include "signal_words.h"
#include "startup.h"
#include "thread_times.h"
#include "window_harness.h"
#include "wire_limits.h"

namespace {

using namespace quillon;
using harness::FirstAnswers;
using harness::ServeUntil;

constexpr int kPort = 1;
constexpr int kWarmUpMs = 1000;
constexpr int kEnterLimitMs = 20000;
// Well inside the time the fastest view takes to wrap its ring.
constexpr int kSamplePollMs = 1000;

class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint;
    return false;
  }
};

// The samples a view records, counted across the wraps of its ring.
class SampleCount {
 public:
  SampleCount(const ComData& connection, int view)
      : connection_(connection), view_(view), last_(connection.WriteIndex[view]) {}
  long Poll() {
    const int32_t now = connection_.WriteIndex[view_];
    total_ += WrapSlot(now - last_, RingSize(view_));
    last_ = now;
    return total_;
  }

 private:
  const ComData& connection_;
  const int view_;
  int32_t last_;
  long total_ = 0;
};

struct ViewRun {
  const char* name;
  int view;
  bench::WireCost cost;
  std::function<void(TMainForm&)> enter;
};

bool Enter(TMainForm& form, const ViewRun& run) {
  run.enter(form);
  return ServeUntil(
      [&] {
        return form.CurrentView == run.view && form.Lissajous1->isEnabled() &&
               form.Connection->ThreadActive[run.view];
      },
      kEnterLimitMs);
}

void Measure(TMainForm& form, const ViewRun& run, double seconds) {
  if (!Enter(form, run)) {
    std::printf("%-8s did not start\n", run.name);
    return;
  }
  ServeUntil([] { return false; }, kWarmUpMs);
  PaintCounter counter;
  QWidget* display = run.view == StatusView ? static_cast<QWidget*>(form.EncoderPositionText)
                                            : static_cast<QWidget*>(form.GraphBox);
  display->installEventFilter(&counter);
  SampleCount samples(*form.Connection, run.view);
  const double cpuBefore = bench::ProcessCpuSeconds();
  const bench::ThreadTimes before = bench::ReadThreadTimes();
  QElapsedTimer clock;
  clock.start();
  // The harness's own short ticks would be counted as the window's wake-ups,
  // so the measured stretch runs a plain event loop with one slow tick.
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] { samples.Poll(); });
  poll.start(kSamplePollMs);
  QEventLoop loop;
  QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
  loop.exec();
  const bench::ThreadTimes after = bench::ReadThreadTimes();
  const double cpu = bench::ProcessCpuSeconds() - cpuBefore;
  const bench::ThreadTime gui = after.main - before.main, others = after.others - before.others;
  const double elapsed = clock.elapsed() / 1000.0;
  const long n = samples.Poll();
  display->removeEventFilter(&counter);
  // Shares of a core at the rate the line carries, from CPU seconds.
  const auto share = [&](double seconds) {
    return n > 0 ? seconds * 100 / n * bench::WireSamplesPerSecond(run.cost) : 0.0;
  };
  std::printf(
      "%-8s cpu %.1f %% of a core, %.1f us/sample, %.0f frames/s | GUI thread %.1f %%, %.0f "
      "wake-ups/s | others %.1f %%, %.0f wake-ups/s\n",
      run.name, share(cpu), n > 0 ? cpu * 1e6 / n : 0.0, counter.paints / elapsed,
      share(gui.cpuSeconds), gui.sleeps / elapsed, share(others.cpuSeconds),
      others.sleeps / elapsed);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const double seconds = argc > 1 ? std::atof(argv[1]) : 8.0;
  const std::string program = bench::EmulatorProgram(argv[0], argc, argv, 2);

  const harness::Sandbox sandbox;
  std::vector<std::string> line;
  if (argc > 3) line = {"--burst", argv[3]};
  bench::EmulatorProcess emulator(program, sandbox.Home(), kPort, true, line);

  FirstAnswers questions;
  TMainForm form(questions, {QSize(1024, 768), 96});
  TStartup startup(form);
  form.CreateDialogs();
  if (!form.Connection || form.DemoMode) {
    std::printf("no electronics found\n");
    return 1;
  }
  const ViewRun runs[] = {
      {"STATUS", StatusView, bench::kStatusCost, [](TMainForm&) {}},
      {"SIGNAL", SignalView, bench::kSignalCost, [](TMainForm& f) { f.Lissajous1->trigger(); }},
      {"STRENGTH", StrengthView, bench::kStrengthCost,
       [](TMainForm& f) { f.SignalMonitor1->trigger(); }},
      {"POSITION", PositionView, bench::kPositionCost,
       [](TMainForm& f) { f.EncoderPositionPlot1->trigger(); }},
  };
  std::printf("the window at the paced wire rate, %.0f s a view, %s platform, %s\n", seconds,
              qPrintable(QGuiApplication::platformName()),
              argc > 3 ? ("bytes in packets every " + std::string(argv[3]) + " ms").c_str()
                       : "bytes as they are due");
  for (const ViewRun& run : runs) Measure(form, run, seconds);
  return 0;
}
