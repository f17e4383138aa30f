// The program entry: the main window, the splash that runs the search for
// the electronics, then the dialogs and the event loop.
//
// QUILLON_SCREENSHOT=file.png saves a picture of the main window a few
// seconds after start-up and ends the program; the demo script uses it on
// machines without a display.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "application_setup.h"
#include "main_form.h"
#include "questions.h"
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

// --help and --version answer and end the program; Qt's own options (such as
// -platform) stay with Qt. True when all controls were asked for.
bool ParseCommandLine(const QApplication& app) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Set-up and alignment of Veritrak II encoder electronics on a serial port (COM1 to "
      "COM16; see the README for how COM ports map to devices)."));
  parser.addHelpOption();
  parser.addVersionOption();
  const QCommandLineOption allControls(
      QStringLiteral("all-controls"),
      QStringLiteral("Show the controls this window hides: data processing, File > Load and "
                     "Save, the units, the alarm history, clearing the buffers, a new search "
                     "and the device commands."));
  parser.addOption(allControls);
  parser.process(app);
  return parser.isSet(allControls);
}

int main(int argc, char** argv) {
  Application app(argc, argv);
  quillon::SetUpApplication();
  QApplication::setApplicationVersion(QStringLiteral(QUILLON_VERSION));
  const bool allControls = ParseCommandLine(app);
  quillon::MessageBoxQuestions questions;
  quillon::TMainForm form(questions);
  if (allControls) form.ShowAllControls();
  questions.SetParent(&form);
  quillon::TStartup startup(form);
  form.CreateDialogs();
  const QString screenshot = qEnvironmentVariable("QUILLON_SCREENSHOT");
  if (!screenshot.isEmpty()) ScheduleScreenshot(form, screenshot);
  return QApplication::exec();
}
