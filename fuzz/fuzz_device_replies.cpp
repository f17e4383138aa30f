// The electronics played from the fuzz input: the input picks one of the
// library's reply-reading calls and its arguments, the bytes already waiting
// on the line, and for every request the library writes whether the write
// goes through and what the electronics answer. The library must give only
// the results its header promises for that call, decode what it was sent as
// the frame layout says, and leave every output alone when it fails.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

#include "fuzz_check.h"
#include "memory_line.h"
#include "port_table.h"
#include "probelink.h"

namespace {

constexpr int32_t kPort = 7;
constexpr int32_t kBaud = 38400;
constexpr uint8_t kReplyByte = 0x90;
constexpr uint8_t kMarker = 0xFF;
constexpr uint8_t kStopByte = 0xA5;
constexpr int kMaxSyncs = 13;
constexpr int32_t kMaxStreamValues = 70;
// A marker this early must be found: the hunt's budget is larger.
constexpr size_t kSurelyFound = 1000;
// A hunt with no marker reads at most its budget and one record.
constexpr size_t kMostHuntBytes = 1026 + 2 * kMaxStreamValues;

bool IsSync(const Bytes& written) { return written.size() == 1 && written[0] == 0x80; }

// What a reply of `count` data bytes carries as the frame layout says: led by
// 0x90, then three head bytes, the data, and the 16-bit sum of all of them,
// low byte first. The value is data bytes 0..1 for count 2, else 0..3.
std::optional<int32_t> Decode(const Bytes& got, size_t count) {
  const size_t body = 4 + count;
  if (got.size() < body + 2 || got[0] != kReplyByte) return std::nullopt;
  unsigned sum = 0;
  for (size_t i = 0; i < body; ++i) sum += got[i];
  if ((sum & 0xFFFF) != (got[body] | unsigned{got[body + 1]} << 8)) return std::nullopt;
  uint32_t value = got[4] | unsigned{got[5]} << 8;
  if (count > 2) value |= unsigned{got[6]} << 16 | uint32_t{got[7]} << 24;
  return static_cast<int32_t>(value);
}

// The in-memory line of the protocol tests, with the writes' fates and the
// answers taken from the input, and a log of what the library read after
// each write (entry 0: before the first).
class ScriptedLine final : public probelink::Transport {
 public:
  struct Exchange {
    Bytes written;
    bool failed = false;
    Bytes answer;
    Bytes read;
  };

  // The memory line only keeps the queue: it answers nothing by itself.
  explicit ScriptedLine(FuzzedDataProvider& script) : script_(script) { memory.syncs = false; }

  MemoryLine memory;
  std::vector<Exchange> exchanges{1};

  bool GetLineSetting(DCB& dcb) override { return memory.GetLineSetting(dcb); }
  probelink::LineApply SetLineSetting(const DCB& dcb) override {
    return memory.SetLineSetting(dcb);
  }
  bool GetTimeouts(COMMTIMEOUTS& t) override { return memory.GetTimeouts(t); }
  bool SetTimeouts(const COMMTIMEOUTS& t) override { return memory.SetTimeouts(t); }
  bool GetProperties(COMMPROP& p) override { return memory.GetProperties(p); }
  bool SetQueueSizes(uint32_t rx, uint32_t tx) override { return memory.SetQueueSizes(rx, tx); }
  bool PurgeQueues(probelink::Purge which) override { return memory.PurgeQueues(which); }

  probelink::IoResult Read(uint8_t* buffer, size_t n) override {
    const probelink::IoResult r = memory.Read(buffer, n);
    exchanges.back().read.insert(exchanges.back().read.end(), buffer, buffer + r.count);
    return r;
  }

  probelink::IoResult Write(const uint8_t* buffer, size_t n) override {
    Exchange e;
    e.written.assign(buffer, buffer + n);
    const uint8_t fate = script_.ConsumeIntegral<uint8_t>();
    probelink::IoResult result{true, n};
    if ((fate & 0x0E) == 0x0E) {
      // A failed write, or one cut short by its time-out; nothing answers.
      e.failed = true;
      result = fate & 1 ? probelink::IoResult{false, 0} : probelink::IoResult{true, n / 2};
    } else {
      switch (fate >> 6) {
        case 0:  // silence
          break;
        case 1:
          e.answer = kAck;
          break;
        case 2: {  // a well-formed frame of any length
          e.answer = {kReplyByte};
          const Bytes rest = script_.ConsumeBytes<uint8_t>(3 + (fate >> 4 & 3) * 2);
          e.answer.insert(e.answer.end(), rest.begin(), rest.end());
          unsigned sum = 0;
          for (uint8_t b : e.answer) sum += b;
          e.answer.push_back(static_cast<uint8_t>(sum));
          e.answer.push_back(static_cast<uint8_t>(sum >> 8));
          break;
        }
        default:
          e.answer = script_.ConsumeBytes<uint8_t>(script_.ConsumeIntegralInRange(0, 24));
      }
      (void)memory.Write(buffer, n);
      memory.Feed(e.answer);
    }
    exchanges.push_back(std::move(e));
    return result;
  }

