// The fault soak: the program's main window against the emulated
// electronics on a pseudo-terminal, each view through each fault of the
// line, for as long as asked.
//   quillon-soak [--tally FILE] [MINUTES]
// MINUTES (default 10) bounds the run after its first whole round. FILE
// keeps the counts after every case, for a caller that outlives a crash.
// Exit status: 0 passed, 1 failed, 2 bad arguments or no electronics found,
// 3 the window stopped answering.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "application_setup.h"
#include "fault_window.h"
#include "main_form.h"
#include "sandbox.h"
#include "soak_driver.h"
#include "soak_questions.h"
#include "stack_dump.h"
#include "startup.h"
#include "watchdog.h"

namespace {

struct Arguments {
  double minutes = 10;
  std::string tally;
  bool valid = true;
};

Arguments Parse(int argc, char** argv) {
  Arguments arguments;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--tally" && i + 1 < argc) {
      arguments.tally = argv[++i];
      continue;
    }
    char* end = nullptr;
    arguments.minutes = std::strtod(argv[i], &end);
    arguments.valid = arguments.valid && *end == '\0' && arguments.minutes >= 0;
  }
  return arguments;
}

// The offscreen platform cannot raise a window or take size hints and says
// so each time: no news about the window.
QtMessageHandler qtHandler = nullptr;
void QuietPlatformLimits(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
  if (message.startsWith(QLatin1String("This plugin does not support"))) return;
  if (qtHandler)
    qtHandler(type, context, message);
  else
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

// The real wire rate, so that every time-out of the window meets the line
// it was made for.
veritrak::Options PacedElectronics() {
  veritrak::Options options;
  options.line.paced = true;
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Arguments arguments = Parse(argc, argv);
  if (!arguments.valid) {
    std::fprintf(stderr, "usage: quillon-soak [--tally FILE] [MINUTES]\n");
    return 2;
  }
  soak::PrepareStackDumps();
  qtHandler = qInstallMessageHandler(QuietPlatformLimits);
  QApplication app(argc, argv);
  quillon::SetUpApplication();
  const soak::Sandbox sandbox;
  veritrak::Emulator emulator(PacedElectronics());
  const soak::LinkDevice linkDevice = [&sandbox](const std::string& device) {
    sandbox.LinkPort(1, device);
  };
  linkDevice(emulator.DevicePath());

  soak::FaultWindow fault;
  soak::SoakQuestions questions(fault);
  soak::Tally tally(arguments.tally);
  quillon::TMainForm form(questions);
  quillon::TStartup startup(form);
  form.CreateDialogs();
  if (!sandbox.Valid() || form.DemoMode) {
    std::printf("soak: the window found no electronics\n");
    return 2;
  }

  soak::Watchdog watchdog(startup, tally);
  soak::SoakDriver driver({form, emulator, fault, questions, tally, linkDevice},
                          std::chrono::duration<double, std::ratio<60>>(arguments.minutes));
  std::thread rounds([&] { driver.Run(); });
  QApplication::exec();
  watchdog.Stop();
  rounds.join();
  return driver.Report(watchdog) ? 0 : 1;
}
