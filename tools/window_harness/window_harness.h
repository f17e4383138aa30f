// What the programs that drive the real window without a person share (the
// window benchmark, the manual's pictures): an answer to every box, and a
// wait that serves the window's events as they come.
#pragma once

#include <QTemporaryDir>
#include <functional>

#include "questions.h"
#include "temp_config_home.h"

namespace harness {

// Nothing should ask while such a program runs; whatever does is told on
// standard error and answered with its first answer.
class FirstAnswers : public quillon::Questions {
 public:
  quillon::Answer Ask(const quillon::Question& question) override;
  QString AskFileName(const quillon::FileQuestion&) override { return {}; }
};

// Serves events until `done` holds; false when the limit passes first.
bool ServeUntil(const std::function<bool()>& done, int limitMs);

// Throw-away folders for the program's settings, its installation directory
// and its ports: COM2 to COM16 lead nowhere, COM1 is left for the emulator.
class Sandbox {
 public:
  Sandbox();
  const testsupport::TempConfigHome& Home() const { return home_; }

 private:
  testsupport::TempConfigHome home_;
  QTemporaryDir installDir_, systemDir_;
};

}  // namespace harness
