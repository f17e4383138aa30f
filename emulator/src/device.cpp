#include "device.h"

#include <algorithm>
#include <iterator>

#include "replies.h"

namespace veritrak {
namespace {

constexpr uint8_t kWrite = 0x50;
constexpr uint8_t kRead = 0x51;
constexpr uint8_t kVersion = 0x60;
constexpr uint8_t kHours = 0x62;
constexpr uint8_t kCycles = 0x63;
constexpr uint8_t kReset = 0x64;
constexpr uint8_t kStreamStart = 0x65;  // also the bare Lissajous start
constexpr uint8_t kVersionAlt = 0x80;
constexpr uint8_t kChecksumAlt = 0x81;
constexpr uint8_t kHoursAlt = 0x82;
constexpr uint8_t kCyclesAlt = 0x83;
constexpr uint8_t kResetAlt = 0x84;
constexpr uint8_t kEpotWrite = 0x90;
constexpr uint8_t kEpotRead = 0x91;
constexpr uint8_t kEpotFlash = 0x92;
constexpr uint8_t kFinchWrite = 0xA3;
constexpr uint8_t kFinchRead = 0xA4;

constexpr size_t kWordPayload = 4;
constexpr size_t kBlockWritePayload = 6;  // address, count, one 16-bit word
constexpr size_t kMaxReplyData = 255;

constexpr uint16_t kFactoryEpot = 0x8080;

const std::vector<uint8_t> kLissajousRegisters(std::begin(probelink::reg::kLissajous),
                                               std::end(probelink::reg::kLissajous));

uint32_t Le32(const std::vector<uint8_t>& p) {
  return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (uint32_t{p[3]} << 24);
}

std::chrono::nanoseconds SyncGap(const LineSettings& line) {
  if (line.syncGap.count() > 0) return line.syncGap;
  return line.paced ? kPacedByteTime * 3 / 2 : std::chrono::microseconds(50);
}

}  // namespace

Device::Device(const Options& options, const FaultControl& faults, HostJournal& journal,
               Transmitter& tx, TimePoint origin)
    : settings_(options.device),
      line_(options.line),
      faults_(faults),
      journal_(journal),
      tx_(tx),
      origin_(origin),
      parser_(SyncGap(options.line), *this),
      registers_(options.device.modelCode),
      model_(options.head, origin),
      powerOnCycles_(options.device.powerOnCycles),
      epotWiper_(kFactoryEpot),
      epotFlashed_(kFactoryEpot) {}

void Device::Receive(uint8_t byte, TimePoint at) {
  if (deafUntil_) {
    if (at < *deafUntil_) return;
    FinishReset(at);
  }
  if (!stream_) {
    parser_.Feed(byte, at);
  } else if (stream_->SeesStop(byte)) {
    StopStream();
  }
}

void Device::Advance(TimePoint now) {
  if (deafUntil_) {
    if (now < *deafUntil_) return;
    FinishReset(now);
  }
  parser_.Expire(now);
  while (stream_ && stream_->RecordDue(now, tx_)) QueueRecord(now);
}

std::optional<TimePoint> Device::Deadline(TimePoint now) const {
  if (deafUntil_) return deafUntil_;
  if (stream_) return stream_->Deadline(now, tx_);
  return parser_.Deadline();
}

void Device::OnLoneSync(TimePoint at) { Answer(std::span(&kReplyByte, 1), at); }

void Device::OnFrame(const Frame& frame, TimePoint at) {
  if (frame.streamStart) {
    StartStream(frame.payload, at);
    return;
  }
  switch (frame.command) {
    case kRead:
    case kFinchRead:
      ReadWord(frame, at);
      break;
    case kWrite:
    case kFinchWrite:
      WriteWord(frame, at);
      break;
    case kVersion:
    case kVersionAlt:
      ReadInfo(frame, settings_.firmwareVersion, at);
      break;
    case kChecksumAlt:
      ReadInfo(frame, settings_.firmwareChecksum, at);
      break;
    case kHours:
    case kHoursAlt:
      ReadInfo(frame, PowerOnHours(at), at);
      break;
    case kCycles:
    case kCyclesAlt:
      ReadInfo(frame, powerOnCycles_, at);
      break;
    case kReset:
    case kResetAlt:
      BeginReset(at);
      break;
    case kStreamStart:
      StartStream(kLissajousRegisters, at);
      break;
    case kEpotWrite:
      WriteEpot(frame, at);
      break;
    case kEpotRead:
      ReadInfo(frame, epotWiper_ | (uint32_t{epotFlashed_} << 16), at);
      break;
    case kEpotFlash:
      FlashEpot(at);
      break;
    default:
      break;  // unknown commands go unanswered
  }
}

void Device::Answer(std::span<const uint8_t> bytes, TimePoint at) {
  tx_.Queue(bytes, at + faults_.LateBy());
}

bool Device::Acknowledge(TimePoint at) {
  const uint8_t ack = faults_.RefuseAcks() ? kRefuseByte : kReplyByte;
  Answer(std::span(&ack, 1), at);
  return ack == kReplyByte;
}

// A base-family read carries its address and count where a Wren read carries
// its word, so it is answered as a read of the register in bits 16 to 23.
void Device::ReadWord(const Frame& frame, TimePoint at) {
  if (frame.payload.size() != kWordPayload) return;
  const auto reg = static_cast<uint8_t>(Le32(frame.payload) >> 16);
  const uint16_t value = ReadRegister(reg, registers_, model_.At(at));
  Answer(DataReply(frame.command, LittleEndian(value, 2)), at);
}

// A base-family block write is acknowledged and has no effect here.
void Device::WriteWord(const Frame& frame, TimePoint at) {
  const bool blockWrite = frame.command == kWrite && frame.payload.size() == kBlockWritePayload;
  if (frame.payload.size() != kWordPayload && !blockWrite) return;
  if (!Acknowledge(at) || blockWrite) return;
  const uint32_t word = Le32(frame.payload);
  journal_.Record(word);
  ++commandsTaken_;
  if (faults_.IgnoreWrites()) return;
  const auto reg = static_cast<uint8_t>(word >> 16);
  const auto value = static_cast<uint16_t>(word);
  if (reg == probelink::reg::kCommand)
    RunCommand(value, at);
  else if (reg > kWriteOffset)
    registers_.Write(static_cast<uint8_t>(reg - kWriteOffset), value);
}

void Device::RunCommand(uint16_t value, TimePoint at) {
  namespace command = probelink::command_word;
  if (value == command::kZeroCounter && zeroArmed_) model_.ZeroCounter(at);
  if (value == command::kCentreIndex) model_.StartCentring(at);
  zeroArmed_ = value == command::kZeroArm;
}

// Information reads answer with as many bytes as the request asks for.
void Device::ReadInfo(const Frame& frame, uint32_t value, TimePoint at) {
  if (frame.payload.size() < kWordPayload) return;
  const size_t count = std::min<size_t>(Le16(&frame.payload[2]), kMaxReplyData);
  Answer(DataReply(frame.command, LittleEndian(value, count)), at);
}

void Device::WriteEpot(const Frame& frame, TimePoint at) {
  if (frame.payload.size() != kBlockWritePayload || !Acknowledge(at)) return;
  epotWiper_ = Le16(&frame.payload[4]);
}

void Device::FlashEpot(TimePoint at) {
  if (Acknowledge(at)) epotFlashed_ = epotWiper_;
}

void Device::StartStream(std::vector<uint8_t> registers, TimePoint at) {
  if (registers.empty() || !Acknowledge(at)) return;
  stream_.emplace(std::move(registers), line_, at);
}

void Device::QueueRecord(TimePoint now) {
  const Sample sample = model_.At(now);
  std::vector<uint16_t> values;
  for (const uint8_t reg : stream_->Registers())
    values.push_back(ReadRegister(reg, registers_, sample));
  tx_.Queue(Stream::Record(values), now);
  stream_->RecordQueued(now);
}

void Device::StopStream() {
  stream_.reset();
  tx_.Clear();
}

// The electronics restart: deaf until they are up again, then as at power-on.
void Device::BeginReset(TimePoint at) {
  ++commandsTaken_;
  stream_.reset();
  tx_.Clear();
  parser_.Reset();
  deafUntil_ = at + settings_.resetTime;
}

void Device::FinishReset(TimePoint now) {
  deafUntil_.reset();
  registers_.PowerOn();
  model_.PowerCycle(now);
  epotWiper_ = epotFlashed_;
  zeroArmed_ = false;
  ++powerOnCycles_;
}

uint32_t Device::PowerOnHours(TimePoint at) const {
  const auto running = std::chrono::duration_cast<std::chrono::hours>(at - origin_);
  return settings_.powerOnHours + static_cast<uint32_t>(running.count());
}

}  // namespace veritrak
