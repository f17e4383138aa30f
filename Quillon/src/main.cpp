// The program entry: the main window, the splash that runs the search for
// the electronics, then the dialogs and the event loop.
//
// QUILLON_SCREENSHOT=file.png saves a picture of the main window a few
// seconds after start-up and ends the program; the demo script uses it on
// machines without a display.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <exception>

#include "application_setup.h"
#include "command_line.h"
#include "main_form.h"
#include "questions.h"
#include "report_command.h"
#include "startup.h"

namespace {

constexpr int kScreenshotDelayMs = 5000;

// An exception that reaches the event loop is shown and the loop goes on.
class Application : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
      QMessageBox::critical(nullptr, QString::fromLatin1(quillon::kApplicationTitle),
                            QString::fromLocal8Bit(error.what()));
    }
    return false;
  }
};

void ScheduleScreenshot(quillon::TMainForm& form, const QString& path) {
  QTimer::singleShot(kScreenshotDelayMs, &form, [&form, path] {
    const bool saved = form.grab().save(path);
    std::printf("%s %s\n", saved ? "Screenshot saved:" : "Could not save the screenshot",
                qPrintable(path));
    std::fflush(stdout);
    // Past the close confirmation: the settings are written as at a real exit.
    form.ShutDown();
  });
}

}  // namespace

// The report needs no display: over SSH or from cron it runs on the
// offscreen platform, whose own complaints are no business of a script's.
void RunWithoutDisplay() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
      std::fprintf(stderr, "Quillon: %s\n", qPrintable(message));
  });
}

bool DisplayNamed(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0) return true;
  return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
         !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int main(int argc, char** argv) {
  const auto parsed = quillon::ParseCommandLine(argc, argv, QUILLON_VERSION);
  if (const int* exit = std::get_if<int>(&parsed)) return *exit;
  const quillon::CommandLine& command = std::get<quillon::CommandLine>(parsed);
  if (command.report) {
    RunWithoutDisplay();
  } else if (!DisplayNamed(argc, argv)) {
    std::fprintf(stderr,
                 "Quillon: no display to show the window on (DISPLAY is not set); "
                 "Quillon --report FILE writes the set-up report without one\n");
    return 1;
  }
  Application app(argc, argv);
  quillon::SetUpApplication();
  QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
  if (command.report) return quillon::RunReportCommand(*command.report);
  quillon::MessageBoxQuestions questions;
  quillon::TMainForm form(questions);
  if (command.allControls) form.ShowAllControls();
  questions.SetParent(&form);
  quillon::TStartup startup(form);
  form.CreateDialogs();
  const QString screenshot = qEnvironmentVariable("QUILLON_SCREENSHOT");
  if (!screenshot.isEmpty()) ScheduleScreenshot(form, screenshot);
  return QApplication::exec();
}
