#include "data_file_rows.h"

#include <algorithm>

#include "number_format.h"

namespace quillon {
namespace {

constexpr char kTab = '\t';
constexpr int kTimePrecision = 5;
constexpr int kStatusTimeDecimals = 4;
constexpr int kTimeDecimals = 5;
constexpr int kVelocityPrecision = 12;
constexpr int kVelocityDecimals = 8;
// Positions with fewer characters get one more TAB, so that the columns stay
// under the header's.
constexpr qsizetype kShortPosition = 6;

QByteArray Fixed(float value, int precision, int decimals) {
  return FormatFixed(value, precision, decimals).toLatin1();
}

}  // namespace

Recorded RecordedSamples(int32_t writeIndex, bool wrapped, int32_t ringSize) {
  const int32_t next = std::clamp(writeIndex, 0, ringSize - 1);
  if (wrapped) return {(next + 1) % ringSize, ringSize - 1};
  return {0, next};
}

void StatusRows::Append(QByteArray& out, const StatusRing& ring, int32_t slot) {
  out += QByteArray::number(ring.position[slot]) + kTab + QByteArray::number(ring.x[slot]) + kTab +
         QByteArray::number(ring.y[slot]) + kTab + QByteArray::number(ring.status[slot]) + kTab +
         Fixed(ring.interval[slot], kTimePrecision, kStatusTimeDecimals) + kLineEnd;
}

bool StatusRows::Read(TokenReader& in, StatusRing& ring, int32_t slot) {
  int32_t position, x, y, status;
  float interval;
  if (!in.Int32(position) || !in.Int32(x) || !in.Int32(y) || !in.Int32(status) ||
      !in.Float(interval)) {
    return false;
  }
  ring.position[slot] = position;
  ring.x[slot] = x;
  ring.y[slot] = y;
  ring.status[slot] = status;
  ring.interval[slot] = interval;
  return true;
}

void SignalRows::Append(QByteArray& out, const SignalRing& ring, int32_t slot) {
  out += QByteArray::number(ring.x[slot]) + kTab + QByteArray::number(ring.y[slot]) + kTab +
         QByteArray::number(ring.magnitude[slot]) + kTab + QByteArray::number(ring.angle[slot]) +
         kTab + Fixed(ring.interval[slot], kTimePrecision, kTimeDecimals) + kLineEnd;
}

bool SignalRows::Read(TokenReader& in, SignalRing& ring, int32_t slot) {
  uint16_t x, y, magnitude, angle;
  float interval;
  if (!in.UInt16(x) || !in.UInt16(y) || !in.UInt16(magnitude) || !in.UInt16(angle) ||
      !in.Float(interval)) {
    return false;
  }
  ring.x[slot] = x;
  ring.y[slot] = y;
  ring.magnitude[slot] = magnitude;
  ring.angle[slot] = angle;
  ring.interval[slot] = interval;
  return true;
}

void StrengthRows::Append(QByteArray& out, const StrengthRing& ring, int32_t slot) {
  out += QByteArray::number(ring.position[slot]) + kTab + QByteArray::number(ring.x[slot]) + kTab +
         QByteArray::number(ring.y[slot]) + kTab +
         Fixed(ring.interval[slot], kTimePrecision, kTimeDecimals) + kLineEnd;
}

bool StrengthRows::Read(TokenReader& in, StrengthRing& ring, int32_t slot) {
  int32_t position, x, y;
  float interval;
  if (!in.Int32(position) || !in.Int32(x) || !in.Int32(y) || !in.Float(interval)) return false;
  ring.position[slot] = position;
  ring.x[slot] = x;
  ring.y[slot] = y;
  ring.interval[slot] = interval;
  return true;
}

void PositionRows::Append(QByteArray& out, const PositionRing& ring, int32_t slot) {
  const QByteArray position = QByteArray::number(ring.position[slot]);
  const char* afterPosition = position.size() < kShortPosition ? "\t\t\t" : "\t\t";
  out += position + afterPosition +
         Fixed(ring.velocity[slot], kVelocityPrecision, kVelocityDecimals) + "\t\t" +
         Fixed(ring.interval[slot], kTimePrecision, kTimeDecimals) + kLineEnd;
}

bool PositionRows::Read(TokenReader& in, PositionRing& ring, int32_t slot) {
  int32_t position;
  float velocity, interval;
  if (!in.Int32(position) || !in.Float(velocity) || !in.Float(interval)) return false;
  ring.position[slot] = position;
  ring.velocity[slot] = velocity;
  ring.interval[slot] = interval;
  return true;
}

}  // namespace quillon
