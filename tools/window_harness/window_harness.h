// What the programs that drive the real window without a person share (the
// window benchmark, the manual's pictures): an answer to every box, and a
// wait that serves the window's events as they come.
#pragma once

#include <functional>

#include "questions.h"

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

}  // namespace harness
