// Where the read-head is: it sweeps back and forth between two turning
// points at a constant speed.
#pragma once

#include <vector>

namespace veritrak {

// A piece of the head's path, from one position to another, without a turn.
struct Stretch {
  double from = 0;
  double to = 0;
};

class HeadMotion {
 public:
  // The head starts at `start` moving up; it turns at start and start + travel.
  HeadMotion(double start, double travel, double speed);

  double PositionAt(double seconds) const;
  double VelocityAt(double seconds) const;
  // The path from t0 to t1, split at the turns. Only the last three pieces
  // are given: two whole legs already cover the travel in both directions.
  std::vector<Stretch> StretchesBetween(double t0, double t1) const;

 private:
  // Where the head is after `distance` counts of motion, and which way it goes.
  double Fold(double distance) const;
  bool GoingUp(double distance) const;

  double start_;
  double travel_;
  double speed_;
};

}  // namespace veritrak