  size_t Writes() const { return exchanges.size() - 1; }
  const Exchange& Last() const { return exchanges.back(); }
  size_t BytesRead() const {
    size_t n = 0;
    for (const Exchange& e : exchanges) n += e.read.size();
    return n;
  }

 private:
  FuzzedDataProvider& script_;
};

struct Run {
  ScriptedLine& line;
  FuzzedDataProvider& input;
  const Bytes& stale;  // on the line before the call

  // The bytes a call that writes once and then reads finds: what was
  // waiting, then the answer to its request.
  Bytes AfterOneRequest() const {
    Bytes got = stale;
    if (line.Writes() == 1) {
      const Bytes& answer = line.exchanges[1].answer;
      got.insert(got.end(), answer.begin(), answer.end());
    }
    return got;
  }

  // A call of one request and a data reply of `count` bytes: whether the
  // request went out whole, and the value its reply carries if it is one.
  struct Reply {
    bool sent;
    std::optional<int32_t> value;
    // As a read returns it: -2 not sent, -1 no reply, else the value.
    int32_t Result() const { return !sent ? -2 : value.value_or(-1); }
    // As a read with an output returns it.
    int32_t Status() const { return !sent ? -2 : value ? 0 : -1; }
  };
  Reply ExpectedRead(size_t count) const {
    CHECK(line.Writes() == 1 && !IsSync(line.exchanges[1].written));
    if (line.exchanges[1].failed) return {false, std::nullopt};
    return {true, Decode(AfterOneRequest(), count)};
  }

  // A write or mode command: -2 not written, 0 acknowledged by 0x90, else -1.
  int32_t ExpectedAck() const {
    CHECK(line.Writes() == 1);
    if (line.exchanges[1].failed) return -2;
    const Bytes got = AfterOneRequest();
    return !got.empty() && got[0] == kReplyByte ? 0 : -1;
  }

