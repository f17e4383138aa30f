// The named quantities the electronics' registers carry, decoded the way the
// window decodes them, for `stream` records and `status` alike: position
// (and its length), velocity, the sine and cosine signals in volts, the
// signal level on the one scale, the status word's bits by name, and any
// register's raw word.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "count_length.h"
#include "plain_json.h"

namespace probelink_cli {

enum class Quantity {
  Position,
  Velocity,
  Sine,
  Cosine,
  SignalLevel,
  SignalLevelBand,
  Index,
  RedAlarm,
  YellowAlarm,
  Status,
  Register
};

struct Field {
  Quantity quantity;
  uint8_t reg = 0;  // of a raw register word

  bool operator==(const Field&) const = default;
};

// A quantity by its key ("position", "signal_level"), or a register by its
// number or its name on the engineering display.
std::optional<Field> ParseField(std::string_view text);
// The quantities' keys, for help and messages.
std::string QuantityNames();
// The registers a record of these fields needs, each once, in order.
std::vector<uint8_t> RegistersOf(const std::vector<Field>& fields);

// What one sample says; each field reads its part.
struct Reading {
  double seconds = 0;
  int32_t position = 0;  // counts as the status page shows them
  double velocity = 0;   // counts a second
  uint16_t sine = 0, cosine = 0, status = 0;
  std::vector<std::pair<uint8_t, uint16_t>> words;  // every register read
};

// The field's keys and values, appended to `record`; a length beside each
// count when there is a scale.
void AddField(Document& record, const Field& field, const Reading& reading,
              const std::optional<CountScale>& scale);

// Stream records into readings: the position joined from its three
// registers, the velocity from the position before.
class RecordDecoder {
 public:
  RecordDecoder(std::vector<uint8_t> registers, bool fourFoldCounts)
      : registers_(std::move(registers)), fourFold_(fourFoldCounts) {}
  Reading Decode(double seconds, const std::vector<uint16_t>& words);

 private:
  uint16_t Word(uint8_t reg, const std::vector<uint16_t>& words) const;

  const std::vector<uint8_t> registers_;
  const bool fourFold_;
  std::optional<Reading> before_;
};

}  // namespace probelink_cli
