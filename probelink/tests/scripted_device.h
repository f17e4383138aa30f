// Plays the electronics on the master side of a pseudo-terminal by a script
// of expected requests and canned answers, logging every byte the host sends.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "pty_pair.h"

using Bytes = std::vector<uint8_t>;

class ScriptedDevice {
 public:
  explicit ScriptedDevice(const testsupport::PtyPair& pty);
  ~ScriptedDevice();

  // When the host next writes exactly `request`, answer with `reply` (which
  // may be empty: no answer at all).
  void Expect(Bytes request, Bytes reply);
  // Answers every lone sync byte from now on, until the next Expect.
  void AnswerSyncs(bool answer);
  bool WaitReceived(size_t n, std::chrono::milliseconds limit) const;
  Bytes Received() const;
  void ClearLog();
  // Empty when every expected request came as scripted.
  std::string Problems() const;

 private:
  struct Step {
    Bytes request;
    Bytes reply;
  };
  void Serve();
  void Match();

  const testsupport::PtyPair& pty_;
  mutable std::mutex mutex_;
  std::deque<Step> steps_;
  Bytes pending_;
  Bytes log_;
  std::string problems_;
  bool answerSyncs_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A data reply carrying the given data bytes, checksummed.
Bytes DataReply(const Bytes& data);
Bytes Reply16(uint16_t value);
Bytes Reply32(uint32_t value);
inline const Bytes kAck{0x90};
inline const Bytes kSync{0x80};
