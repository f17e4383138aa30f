#include "soak_driver.h"

#include <cstdio>
#include <string>
#include <thread>

#include "gui_call.h"
#include "main_form.h"
#include "resident_memory.h"
#include "view_state.h"
#include "watchdog.h"

namespace soak {
namespace {

using namespace std::chrono_literals;

constexpr auto kFaultLength = 3s;
constexpr auto kRecoveryLimit = 30s;
// Data that move again must keep moving for this long with no further box.
constexpr auto kSettle = 1s;
constexpr auto kPoll = 50ms;
constexpr double kGrowthLimitMb = 30;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

void SoakDriver::Run() {
  start_ = Clock::now();
  startRss_ = lastRss_ = ResidentMegabytes();
  do {
    ++round_;
    RunRound();
    if (round_ == 1) firstRoundRss_ = lastRss_;
  } while (!stopped_ && !TimeUp());
  end_ = Clock::now();
  QMetaObject::invokeMethod(
      &p_.form, [form = &p_.form] { form->ShutDown(); }, Qt::QueuedConnection);
}

bool SoakDriver::TimeUp() const { return Clock::now() - start_ >= length_; }

// The first round is always whole; the time may end a later one between
// two cases.
void SoakDriver::RunRound() {
  const auto over = [this] { return round_ > 1 && TimeUp(); };
  const std::vector<FaultKind> faults = Faults(round_, p_.linkDevice);
  for (const SoakView& view : RoundOfViews()) {
    if (!Enter(view)) return GiveUp("a view could not be reached");
    for (const FaultKind& fault : faults) {
      if (!RunCase(view, fault)) return GiveUp("the window did not come back");
      if (over()) break;
    }
    if (view.leave && !Follow(*view.leave)) return GiveUp("a view could not be left");
    lastRss_ = ResidentMegabytes();
    if (over()) return;
  }
}

// A failure box here came with no fault in force.
bool SoakDriver::Enter(const SoakView& view) {
  const int boxes = p_.questions.FailureBoxes();
  for (const Hop& hop : view.route)
    if (!Follow(hop)) return false;
  Clock::time_point moved;
  const bool moving = WaitMoving(view.view, Clock::now() + kRecoveryLimit, moved);
  if (!moving)
    std::printf("%s: its data do not move (%s)\n", view.name, qPrintable(Describe(view.view)));
  if (p_.questions.FailureBoxes() != boxes) {
    std::printf("%s: failure box while the view was entered, with no fault in force\n", view.name);
    ++problems_;
  }
  std::fflush(stdout);
  return moving;
}

bool SoakDriver::Follow(const Hop& hop) {
  OnGui(p_.form, [&] { hop.input(p_.form); });
  if (WaitReady(hop.view, Clock::now() + kRecoveryLimit)) return true;
  std::printf("view %d not reached within %.0f s (%s)\n", hop.view, Seconds(kRecoveryLimit),
              qPrintable(Describe(hop.view)));
  return false;
}

bool SoakDriver::RunCase(const SoakView& view, const FaultKind& fault) {
  const int boxesBefore = p_.questions.FailureBoxes();
  const int hangsBefore = p_.tally.hangs;
  fault.apply(p_.emulator);
  p_.fault.Open([&fault, &emulator = p_.emulator] { fault.clear(emulator); }, kFaultLength);
  while (!p_.fault.ClearIfDue()) std::this_thread::sleep_for(kPoll);
  const Clock::time_point cleared = Clock::now();
  Clock::time_point moved;
  const bool recovered = WaitRecovered(view.view, cleared + kRecoveryLimit, moved);
  ++p_.tally.faults;
  if (recovered) ++p_.tally.recovered;
  p_.tally.Save();
  PrintCase(view, fault, recovered, p_.questions.FailureBoxes() - boxesBefore, cleared, moved,
            p_.tally.hangs - hangsBefore);
  return recovered;
}

// A failure found late, while the data seemed to move again, is waited out
// as well.
bool SoakDriver::WaitRecovered(int view, Clock::time_point deadline, Clock::time_point& moved) {
  for (;;) {
    const int boxes = p_.questions.FailureBoxes();
    if (!WaitMoving(view, deadline, moved)) return false;
    std::this_thread::sleep_for(kSettle);
    Clock::time_point again;
    if (p_.questions.FailureBoxes() == boxes && WaitMoving(view, deadline, again) &&
        p_.questions.FailureBoxes() == boxes)
      return true;
    if (Clock::now() >= deadline) return false;
  }
}

// The shown data change while the view stays live; a view that stops
// being live starts the comparison afresh.
bool SoakDriver::WaitMoving(int view, Clock::time_point deadline, Clock::time_point& moved) {
  std::optional<QString> from;
  while (Clock::now() < deadline) {
    const Look look = LookAt(view);
    if (!look.live)
      from.reset();
    else if (!from)
      from = look.data;
    else if (look.data != *from) {
      moved = Clock::now();
      return true;
    }
    std::this_thread::sleep_for(kPoll);
  }
  return false;
}

bool SoakDriver::WaitReady(int view, Clock::time_point deadline) {
  while (Clock::now() < deadline) {
    if (OnGui(p_.form, [&] { return Ready(p_.form, view); })) return true;
    std::this_thread::sleep_for(kPoll);
  }
  return false;
}

SoakDriver::Look SoakDriver::LookAt(int view) {
  return OnGui(p_.form, [&] {
    return Look{!p_.questions.BoxOpen() && Live(p_.form, view), ShownData(p_.form, view)};
  });
}

QString SoakDriver::Describe(int view) {
  return OnGui(p_.form, [&] {
    const quillon::TMainForm& f = p_.form;
    return QStringLiteral("view %1 shown, live %2, demo mode %3, title \"%4\"")
        .arg(f.CurrentView)
        .arg(Live(f, view) ? "yes" : "no", f.DemoMode ? "yes" : "no", f.windowTitle());
  });
}

void SoakDriver::PrintCase(const SoakView& view, const FaultKind& fault, bool recovered, int boxes,
                           Clock::time_point cleared, Clock::time_point moved, int hangs) {
  std::string what;
  char text[160];
  if (!recovered) {
    std::snprintf(text, sizeof text, "NOT RECOVERED within %.0f s, %d failure boxes (%s)",
                  Seconds(kRecoveryLimit), boxes, qPrintable(Describe(view.view)));
  } else if (boxes > 0) {
    std::snprintf(text, sizeof text, "failure box%s, live again %.1f s after Yes",
                  boxes > 1 ? (" x" + std::to_string(boxes)).c_str() : "",
                  Seconds(moved - p_.questions.LastAnswer()));
  } else {
    std::snprintf(text, sizeof text, "clean recovery, data moving %.1f s after the fault",
                  Seconds(moved - cleared));
  }
  what = text;
  if (hangs > 0) what += ", " + std::to_string(hangs) + (hangs > 1 ? " hangs" : " hang");
  std::printf("%s / %s: %s, rss %.0f MB\n", view.name, fault.name.c_str(), what.c_str(),
              ResidentMegabytes());
  std::fflush(stdout);
}

void SoakDriver::GiveUp(const char* why) {
  std::printf("soak: stopped early: %s\n", why);
  std::fflush(stdout);
  ++problems_;
  stopped_ = true;
  p_.questions.GiveUp();
}

bool SoakDriver::Report(const Watchdog& watchdog) const {
  const double baseline = firstRoundRss_.value_or(lastRss_);
  const double growth = lastRss_ - baseline;
  std::printf(
      "soak: %d round%s in %.1f min; %d failure boxes, %d other boxes; longest stall "
      "%.1f s (%.1f s under the busy window)\n",
      round_, round_ == 1 ? "" : "s", Seconds(end_ - start_) / 60, p_.questions.FailureBoxes(),
      p_.questions.OtherBoxes(), watchdog.LongestStallSeconds(), watchdog.LongestBusySeconds());
  std::printf(
      "soak: rss %.0f MB at the start, %.0f MB after the first round, %.0f MB at the "
      "end (%+.0f MB)\n",
      startRss_, baseline, lastRss_, growth);
  const bool memoryFlat = growth <= kGrowthLimitMb;
  if (!memoryFlat) std::printf("soak: memory grew by more than %.0f MB\n", kGrowthLimitMb);
  std::printf("%s\n", p_.tally.Summary().c_str());
  std::fflush(stdout);
  return memoryFlat && problems_ == 0 && p_.tally.faults > 0 &&
         p_.tally.faults == p_.tally.recovered && p_.tally.hangs == 0;
}

}  // namespace soak
