#include "faults.h"

#include <array>
#include <chrono>

namespace soak {
namespace {

using veritrak::Emulator;
using namespace std::chrono_literals;

struct Severity {
  double damagedFraction;
  std::chrono::milliseconds lateBy;
};

// The first round's line is bad enough to break most records and replies
// without silencing it, and late beyond every time-out of the window.
constexpr std::array<Severity, 3> kSeverities{{{0.05, 300ms}, {0.3, 60ms}, {0.01, 30ms}}};

std::string Named(const char* fault, const std::string& amount) {
  return std::string(fault) + " (" + amount + ")";
}

std::string Percent(double fraction) {
  return std::to_string(static_cast<int>(fraction * 100 + 0.5)) + " %";
}

}  // namespace

std::vector<FaultKind> Faults(int round, const LinkDevice& link) {
  const Severity s = kSeverities[static_cast<size_t>(round - 1) % kSeverities.size()];
  return {
      {Named("dropped bytes", Percent(s.damagedFraction)),
       [s](Emulator& e) { e.SetDropFraction(s.damagedFraction); },
       [](Emulator& e) { e.SetDropFraction(0); }},
      {Named("corrupted bytes", Percent(s.damagedFraction)),
       [s](Emulator& e) { e.SetCorruptFraction(s.damagedFraction); },
       [](Emulator& e) { e.SetCorruptFraction(0); }},
      {"refused acknowledgements", [](Emulator& e) { e.SetRefuseAcks(true); },
       [](Emulator& e) { e.SetRefuseAcks(false); }},
      {Named("late replies", std::to_string(s.lateBy.count()) + " ms"),
       [s](Emulator& e) { e.SetLateBy(s.lateBy); }, [](Emulator& e) { e.SetLateBy(0ms); }},
      {"cable pulled", [](Emulator& e) { e.PullCable(); }, [](Emulator& e) { e.PlugCable(); }},
      {"adapter unplugged", [](Emulator& e) { e.UnplugAdapter(); },
       [link](Emulator& e) { link(e.PlugAdapter()); }},
  };
}

}  // namespace soak
