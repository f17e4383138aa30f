#include "window_harness.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTimer>
#include <cstdio>

namespace harness {

quillon::Answer FirstAnswers::Ask(const quillon::Question& question) {
  std::fprintf(stderr, "asked: %s\n", qPrintable(question.text));
  return question.answers.value(0, quillon::Answer::None);
}

bool ServeUntil(const std::function<bool()>& done, int limitMs) {
  QTimer ticker;  // wakes the wait when nothing else happens
  ticker.start(10);
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

Sandbox::Sandbox() {
  QSettings::setPath(QSettings::IniFormat, QSettings::SystemScope, systemDir_.path());
  QSettings(QSettings::IniFormat, QSettings::SystemScope, "Software", "Quillon")
      .setValue("Install Directory", installDir_.path());
  for (int com = 2; com <= 16; ++com) home_.LinkPort(com, home_.Root() / "absent");
}

}  // namespace harness
