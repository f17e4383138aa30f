// The person at the soaked window. The communication-failure box is answered
// Yes once the fault is over, after the pause a person takes to read it;
// every other box is unexpected, logged and answered the way that disturbs
// the window least. After the soak gives up, the failure box is answered No.
#pragma once

#include <QString>
#include <atomic>

#include "fault_window.h"
#include "questions.h"

namespace soak {

class SoakQuestions : public quillon::Questions {
 public:
  explicit SoakQuestions(FaultWindow& fault) : fault_(fault) {}

  quillon::Answer Ask(const quillon::Question& question) override;
  QString AskFileName(const quillon::FileQuestion& question) override;

  // What the driver reads from its own thread.
  int FailureBoxes() const { return failureBoxes_; }
  int OtherBoxes() const { return otherBoxes_; }
  bool BoxOpen() const { return boxOpen_; }
  Clock::time_point LastAnswer() const { return Clock::time_point(Clock::duration(lastAnswer_)); }
  void GiveUp() { givenUp_ = true; }

 private:
  quillon::Answer AnswerFailure();
  quillon::Answer AnswerOther(const quillon::Question& question);

  FaultWindow& fault_;
  std::atomic<int> failureBoxes_{0}, otherBoxes_{0};
  std::atomic<bool> boxOpen_{false}, givenUp_{false};
  std::atomic<Clock::rep> lastAnswer_{0};
};

}  // namespace soak
