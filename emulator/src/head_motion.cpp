#include "head_motion.h"

#include <algorithm>
#include <cmath>

namespace veritrak {

HeadMotion::HeadMotion(double start, double travel, double speed)
    : start_(start), travel_(std::max(travel, 0.0)), speed_(std::abs(speed)) {}

double HeadMotion::PositionAt(double seconds) const { return Fold(speed_ * seconds); }

double HeadMotion::VelocityAt(double seconds) const {
  if (travel_ == 0) return 0;
  return GoingUp(speed_ * seconds) ? speed_ : -speed_;
}

std::vector<Stretch> HeadMotion::StretchesBetween(double t0, double t1) const {
  const double u0 = speed_ * t0;
  const double u1 = speed_ * t1;
  if (travel_ == 0 || u1 <= u0) return {{Fold(u0), Fold(u1)}};
  double firstTurn = std::floor(u0 / travel_) + 1;
  const double lastTurn = std::ceil(u1 / travel_) - 1;
  double from = u0;
  if (lastTurn - firstTurn > 1) {
    firstTurn = lastTurn - 1;
    from = (firstTurn - 1) * travel_;
  }
  std::vector<Stretch> path;
  for (double turn = firstTurn; turn <= lastTurn; ++turn) {
    path.push_back({Fold(from), Fold(turn * travel_)});
    from = turn * travel_;
  }
  path.push_back({Fold(from), Fold(u1)});
  return path;
}

double HeadMotion::Fold(double distance) const {
  if (travel_ == 0) return start_;
  const double along = std::fmod(distance, 2 * travel_);
  return GoingUp(distance) ? start_ + along : start_ + 2 * travel_ - along;
}

bool HeadMotion::GoingUp(double distance) const {
  return std::fmod(distance, 2 * travel_) < travel_;
}

}  // namespace veritrak
