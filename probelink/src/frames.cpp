#include "frames.h"

#include <algorithm>
#include <array>
#include <thread>

#include "comm_timeouts.h"
#include "line_config.h"

namespace probelink {
namespace {

constexpr int kSyncAttempts = 13;
constexpr int32_t kSyncTimeoutMs = 50;

void PutLe16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

uint16_t Checksum16(std::span<const uint8_t> bytes) {
  uint16_t sum = 0;
  for (uint8_t b : bytes) sum = static_cast<uint16_t>(sum + b);
  return sum;
}

bool WriteAll(Transport& line, std::span<const uint8_t> bytes) {
  const IoResult r = line.Write(bytes.data(), bytes.size());
  return r.ok && r.count == bytes.size();
}

bool SendFrame(Transport& line, uint8_t code, std::span<const uint8_t> payload) {
  if (payload.size() > kMaxPayload) return false;
  std::array<uint8_t, kHeaderSize + kMaxPayload + kChecksumSize> frame;
  const size_t length = payload.size();
  frame[0] = kStartByte;
  frame[1] = code;
  frame[2] = frame[3] = static_cast<uint8_t>(length);
  std::copy(payload.begin(), payload.end(), frame.begin() + kHeaderSize);
  const size_t body = kHeaderSize + length;
  PutLe16(&frame[body], Checksum16({frame.data(), body}));
  return WriteAll(line, {frame.data(), body + kChecksumSize});
}

bool SendReadRequest(Transport& line, uint8_t code, uint16_t address, uint16_t count) {
  uint8_t payload[4];
  PutLe16(payload, address);
  PutLe16(payload + 2, count);
  return SendFrame(line, code, payload);
}

bool SendBareRequest(Transport& line, uint8_t code) { return SendReadRequest(line, code, 0, 0); }

bool SendLongRequest(Transport& line, uint8_t code, uint32_t word) {
  uint8_t payload[4];
  PutLe16(payload, static_cast<uint16_t>(word));
  PutLe16(payload + 2, static_cast<uint16_t>(word >> 16));
  return SendFrame(line, code, payload);
}

bool SendBlockRequest(Transport& line, uint8_t code, uint16_t address,
                      std::span<const uint8_t> data) {
  if (data.size() > kMaxPayload - 4) return false;
  std::array<uint8_t, kMaxPayload> payload;
  PutLe16(&payload[0], address);
  PutLe16(&payload[2], static_cast<uint16_t>(data.size()));
  std::copy(data.begin(), data.end(), payload.begin() + 4);
  return SendFrame(line, code, {payload.data(), data.size() + 4});
}

bool CheckReply(std::span<const uint8_t> received, uint16_t count) {
  const size_t body = kHeaderSize + count;
  if (received.size() < body + kChecksumSize || received[0] != kReplyByte) return false;
  return Le16(&received[body]) == Checksum16(received.first(body));
}

bool ReadDataReply(Transport& line, uint16_t count, uint8_t* data) {
  if (count > kMaxReplyData) return false;
  std::array<uint8_t, kHeaderSize + kMaxReplyData + kChecksumSize> reply;
  const size_t want = kHeaderSize + count + kChecksumSize;
  const IoResult r = line.Read(reply.data(), want);
  if (!r.ok || !CheckReply({reply.data(), r.count}, count)) return false;
  std::copy_n(reply.begin() + kHeaderSize, count, data);
  return true;
}

int32_t FinishRead(Transport& line, bool sent, uint16_t count) {
  if (!sent) return -2;
  uint8_t data[kMaxReplyData] = {};
  if (!ReadDataReply(line, count, data)) return -1;
  return count == 2 ? Le16(data) : static_cast<int32_t>(Le32(data));
}

int32_t FinishWrite(Transport& line, bool sent) {
  if (!sent) return -2;
  uint8_t ack = 0;
  const IoResult r = line.Read(&ack, 1);
  return (r.ok && r.count == 1 && ack == kReplyByte) ? 0 : -1;
}

int32_t SendSync(Transport& line) {
  const uint8_t sync = kStartByte;
  const IoResult w = line.Write(&sync, 1);
  if (!w.ok || w.count != 1) return -2;
  uint8_t answer = 0;
  const IoResult r = line.Read(&answer, 1);
  if (!r.ok) return -2;
  return (r.count == 1 && answer == kReplyByte) ? 0 : -1;
}

bool DoSynchronize(Transport& line) {
  int32_t timeoutMs = 0;
  int32_t baud = 0;
  COMMTIMEOUTS caller{};
  if (ReadLineConfig(line, timeoutMs, baud) != 0 || !line.GetTimeouts(caller)) return false;
  ConfigureLine(line, kSyncTimeoutMs, baud);
  line.PurgeQueues(Purge::Rx);
  bool inStep = false;
  for (int attempt = 0; attempt < kSyncAttempts && !inStep; ++attempt) {
    inStep = SendSync(line) == 0;
    if (!inStep) line.PurgeQueues(Purge::Rx);
  }
  // All five of the caller's time-outs, not only the one ConfigPort knows:
  // a "return at once" put back as "no time-out" would block its next read.
  line.SetTimeouts(caller);
  return inStep;
}

// A sleep may end a little before the clock reaches its end (mingw-w64's
// sleeps count whole milliseconds of a coarser timer, and sleep_until trusts
// one sleep on a steady clock), so the clock decides when the wait is over.
void DelayMs(uint32_t ms) {
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
  for (Clock::time_point now = Clock::now(); now < until; now = Clock::now())
    std::this_thread::sleep_for(until - now);
}

}  // namespace probelink
