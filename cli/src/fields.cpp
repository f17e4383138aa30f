#include "fields.h"

#include <algorithm>
#include <cmath>

#include "electronics.h"
#include "measure/signal_level.h"
#include "quantities.h"
#include "register_names.h"

namespace probelink_cli {
namespace {

constexpr double kShortestInterval = 0.00001;

const std::vector<uint8_t> kPositionRegisters = {reg::kPositionHigh, reg::kPositionMiddle,
                                                 reg::kPositionLow};
const std::vector<uint8_t> kSineRegister = {reg::kSine};
const std::vector<uint8_t> kCosineRegister = {reg::kCosine};
const std::vector<uint8_t> kSignalRegisters = {reg::kSine, reg::kCosine};
const std::vector<uint8_t> kStatusRegisters = {reg::kStatus};

// Each quantity's key and the registers it is made of.
struct Named {
  Quantity quantity;
  const char* key;
  const std::vector<uint8_t>* registers;
};
const Named kQuantities[] = {
    {Quantity::Position, "position", &kPositionRegisters},
    {Quantity::Velocity, "velocity", &kPositionRegisters},
    {Quantity::Sine, "sine", &kSineRegister},
    {Quantity::Cosine, "cosine", &kCosineRegister},
    {Quantity::SignalLevel, "signal_level", &kSignalRegisters},
    {Quantity::SignalLevelBand, "signal_level_band", &kSignalRegisters},
    {Quantity::Index, "index", &kStatusRegisters},
    {Quantity::RedAlarm, "red_alarm", &kStatusRegisters},
    {Quantity::YellowAlarm, "yellow_alarm", &kStatusRegisters},
    {Quantity::Status, "status", &kStatusRegisters},
};

const Named& NamedOf(Quantity quantity) {
  return *std::find_if(std::begin(kQuantities), std::end(kQuantities),
                       [&](const Named& n) { return n.quantity == quantity; });
}

double Rounded(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  return std::round(value * scale) / scale + 0.0;
}

// The sine and cosine channels in volts, to the tenth of a millivolt their
// 12 bits resolve.
double Volts(uint16_t word) { return Rounded(Signed12(word) * measure::kVoltsPerCount, 4); }

double LevelOf(const Reading& r) {
  return measure::LevelPercent(Signed12(r.sine), Signed12(r.cosine));
}

const char* IndexState(uint16_t status) {
  if (status & bit::kCentring) return "centring";
  if (status & bit::kAtIndex) return "at-index";
  if (status & bit::kCentred) return "centred";
  return "not-at-index";
}

void AddPosition(Document& record, const Reading& r, const std::optional<CountScale>& scale) {
  record["position"] = r.position;
  if (scale)
    record[LengthKey("position", *scale->unit)] =
        Rounded(r.position * scale->perCount, scale->unit->decimals);
}

void AddVelocity(Document& record, const Reading& r, const std::optional<CountScale>& scale) {
  record["velocity"] = Rounded(r.velocity, 1);
  if (scale)
    record[SpeedKey("velocity", *scale->unit)] =
        Rounded(r.velocity * scale->perCount, scale->unit->decimals);
}

Document WordOf(const Reading& r, uint8_t reg) {
  for (const auto& [number, word] : r.words)
    if (number == reg) return word;
  return nullptr;
}

}  // namespace

std::optional<Field> ParseField(std::string_view text) {
  for (const Named& n : kQuantities)
    if (text == n.key) return Field{n.quantity};
  if (const auto reg = RegisterNamed(text)) return Field{Quantity::Register, *reg};
  const auto number = ParseNumber(text);
  if (!number || *number < 0 || WhyUnreadable(static_cast<int>(*number))) return std::nullopt;
  return Field{Quantity::Register, static_cast<uint8_t>(*number)};
}

std::string QuantityNames() {
  std::string names;
  for (const Named& n : kQuantities) names += (names.empty() ? "" : ", ") + std::string(n.key);
  return names;
}

std::vector<uint8_t> RegistersOf(const std::vector<Field>& fields) {
  std::vector<uint8_t> registers;
  const auto add = [&](uint8_t reg) {
    if (std::find(registers.begin(), registers.end(), reg) == registers.end())
      registers.push_back(reg);
  };
  for (const Field& field : fields) {
    if (field.quantity == Quantity::Register)
      add(field.reg);
    else
      for (const uint8_t reg : *NamedOf(field.quantity).registers) add(reg);
  }
  return registers;
}

void AddField(Document& record, const Field& field, const Reading& r,
              const std::optional<CountScale>& scale) {
  const char* key = field.quantity == Quantity::Register ? "" : NamedOf(field.quantity).key;
  switch (field.quantity) {
    case Quantity::Position:
      return AddPosition(record, r, scale);
    case Quantity::Velocity:
      return AddVelocity(record, r, scale);
    case Quantity::Sine:
      record[key] = Volts(r.sine);
      return;
    case Quantity::Cosine:
      record[key] = Volts(r.cosine);
      return;
    case Quantity::SignalLevel:
      record[key] = Rounded(LevelOf(r), 1);
      return;
    case Quantity::SignalLevelBand:
      record[key] = measure::BandName(measure::BandOfPercent(LevelOf(r)));
      return;
    case Quantity::Index:
      record[key] = IndexState(r.status);
      return;
    case Quantity::RedAlarm:
      record[key] = (r.status & bit::kRedAlarm) != 0;
      return;
    case Quantity::YellowAlarm:
      record[key] = (r.status & bit::kYellowAlarm) != 0;
      return;
    case Quantity::Status:
      record[key] = Hex(r.status, 4);
      return;
    case Quantity::Register:
      record[Hex(field.reg, 2)] = WordOf(r, field.reg);
      return;
  }
}

uint16_t RecordDecoder::Word(uint8_t reg, const std::vector<uint16_t>& words) const {
  const auto at = std::find(registers_.begin(), registers_.end(), reg);
  return at == registers_.end() ? 0 : words[static_cast<size_t>(at - registers_.begin())];
}

// The window's position view takes the velocity of its first sample as 0,
// and no interval as shorter than its clock can tell apart.
Reading RecordDecoder::Decode(double seconds, const std::vector<uint16_t>& words) {
  Reading r;
  r.seconds = seconds;
  r.position = JoinPosition(Word(reg::kPositionHigh, words), Word(reg::kPositionMiddle, words),
                            Word(reg::kPositionLow, words));
  if (fourFold_) r.position /= 4;
  r.sine = Word(reg::kSine, words);
  r.cosine = Word(reg::kCosine, words);
  r.status = Word(reg::kStatus, words);
  for (size_t i = 0; i < registers_.size(); ++i) r.words.emplace_back(registers_[i], words[i]);
  if (before_)
    r.velocity =
        (r.position - before_->position) / std::max(seconds - before_->seconds, kShortestInterval);
  before_ = r;
  return r;
}

}  // namespace probelink_cli
