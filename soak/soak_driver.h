// The rounds of the soak, on their own thread while the window's thread runs
// the program's event loop: each view in turn, in each view each fault in
// turn, a line for each case, until the time is up (one whole round at the
// least); then the window's own shutdown ends the event loop.
#pragma once

#include <chrono>
#include <optional>

#include "fault_window.h"
#include "faults.h"
#include "soak_questions.h"
#include "tally.h"
#include "views.h"

namespace quillon {
class TMainForm;
}

namespace soak {

class Watchdog;

struct SoakParts {
  quillon::TMainForm& form;
  veritrak::Emulator& emulator;
  FaultWindow& fault;
  SoakQuestions& questions;
  Tally& tally;
  LinkDevice linkDevice;
};

class SoakDriver {
 public:
  SoakDriver(const SoakParts& parts, std::chrono::duration<double> length)
      : p_(parts), length_(std::chrono::duration_cast<Clock::duration>(length)) {}

  void Run();
  // The closing lines; true when the soak passed.
  bool Report(const Watchdog& watchdog) const;

 private:
  struct Look {
    bool live = false;
    QString data;
  };

  void RunRound();
  bool Enter(const SoakView& view);
  bool Follow(const Hop& hop);
  bool RunCase(const SoakView& view, const FaultKind& fault);
  bool WaitRecovered(int view, Clock::time_point deadline, Clock::time_point& moved);
  bool WaitMoving(int view, Clock::time_point deadline, Clock::time_point& moved);
  bool WaitReady(int view, Clock::time_point deadline);
  Look LookAt(int view);
  QString Describe(int view);
  void PrintCase(const SoakView& view, const FaultKind& fault, bool recovered, int boxes,
                 Clock::time_point cleared, Clock::time_point moved, int hangs);
  bool TimeUp() const;
  void GiveUp(const char* why);

  SoakParts p_;
  const Clock::duration length_;
  Clock::time_point start_, end_;
  int round_ = 0;
  int problems_ = 0;
  bool stopped_ = false;
  double startRss_ = 0, lastRss_ = 0;
  std::optional<double> firstRoundRss_;
};

}  // namespace soak
