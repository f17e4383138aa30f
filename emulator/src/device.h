// The electronics behind the serial line: they take the host's bytes, answer
// its frames and sync bytes, stream records and go deaf for a reset. No I/O
// here: answers go to the transmitter.
#pragma once

#include <optional>
#include <span>

#include "faults.h"
#include "frame_parser.h"
#include "host_journal.h"
#include "register_map.h"
#include "signal_model.h"
#include "stream.h"
#include "transmitter.h"
#include "veritrak/emulator.h"

namespace veritrak {

class Device final : public FrameSink {
 public:
  Device(const Options& options, const FaultControl& faults, HostJournal& journal, Transmitter& tx,
         TimePoint origin);

  // `at` is when the byte finished arriving.
  void Receive(uint8_t byte, TimePoint at);
  // Settles sync bytes, ends a reset and queues the stream records due by now.
  void Advance(TimePoint now);
  std::optional<TimePoint> Deadline(TimePoint now) const;
  // A pulled cable: a frame or sync byte that had only begun to arrive is
  // lost, as the answer the real electronics gave to it would be.
  void LoseInput() { parser_.Reset(); }
  // Register writes acknowledged and software resets begun so far.
  uint32_t CommandsTaken() const { return commandsTaken_; }

  void OnLoneSync(TimePoint at) override;
  void OnFrame(const Frame& frame, TimePoint at) override;

 private:
  void Answer(std::span<const uint8_t> bytes, TimePoint at);
  // False when acknowledgements are refused; the command is then not done.
  bool Acknowledge(TimePoint at);

  void ReadWord(const Frame& frame, TimePoint at);
  void WriteWord(const Frame& frame, TimePoint at);
  void RunCommand(uint16_t value, TimePoint at);
  void ReadInfo(const Frame& frame, uint32_t value, TimePoint at);
  void WriteEpot(const Frame& frame, TimePoint at);
  void FlashEpot(TimePoint at);

  void StartStream(std::vector<uint8_t> registers, TimePoint at);
  void QueueRecord(TimePoint now);
  void StopStream();

  void BeginReset(TimePoint at);
  void FinishReset(TimePoint now);
  uint32_t PowerOnHours(TimePoint at) const;

  DeviceSettings settings_;
  LineSettings line_;
  const FaultControl& faults_;
  HostJournal& journal_;
  Transmitter& tx_;
  TimePoint origin_;
  FrameParser parser_;
  RegisterFile registers_;
  SignalModel model_;
  std::optional<Stream> stream_;
  std::optional<TimePoint> deafUntil_;
  uint32_t powerOnCycles_;
  bool zeroArmed_ = false;
  uint16_t epotWiper_;
  uint16_t epotFlashed_;
  uint32_t commandsTaken_ = 0;
};

}  // namespace veritrak
