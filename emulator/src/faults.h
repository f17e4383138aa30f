// Faults on demand. The settings are shared with whoever asks for faults;
// the damage itself is done on the serving thread.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>

#include "veritrak/emulator.h"
#include "wire_format.h"

namespace veritrak {

class FaultControl {
 public:
  explicit FaultControl(const FaultSettings& settings);

  void SetDropFraction(double f) { drop_ = f; }
  void SetCorruptFraction(double f) { corrupt_ = f; }
  void SetRefuseAcks(bool refuse) { refuse_ = refuse; }
  void SetIgnoreWrites(bool ignore) { ignoreWrites_ = ignore; }
  void EndLineAfterNextCommand(Emulator::LineEnd end) { lineEnd_ = end; }
  // The line end armed, once: the serving thread takes it when it is due.
  std::optional<Emulator::LineEnd> TakeLineEnd() { return lineEnd_.exchange(std::nullopt); }
  bool LineEndArmed() const { return lineEnd_.load().has_value(); }
  void SetLateBy(std::chrono::milliseconds d) { lateMs_ = d.count(); }
  void PullCable(TimePoint now, std::optional<std::chrono::milliseconds> duration);
  void PlugCable() { silentUntil_ = kConnected; }
  // Counts every pull, so that the serving thread notices even one that
  // ended before it looked.
  uint32_t Pulls() const { return pulls_; }

  double DropFraction() const { return drop_; }
  double CorruptFraction() const { return corrupt_; }
  bool RefuseAcks() const { return refuse_; }
  bool IgnoreWrites() const { return ignoreWrites_; }
  std::chrono::milliseconds LateBy() const { return std::chrono::milliseconds(lateMs_.load()); }
  bool Silent(TimePoint now) const;
  // When a silence in force ends by itself (TimePoint::max() for never).
  TimePoint SilentUntil() const;

 private:
  static constexpr Clock::rep kConnected = 0;

  std::atomic<double> drop_;
  std::atomic<double> corrupt_;
  std::atomic<bool> refuse_;
  std::atomic<bool> ignoreWrites_;
  std::atomic<std::optional<Emulator::LineEnd>> lineEnd_{std::nullopt};
  std::atomic<int64_t> lateMs_;
  std::atomic<Clock::rep> silentUntil_{kConnected};
  std::atomic<uint32_t> pulls_{0};
};

// Drops and corrupts outgoing bytes at the fractions in force.
class LineNoise {
 public:
  LineNoise(const FaultControl& control, uint32_t seed);
  // False when the byte is lost; a corrupted byte keeps going.
  bool Pass(uint8_t& byte);

 private:
  bool Chance(double fraction);

  const FaultControl& control_;
  std::minstd_rand random_;
};

}  // namespace veritrak
