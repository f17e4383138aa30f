#include "index_centring.h"

#include <cmath>

namespace veritrak {

uint16_t AngleOf(double position) { return static_cast<uint16_t>(std::llround(position) & 0xFFF); }

IndexCentring::IndexCentring(double mark) : mark_(mark) {}

bool IndexCentring::AtIndex(double position) const {
  return std::abs(position - mark_) <= kIndexHalfWidth;
}

void IndexCentring::Start() {
  phase_ = Phase::Centring;
  seenRising_ = seenFalling_ = false;
}

void IndexCentring::Observe(const Stretch& path) {
  if (phase_ != Phase::Centring) return;
  if (path.from < mark_ && path.to >= mark_) {
    seenRising_ = true;
    rising_ = AngleOf(mark_ - kIndexHalfWidth);
  } else if (path.from > mark_ && path.to <= mark_) {
    seenFalling_ = true;
    falling_ = AngleOf(mark_ + kIndexHalfWidth);
  }
  if (seenRising_ && seenFalling_) Finish();
}

void IndexCentring::Forget() { *this = IndexCentring(mark_); }

void IndexCentring::Finish() {
  phase_ = Phase::Centred;
  centre_ = AngleOf(mark_);
}

}  // namespace veritrak
