// One sample row of each data file kind: its text when saved, and reading it
// back from the white-space separated numbers of a loaded file. Each kind
// names the view whose ring it belongs to.
#pragma once

#include <QByteArray>

#include "rings.h"
#include "text_scan.h"

namespace quillon {

// The recorded samples of a ring, oldest first: slots first, first + 1, ...
// modulo the ring size. A write index outside the ring counts as its nearest
// slot, so that a writer never reads past the arrays.
struct Recorded {
  int32_t first = 0;
  int32_t count = 0;
};

Recorded RecordedSamples(int32_t writeIndex, bool wrapped, int32_t ringSize);

// Append writes the row of `slot` with its line end. Read stores a row into
// `slot` only when all of its numbers were read.
struct StatusRows {
  static constexpr int kView = StatusView;
  static void Append(QByteArray& out, const StatusRing& ring, int32_t slot);
  static bool Read(TokenReader& in, StatusRing& ring, int32_t slot);
};

struct SignalRows {
  static constexpr int kView = SignalView;
  static void Append(QByteArray& out, const SignalRing& ring, int32_t slot);
  static bool Read(TokenReader& in, SignalRing& ring, int32_t slot);
};

struct StrengthRows {
  static constexpr int kView = StrengthView;
  static void Append(QByteArray& out, const StrengthRing& ring, int32_t slot);
  static bool Read(TokenReader& in, StrengthRing& ring, int32_t slot);
};

struct PositionRows {
  static constexpr int kView = PositionView;
  static void Append(QByteArray& out, const PositionRing& ring, int32_t slot);
  static bool Read(TokenReader& in, PositionRing& ring, int32_t slot);
};

}  // namespace quillon