  void NothingSent() const { CHECK(line.Writes() == 0 && line.BytesRead() == 0); }
};

// A call with a null output refuses at once with `refusal`.
template <class Call>
bool RefusedWithNull(Run& run, int32_t refusal, Call call) {
  if (run.input.ConsumeIntegralInRange(0, 15) != 0) return false;
  CHECK(call() == refusal);
  run.NothingSent();
  return true;
}

using BaseRead = int32_t (*)(int32_t);
constexpr BaseRead kBaseReads[] = {
    ReadStatus,   ReadVersion,   ReadyAD,   ReadxAD,       ReadVectorMag,
    ReadAngle,    ReadPositiveIndexWindow,  ReadNegativeIndexWindow,
    ReadStateFreqReg,            ReadInterpDepth,          ReadIndexAngle,
    ReadGainX,    ReadOffsetX,   ReadGainY, ReadOffsetY,   ReadPhase};

struct InfoRead {
  BaseRead call;
  size_t count;
};
constexpr InfoRead kInfoReads[] = {{ReadMSPVersion, 2},   {ReadPowerOnTime, 4},
                                   {ReadPowerOnCycles, 4}, {ReadMSPVersion_M, 2},
                                   {ReadMSPChecksum_M, 2}, {ReadPowerOnTime_M, 4},
                                   {ReadPowerOnCycles_M, 4}};

using AckCall = int32_t (*)(int32_t, FuzzedDataProvider&);
constexpr AckCall kAckCalls[] = {
    [](int32_t p, FuzzedDataProvider& in) { return WriteRegister(p, in.ConsumeIntegral<uint16_t>()); },
    [](int32_t p, FuzzedDataProvider& in) { return WriteInterpReg(p, in.ConsumeIntegral<uint16_t>()); },
    [](int32_t p, FuzzedDataProvider& in) {
      return WriteIndexAngleReg(p, in.ConsumeIntegral<uint16_t>());
    },
    [](int32_t p, FuzzedDataProvider& in) { return WriteGenReg(p, in.ConsumeIntegral<uint8_t>()); },
    [](int32_t p, FuzzedDataProvider& in) {
      return WriteStateFreqReg(p, in.ConsumeIntegral<uint8_t>());
    },
    [](int32_t p, FuzzedDataProvider& in) {
      return WriteRegisterWren(p, in.ConsumeIntegral<uint32_t>());
    },
    [](int32_t p, FuzzedDataProvider& in) {
      return WriteRegisterFinch(p, in.ConsumeIntegral<uint32_t>());
    },
    [](int32_t p, FuzzedDataProvider& in) { return WriteEpotValues(p, in.ConsumeIntegral<uint16_t>()); },
    [](int32_t p, FuzzedDataProvider&) { return FlashEpot(p); },
    [](int32_t p, FuzzedDataProvider&) { return BeginLissMode(p); },
};

constexpr uint16_t kSentinel16 = 0xA5C3;
constexpr int32_t kSentinel32 = 0x5A3C7E11;

// The first 0xFF 0xFF in `bytes`, where a record begins.
std::optional<size_t> FirstMarker(const Bytes& bytes) {
  for (size_t i = 0; i + 1 < bytes.size(); ++i) {
    if (bytes[i] == kMarker && bytes[i + 1] == kMarker) return i;
  }
  return std::nullopt;
}

// A record read from what was waiting (a stream writes nothing): the words
// after the first marker, or -1 when there is none or too few bytes follow.
void CheckRecord(const Run& run, int32_t result, size_t n, const uint16_t* values) {
  CHECK(run.line.Writes() == 0);
  CHECK(run.line.BytesRead() <= kMostHuntBytes);
  const std::optional<size_t> marker = FirstMarker(run.stale);
  const bool complete = marker && *marker + 2 + 2 * n <= run.stale.size();
  if (result == 0) {
    CHECK(complete);
    const uint8_t* record = &run.stale[*marker + 2];
    for (size_t i = 0; i < n; ++i) CHECK(values[i] == (record[2 * i] | record[2 * i + 1] << 8));
  } else {
    CHECK(result == -1);
    CHECK(!complete || *marker >= kSurelyFound);
    for (size_t i = 0; i < n; ++i) CHECK(values[i] == kSentinel16);
  }
}

// The composite position reads: three register reads with a
// re-synchronisation between each two. The window's own read knows no
// failure but -1.
void CheckPosition(const Run& run, int32_t result, int32_t position, int32_t low, int32_t high,
                   bool twelveBitJoin, bool onlyMinusOne = false) {
  const ScriptedLine& line = run.line;
  std::vector<int32_t> values;
  for (size_t i = 1; i <= line.Writes(); ++i) {
    const ScriptedLine::Exchange& e = line.exchanges[i];
    if (IsSync(e.written) || e.failed) continue;
    const std::optional<int32_t> v = Decode(e.read, 2);
    if (v) values.push_back(*v);
  }
  const ScriptedLine::Exchange& last = line.Last();
  CHECK(line.Writes() >= 1);
  if (result == 0) {
    CHECK(values.size() == 3 && !IsSync(last.written) && !last.failed);
    CHECK(position >= low && position <= high);
    if (twelveBitJoin && values[1] < 0x1000 && values[2] < 0x1000) {
      CHECK(static_cast<uint32_t>(position) ==
            ((uint32_t(values[0]) & 0xFF) << 24 | uint32_t(values[1]) << 12 | values[2]));
    }
    return;
  }
  CHECK(position == kSentinel32);
  // A request that could not be written is -2; a failed re-synchronisation
  // or a bad reply is -1.
  if (last.failed && !IsSync(last.written)) {
    CHECK(result == (onlyMinusOne ? -1 : -2));
  } else {
    CHECK(result == -1);
    CHECK(IsSync(last.written) || !Decode(last.read, 2));
  }
}

// Whether some synchronisation byte got 0x90 as the first byte of its answer.
bool AnySyncAnswered(const ScriptedLine& line) {
  for (size_t i = 1; i <= line.Writes(); ++i) {
    const ScriptedLine::Exchange& e = line.exchanges[i];
    if (IsSync(e.written) && !e.failed && !e.answer.empty() && e.answer[0] == kReplyByte)
      return true;
  }
  return false;
}

size_t Syncs(const ScriptedLine& line) {
  size_t n = 0;
  for (size_t i = 1; i <= line.Writes(); ++i) n += IsSync(line.exchanges[i].written);
  return n;
}

// DoSynchronize and the synchronised family calls: 1 in step, 0 not, and at
// most 13 synchronisation bytes before the request.
void CheckSynchronisation(const ScriptedLine& line, bool inStep) {
  CHECK(Syncs(line) <= kMaxSyncs);
  if (!inStep) return;
  CHECK(AnySyncAnswered(line));
}

enum Call : int {
  kBaseRead,
  kReadRegister,
  kReadRegisterWren,
  kReadRegisterFinch,
  kReadValueFinch,
  kInfoRead,
  kReadEpotValues,
  kSendSync,
  kDoSynchronize,
  kSyncAndRead,
  kSyncAndWrite,
  kAckCall,
  kBeginAsync,
  kReadAsync,
  kReadLissPoint,
  kEndAsync,
  kEndLissMode,
  kReadPosition,
  kReadShiftedPosition,
  kReadShiftedPositionWren,
  kReadRs232Data,
  kCalls
};

void RunCall(Run& run, Call call) {
  FuzzedDataProvider& in = run.input;
  ScriptedLine& line = run.line;
  switch (call) {
    case kBaseRead: {
      const BaseRead read = in.PickValueInArray(kBaseReads);
      const int32_t result = read(kPort);
      CHECK(result >= -2 && result <= 0xFFFF);
      CHECK(result == run.ExpectedRead(2).Result());
      break;
    }
    case kReadRegister:
    case kReadRegisterWren:
    case kReadRegisterFinch: {
      const uint32_t word = in.ConsumeIntegral<uint32_t>();
      uint16_t value = kSentinel16;
      auto read = [&](uint16_t* out) {
        if (call == kReadRegister) return ReadRegister(kPort, static_cast<uint16_t>(word), out);
        if (call == kReadRegisterWren) return ReadRegisterWren(kPort, word, out);
        return ReadRegisterFinch(kPort, word, out);
      };
      if (RefusedWithNull(run, -1, [&] { return read(nullptr); })) break;
      const int32_t result = read(&value);
      const Run::Reply expected = run.ExpectedRead(2);
      CHECK(result == expected.Status());
      CHECK(value == expected.value.value_or(kSentinel16));
      break;
    }
    case kReadValueFinch: {
      const uint8_t command = in.ConsumeIntegral<uint8_t>();
      const uint16_t count = in.ConsumeIntegralInRange<uint16_t>(0, 9);
      const int32_t result = ReadValueFinch(kPort, command, count);
      if (count < 2 || count == 3 || count > 6) {
        CHECK(result == -1);
        run.NothingSent();
      } else {
        CHECK(result == run.ExpectedRead(count).Result());
      }
      break;
    }
    case kInfoRead: {
      const InfoRead read = in.PickValueInArray(kInfoReads);
      const int32_t result = read.call(kPort);
      // 32-bit values pass whole, so only the 16-bit ones have a range.
      if (read.count == 2) CHECK(result >= -2 && result <= 0xFFFF);
      CHECK(result == run.ExpectedRead(read.count).Result());
      break;
    }
    case kReadEpotValues: {
      std::array<uint8_t, 4> e;
      e.fill(0x5C);
      const int nullAt = in.ConsumeIntegralInRange(0, 3);
      if (RefusedWithNull(run, -1, [&] {
            std::array<uint8_t*, 4> p{&e[0], &e[1], &e[2], &e[3]};
            p[nullAt] = nullptr;
            return ReadEpotValues(kPort, p[0], p[1], p[2], p[3]);
          })) {
        CHECK(e == (std::array<uint8_t, 4>{0x5C, 0x5C, 0x5C, 0x5C}));
        break;
      }
      const int32_t result = ReadEpotValues(kPort, &e[0], &e[1], &e[2], &e[3]);
      CHECK(result == run.ExpectedRead(4).Status());
      if (result == 0) {
        // Two little-endian words, each handed out high byte first.
        const Bytes got = run.AfterOneRequest();
        CHECK(Decode(got, 4));
        CHECK(e == (std::array<uint8_t, 4>{got[5], got[4], got[7], got[6]}));
      } else {
        CHECK(e == (std::array<uint8_t, 4>{0x5C, 0x5C, 0x5C, 0x5C}));
      }
      break;
    }
    case kSendSync: {
      const int32_t result = SendSync(kPort);
      CHECK(line.Writes() == 1 && IsSync(line.exchanges[1].written));
      const Bytes got = run.AfterOneRequest();
      if (line.exchanges[1].failed) {
        CHECK(result == -2);
      } else {
        CHECK(result == (!got.empty() && got[0] == kReplyByte ? 0 : -1));
      }
      break;
    }
    case kDoSynchronize: {
      const int32_t result = DoSynchronize(kPort);
      CHECK(result == 0 || result == 1);
      for (size_t i = 1; i <= line.Writes(); ++i) CHECK(IsSync(line.exchanges[i].written));
      CheckSynchronisation(line, result == 1);
      // In step as soon as an answer is right, with tries to spare.
      if (result == 1) CHECK(!line.Last().failed && line.Last().read == kAck);
      if (result == 0) CHECK(!AnySyncAnswered(line));
      break;
    }
    case kSyncAndRead: {
      const int32_t family = in.ConsumeIntegralInRange(-1, 3);
      const uint32_t word = in.ConsumeIntegral<uint32_t>();
      uint16_t value = kSentinel16;
      if (RefusedWithNull(run, 0, [&] { return SyncAndRead(kPort, family, word, nullptr); }))
        break;
      const int32_t result = SyncAndRead(kPort, family, word, &value);
      CHECK(result == 0 || result == 1);
      if (family < 0 || family > 2) {
        CHECK(result == 0 && value == kSentinel16);
        run.NothingSent();
        break;
      }
      CheckSynchronisation(line, result == 1 || !IsSync(line.Last().written));
      if (result == 1) {
        CHECK(!IsSync(line.Last().written) && !line.Last().failed);
        const std::optional<int32_t> v = Decode(line.Last().read, 2);
        CHECK(v && value == *v);
      } else {
        CHECK(value == kSentinel16);
        if (line.Writes() > 0 && !IsSync(line.Last().written) && !line.Last().failed)
          CHECK(!Decode(line.Last().read, 2));
      }
      break;
    }
    case kSyncAndWrite: {
      const int32_t family = in.ConsumeIntegralInRange(-1, 3);
      const int32_t result = SyncAndWrite(kPort, family, in.ConsumeIntegral<uint32_t>());
      CHECK(result == 0 || result == 1);
      if (family < 0 || family > 2) {
        CHECK(result == 0);
        run.NothingSent();
        break;
      }
      CheckSynchronisation(line, result == 1 || !IsSync(line.Last().written));
      if (result == 1) CHECK(!IsSync(line.Last().written) && line.Last().read == kAck);
      break;
    }
    case kAckCall: {
      const AckCall write = in.PickValueInArray(kAckCalls);
      const int32_t result = write(kPort, in);
      CHECK(result == run.ExpectedAck());
      break;
    }
    case kBeginAsync: {
      const bool wren = in.ConsumeBool();
      const int32_t n = in.ConsumeIntegralInRange(-2, kMaxStreamValues + 2);
      std::array<uint8_t, kMaxStreamValues + 2> list{};
      for (uint8_t& r : list) r = in.ConsumeIntegral<uint8_t>();
      const uint8_t* registers = in.ConsumeIntegralInRange(0, 15) == 0 ? nullptr : list.data();
      const int32_t result = (wren ? BeginAsyncWren : BeginAsyncFinch)(kPort, n, registers);
      if (n < 1 || n > kMaxStreamValues || !registers) {
        CHECK(result == -1);
        run.NothingSent();
      } else {
        CHECK(result == run.ExpectedAck());
      }
      break;
    }
    case kReadAsync: {
      const bool wren = in.ConsumeBool();
      const int32_t n = in.ConsumeIntegralInRange(-2, kMaxStreamValues + 2);
      std::array<uint16_t, kMaxStreamValues + 8> values;
      values.fill(kSentinel16);
      const bool null = in.ConsumeIntegralInRange(0, 15) == 0;
      const int32_t result =
          (wren ? ReadAsyncWren : ReadAsyncFinch)(kPort, n, null ? nullptr : values.data());
      if (n < 1 || n > kMaxStreamValues || null) {
        CHECK(result == -1);
        run.NothingSent();
      } else {
        CheckRecord(run, result, static_cast<size_t>(n), values.data());
      }
      for (size_t i = std::max(n, 0); i < values.size(); ++i) CHECK(values[i] == kSentinel16);
      break;
    }
    case kReadLissPoint: {
      std::array<uint16_t, 4> v;
      v.fill(kSentinel16);
      const int nullAt = in.ConsumeIntegralInRange(0, 3);
      if (RefusedWithNull(run, -1, [&] {
            std::array<uint16_t*, 4> p{&v[0], &v[1], &v[2], &v[3]};
            p[nullAt] = nullptr;
            return ReadLissPoint(kPort, p[0], p[1], p[2], p[3]);
          })) {
        break;
      }
      const int32_t result = ReadLissPoint(kPort, &v[0], &v[1], &v[2], &v[3]);
      // The record's words in the order b, a, c, d.
      const std::array<uint16_t, 4> record{v[1], v[0], v[2], v[3]};
      CheckRecord(run, result, 4, record.data());
      break;
    }
    case kEndAsync: {
      const int32_t n = in.ConsumeIntegralInRange(-3, 300);
      const int32_t result = EndAsync(kPort, n);
      if (n < 0) {
        CHECK(result == -1);
        run.NothingSent();
        break;
      }
      const size_t stops = static_cast<size_t>(std::min(2 * n + 5, 200));
      CHECK(line.Writes() == 1);
      const ScriptedLine::Exchange& e = line.exchanges[1];
      CHECK(e.written == Bytes(stops, kStopByte));
      if (!e.failed) CHECK(result == static_cast<int32_t>(stops));
      if (e.failed) CHECK(result == -1 || (result >= 0 && size_t(result) < stops));
      break;
    }
    case kEndLissMode: {
      const int32_t result = EndLissMode(kPort);
      CHECK(line.Writes() == 1 && line.exchanges[1].written == Bytes(13, kStopByte));
      CHECK(result == (line.exchanges[1].failed ? -1 : 0));
      break;
    }
    case kReadPosition:
    case kReadShiftedPosition:
    case kReadShiftedPositionWren: {
      const auto read = call == kReadPosition          ? ReadPosition
                        : call == kReadShiftedPosition ? ReadShiftedPosition
                                                       : ReadShiftedPositionWren;
      if (RefusedWithNull(run, -1, [&] { return read(kPort, nullptr); })) break;
      int32_t position = kSentinel32;
      const int32_t result = read(kPort, &position);
      if (call == kReadPosition) {
        CheckPosition(run, result, position, INT32_MIN, INT32_MAX, true);
      } else if (call == kReadShiftedPosition) {
        CheckPosition(run, result, position, -(1 << 27), (1 << 27) - 1, false);
      } else {
        CheckPosition(run, result, position, -(1 << 29), (1 << 29) - 1, false, true);
      }
      break;
    }
    case kReadRs232Data: {
      const int32_t n = in.ConsumeIntegralInRange(-2, 300);
      std::array<uint8_t, 320> buffer;
      buffer.fill(0x5C);
      int32_t received = kSentinel32;
      const bool countReceived = in.ConsumeBool();
      const int32_t result =
          ReadRs232Data(kPort, n, buffer.data(), countReceived ? &received : nullptr);
      size_t got = 0;
      if (n < 0) {
        CHECK(result == -1 && received == kSentinel32);
        run.NothingSent();
      } else {
        got = std::min(static_cast<size_t>(n), run.stale.size());
        CHECK(result == (got == static_cast<size_t>(n) ? 1 : -1));
        CHECK(!countReceived || received == static_cast<int32_t>(got));
        CHECK(std::equal(buffer.begin(), buffer.begin() + got, run.stale.begin()));
      }
      CHECK(std::all_of(buffer.begin() + got, buffer.end(), [](uint8_t b) { return b == 0x5C; }));
      break;
    }
    case kCalls:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const Call call = static_cast<Call>(input.ConsumeIntegralInRange<int>(0, kCalls - 1));
  const int32_t timeoutMs = input.ConsumeIntegralInRange(0, 1000);
  const Bytes stale = input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, 2048));

  auto line = std::make_shared<ScriptedLine>(input);
  probelink::PortTable::Instance().Install(kPort, line);
  CHECK(ConfigPort(kPort, timeoutMs, kBaud) == 0);
  line->memory.Feed(stale);

  Run run{*line, input, stale};
  RunCall(run, call);

  // No call leaves its own time-out or line speed behind.
  int32_t timeoutAfter = -1, baudAfter = -1;
  CHECK(GetPortConfig(kPort, &timeoutAfter, &baudAfter) == 0);
  CHECK(timeoutAfter == timeoutMs && baudAfter == kBaud);
  ClosePort(kPort);
  return 0;
}
