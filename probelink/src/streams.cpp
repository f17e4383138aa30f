#include "streams.h"

#include <algorithm>
#include <array>

#include "frames.h"

namespace probelink {
namespace {

constexpr size_t kStartCopies = 6;  // the count travels six times over
constexpr size_t kMarkerLength = 2;
// Real records follow each other back to back, so a marker turns up within
// one record; a line that never shows one must not hold the caller forever.
constexpr size_t kMaxHuntBytes = 1024;

enum class ByteRead { Got, TimedOut, Failed };

ByteRead ReadByte(Transport& line, uint8_t& byte) {
  const IoResult r = line.Read(&byte, 1);
  if (!r.ok) return ByteRead::Failed;
  return r.count == 1 ? ByteRead::Got : ByteRead::TimedOut;
}

bool HuntMarker(Transport& line) {
  size_t scanned = 0;
  while (scanned < kMaxHuntBytes) {
    uint8_t first = 0;
    ByteRead got = ByteRead::Failed;
    do {
      got = ReadByte(line, first);
      ++scanned;
    } while (got == ByteRead::Got && first != kMarkerByte && scanned < kMaxHuntBytes);
    // The second byte is asked for even after the first read timed out, so
    // an idle line costs two time-outs; callers' time budgets rest on that.
    // A device gone is not asked again.
    if (got == ByteRead::Failed) return false;
    uint8_t second = 0;
    const ByteRead gotSecond = ReadByte(line, second);
    ++scanned;
    if (got != ByteRead::Got || gotSecond != ByteRead::Got) return false;
    if (first == kMarkerByte && second == kMarkerByte) return true;
  }
  return false;
}

}  // namespace

int32_t BeginStream(Transport& line, uint8_t code, std::span<const uint8_t> registers) {
  const size_t n = registers.size();
  std::array<uint8_t, 2 + kStartCopies + kMaxStreamRegisters + 2> frame;
  frame[0] = kStartByte;
  frame[1] = code;
  std::fill_n(frame.begin() + 2, kStartCopies, static_cast<uint8_t>(n));
  std::copy(registers.begin(), registers.end(), frame.begin() + 2 + kStartCopies);
  const size_t body = 2 + kStartCopies + n;
  const uint16_t sum = Checksum16({frame.data(), body});
  frame[body] = static_cast<uint8_t>(sum);
  frame[body + 1] = static_cast<uint8_t>(sum >> 8);
  return FinishWrite(line, WriteAll(line, {frame.data(), body + 2}));
}

int32_t ReadRecord(Transport& line, std::span<uint16_t> values) {
  const size_t want = 2 * values.size();
  line.Announce(kMarkerLength + want);
  if (!HuntMarker(line)) return -1;
  std::array<uint8_t, 2 * kMaxStreamRegisters> record;
  const IoResult r = line.Read(record.data(), want);
  if (!r.ok || r.count < want) return -1;
  for (size_t i = 0; i < values.size(); ++i) values[i] = Le16(&record[2 * i]);
  return 0;
}

int32_t WriteStopRun(Transport& line, int32_t n) {
  std::array<uint8_t, kMaxStopRun> run;
  const size_t k = static_cast<size_t>(std::min<int64_t>(2 * int64_t{n} + 5, kMaxStopRun));
  std::fill_n(run.begin(), k, kStopByte);
  const IoResult r = line.Write(run.data(), k);
  return r.ok ? static_cast<int32_t>(r.count) : -1;
}

}  // namespace probelink
