// The Veritrak II electronics on a pseudo-terminal: the device side of the
// wire protocol, a moving read-head behind it, and faults on demand.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veritrak {

// What the electronics report about themselves.
struct DeviceSettings {
  uint16_t modelCode = 1;             // bits 5 to 8 of register 0x20
  uint16_t firmwareVersion = 0x0512;  // the host accepts only 5 in bits 8 to 11
  uint16_t firmwareChecksum = 0x3C5A;
  uint32_t powerOnHours = 1234;
  uint32_t powerOnCycles = 56;
  // How long a software reset leaves the electronics deaf.
  std::chrono::milliseconds resetTime{800};
};

// The read-head over the grating. Positions are in counts, 4096 to one
// signal period.
// The signal channels span 4096 counts over 1.98 V.
inline constexpr double kVoltsPerCount = 1.98 / 4096;

struct HeadSettings {
  // Where the head starts; the position counter reads the head's position
  // until it is zeroed or the electronics reset.
  int32_t startPosition = 0;
  double speed = 20000;            // counts per second; 0 stands still
  int32_t travel = 40 * 4096;      // the head turns round at start and start + travel
  std::optional<int32_t> indexAt;  // the index mark; default a quarter of the travel
  // Signal amplitude in 12-bit counts: low at both ends of the travel, high
  // in its middle, so one sweep passes every signal-level band.
  double amplitudeLow = 180;
  double amplitudeHigh = 1200;
  double noise = 4;  // peak noise added to each channel, in counts
  uint32_t seed = 1;
  // A misaligned head: each channel's offset in volts, the cosine's
  // amplitude over the sine's, and how many degrees the cosine leads the
  // sine beyond a quarter period.
  double sineOffset = 0;
  double cosineOffset = 0;
  double gainRatio = 1;
  double phaseError = 0;
};

struct LineSettings {
  // Deliver and consume bytes at 38400 baud 8E1 (11 bits a byte).
  bool paced = false;
  // Unpaced stream records per second; 0 streams as fast as the line drains.
  double recordRate = 2000;
  // A paced line's bytes reach the host in packets of this period, as a USB
  // adapter hands them over every millisecond; zero passes them on as they
  // are due, a few at a time.
  std::chrono::microseconds packetPeriod{0};
  // A start byte with nothing behind it for this long is a lone sync byte;
  // zero chooses one and a half byte times when paced and 50 us unpaced,
  // where a frame's bytes arrive together.
  std::chrono::microseconds syncGap{0};
};

struct FaultSettings {
  double dropFraction = 0;     // of the bytes sent
  double corruptFraction = 0;  // of the bytes sent
  bool refuseAcks = false;     // refuse every write and mode command
  bool ignoreWrites = false;   // acknowledge register writes, but keep the registers
  std::chrono::milliseconds lateBy{0};
};

struct Options {
  DeviceSettings device;
  HeadSettings head;
  LineSettings line;
  FaultSettings faults;
};

// Serves on its own thread from construction until Stop or destruction.
// The fault calls may come from any thread while it serves.
class Emulator {
 public:
  // Throws std::system_error when no pseudo-terminal can be had.
  explicit Emulator(const Options& options = {});
  ~Emulator();
  Emulator(const Emulator&) = delete;
  Emulator& operator=(const Emulator&) = delete;

  // The pseudo-terminal slave a host opens as its serial port: the newest
  // one, which is gone while the adapter is unplugged.
  std::string DevicePath() const;
  // Idempotent; returns once serving has ended.
  void Stop();

  void SetDropFraction(double fraction);
  void SetCorruptFraction(double fraction);
  void SetRefuseAcks(bool refuse);
  void SetLateBy(std::chrono::milliseconds delay);
  // A pulled cable: nothing in or out until PlugCable, or until `duration`
  // has passed when one is given.
  void PullCable(std::optional<std::chrono::milliseconds> duration = std::nullopt);
  void PlugCable();
  bool CablePulled() const;
  // A USB adapter pulled out of its socket: the pseudo-terminal closes,
  // which the host sees as a hang-up, while the electronics behind it keep
  // their state. Returns once the host's handle is hung up.
  void UnplugAdapter();
  // The adapter back, on a new pseudo-terminal whose path is returned: its
  // name may differ, so whoever linked the old one links this one. Throws
  // std::system_error when no pseudo-terminal can be had.
  std::string PlugAdapter();
  // Writes are acknowledged but change nothing, as on write-protected
  // electronics.
  void SetIgnoreWrites(bool ignore);
  // The line ends once the electronics have taken the host's next register
  // write or software reset and sent their answer to it: silent for good, or
  // hung up as an unplugged adapter, which the host sees as a failed read.
  enum class LineEnd { Silence, HangUp };
  void EndLineAfterNextCommand(LineEnd end);

  // The register and command words the electronics acknowledged, oldest
  // first (the last 1024 of them).
  std::vector<uint32_t> WrittenWords() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace veritrak
