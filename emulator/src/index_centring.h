// The index mark and the centring sequence: once told to centre, the
// electronics wait until the head has crossed the mark going up and going
// down, then report the index centred.
#pragma once

#include <cstdint>

#include "head_motion.h"

namespace veritrak {

// Half the width of the index window around the mark, in counts.
inline constexpr double kIndexHalfWidth = 1024;

class IndexCentring {
 public:
  enum class Phase { Idle, Centring, Centred };

  explicit IndexCentring(double mark);

  bool AtIndex(double position) const;
  void Start();
  void Observe(const Stretch& path);
  void Forget();

  Phase State() const { return phase_; }
  // Signal angles (12 bits) of the window edge met going up and going down,
  // and of the centre between them; 0 until seen.
  uint16_t RisingEdge() const { return rising_; }
  uint16_t FallingEdge() const { return falling_; }
  uint16_t Centre() const { return centre_; }

 private:
  void Finish();

  double mark_;
  Phase phase_ = Phase::Idle;
  bool seenRising_ = false;
  bool seenFalling_ = false;
  uint16_t rising_ = 0;
  uint16_t falling_ = 0;
  uint16_t centre_ = 0;
};

// The low 12 bits of a count: where in its signal period the head is.
uint16_t AngleOf(double position);

}  // namespace veritrak
