#include "measure/alignment_fit.h"

#include <Eigen/Dense>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>
#include <vector>

#include "measure/signal_level.h"

namespace measure {
namespace {

constexpr double kPi = std::numbers::pi;
// Over two signal periods the level changes little and smoothly even on a
// fast head, and sixty samples keep the noise out of the figures.
constexpr double kStretchPeriods = 2;
constexpr size_t kMinStretchSamples = 60;
// The root mean square of the samples' distance from the fitted ellipse, as
// a fraction of its radius, beyond which they are not on it: noise of a
// tenth of the amplitude, or a cluster with a few strays around it.
constexpr double kMaxResidual = 0.1;
// A step this large from one sample to the next is a gap (samples lost, or
// held up on a busy line), not travel: the phase cannot be followed across
// it. It allows a head of some 80 signal periods a second at the wire's rate.
constexpr double kGapStep = std::numbers::pi / 2;
// A step of the signal's size this many times the median step is a jump.
constexpr double kJumpSteps = 8;

// x = ox + a sin t, y = oy + b cos(t + phi), in volts.
struct Ellipse {
  double ox, oy, a, b, phi;
};
// The phase seen from the origin, before any ellipse is known.
constexpr Ellipse kAroundOrigin{0, 0, 1, 1, 0};

double PhaseOn(const Ellipse& e, const SignalPoint& p) {
  const double s = (p.sine - e.ox) / e.a;
  const double y = (p.cosine - e.oy) / e.b;
  return std::atan2(s, (y + s * std::sin(e.phi)) / std::cos(e.phi));
}

// Successive samples lie less than half a period apart.
std::vector<double> UnwrappedPhase(std::span<const SignalPoint> points, const Ellipse& e) {
  std::vector<double> phase;
  phase.reserve(points.size());
  double previous = 0, turns = 0;
  for (const SignalPoint& p : points) {
    const double t = PhaseOn(e, p);
    if (!phase.empty()) {
      if (t - previous > kPi) turns -= 2 * kPi;
      if (t - previous < -kPi) turns += 2 * kPi;
    }
    previous = t;
    phase.push_back(t + turns);
  }
  return phase;
}

double Extent(std::span<const double> phase) {
  const auto [lo, hi] = std::minmax_element(phase.begin(), phase.end());
  return *hi - *lo;
}

double MeanLevel(std::span<const SignalPoint> points) {
  double sum = 0;
  for (const SignalPoint& p : points) sum += LevelPercentOfVolts(p.sine, p.cosine);
  return sum / static_cast<double>(points.size());
}

// Where the phase cannot be followed from one sample to the next: a new run
// of samples begins there.
using Breaks = std::vector<bool>;

Breaks Gaps(std::span<const double> phase) {
  Breaks gap(phase.size());
  for (size_t i = 1; i < phase.size(); ++i) gap[i] = std::fabs(phase[i] - phase[i - 1]) > kGapStep;
  return gap;
}

std::vector<std::pair<size_t, size_t>> Runs(const Breaks& breaks) {
  std::vector<std::pair<size_t, size_t>> runs;
  size_t begin = 0;
  for (size_t i = 1; i <= breaks.size(); ++i)
    if (i == breaks.size() || breaks[i]) {
      runs.emplace_back(begin, i);
      begin = i;
    }
  return runs;
}

// How far the phase travelled, in periods, across no break.
double Travel(std::span<const double> phase, const Breaks& breaks) {
  double radians = 0;
  for (const auto& [begin, end] : Runs(breaks)) radians += Extent(phase.subspan(begin, end - begin));
  return radians / (2 * kPi);
}

// Runs of successive samples across no break, each over kStretchPeriods of
// phase or more; what is left at the end of a run joins its last stretch.
std::vector<std::pair<size_t, size_t>> Stretches(std::span<const double> phase,
                                                 const Breaks& breaks) {
  std::vector<std::pair<size_t, size_t>> stretches;
  for (const auto& [first, last] : Runs(breaks)) {
    const size_t before = stretches.size();
    size_t begin = first;
    double lo = phase[first], hi = phase[first];
    for (size_t i = first; i < last; ++i) {
      lo = std::min(lo, phase[i]);
      hi = std::max(hi, phase[i]);
      if (hi - lo < kStretchPeriods * 2 * kPi || i + 1 - begin < kMinStretchSamples) continue;
      stretches.emplace_back(begin, i + 1);
      begin = i + 1;
      if (begin < last) lo = hi = phase[begin];
    }
    if (stretches.size() > before) stretches.back().second = last;
  }
  return stretches;
}

// A line held up while the head moves on can make the phase jump by whole
// periods plus a little, which looks like a small step. Along a scale whose
// level changes, such a jump shows as a jump of the signal's size, measured
// on the ellipse, far beyond what the noise moves it from one sample to the
// next. Marks them as breaks; whether any were found.
bool MarkLevelJumps(std::span<const SignalPoint> points, const Ellipse& e, Breaks& breaks) {
  std::vector<double> size(points.size()), steps;
  for (size_t i = 0; i < points.size(); ++i) {
    const double s = (points[i].sine - e.ox) / e.a, y = (points[i].cosine - e.oy) / e.b;
    size[i] = e.a * std::hypot(s, (y + s * std::sin(e.phi)) / std::cos(e.phi));
    if (i > 0) steps.push_back(std::fabs(size[i] - size[i - 1]));
  }
  std::nth_element(steps.begin(), steps.begin() + static_cast<long>(steps.size() / 2), steps.end());
  const double jump = kJumpSteps * steps[steps.size() / 2];
  bool found = false;
  for (size_t i = 1; i < points.size(); ++i)
    if (std::fabs(size[i] - size[i - 1]) > jump && !breaks[i]) found = breaks[i] = true;
  return found;
}

struct StretchFit {
  Ellipse ellipse;  // its size at the middle of the stretch's phase
  double residual;
  std::vector<double> phase;  // the unwrapped phase the fit took
};

// Where a stretch's phase lies within it: -0.5 to 0.5.
std::vector<double> AlongStretch(std::span<const double> phase) {
  const auto [lo, hi] = std::minmax_element(phase.begin(), phase.end());
  std::vector<double> u;
  for (const double t : phase) u.push_back((t - (*lo + *hi) / 2) / (*hi - *lo));
  return u;
}

// The samples' mean and spread: centred on the one and scaled by the other,
// the least-squares problems stay well conditioned.
struct Frame {
  double mx = 0, my = 0, scale = 0;
  double X(const SignalPoint& p) const { return (p.sine - mx) / scale; }
  double Y(const SignalPoint& p) const { return (p.cosine - my) / scale; }
};

Frame FrameOf(std::span<const SignalPoint> points) {
  const double n = static_cast<double>(points.size());
  Frame f;
  for (const SignalPoint& p : points) f.mx += p.sine / n, f.my += p.cosine / n;
  double spread = 0;
  for (const SignalPoint& p : points)
    spread += std::pow(p.sine - f.mx, 2) + std::pow(p.cosine - f.my, 2);
  f.scale = std::sqrt(spread / n);
  return f;
}

// The centre and tilt of the conic a x² + b xy + c y² + d x + e y, and its
// semi-axes for the size it has where the rest of the equation is `size`.
std::optional<Ellipse> EllipseOf(double a, double b, double c, double d, double e,
                                 const Frame& f) {
  const double det = 4 * a * c - b * b;
  if (!(det > 0 && a > 0 && c > 0)) return std::nullopt;
  const double p = (b * e - 2 * c * d) / det, q = (b * d - 2 * a * e) / det;
  const double size = 1 + a * p * p + b * p * q + c * q * q;
  // a x² + b xy + c y² = size about the centre is x²/A² + 2 sin(phi) xy/(A B)
  // + y²/B² = cos²(phi) for the semi-axes A, B and the phase error phi.
  const double sinPhi = b / (2 * std::sqrt(a * c));
  if (!(size > 0) || !(std::fabs(sinPhi) < 1)) return std::nullopt;
  const double cosPhi = std::sqrt(1 - sinPhi * sinPhi);
  return Ellipse{f.mx + p * f.scale, f.my + q * f.scale,
                 std::sqrt(size / a) / cosPhi * f.scale, std::sqrt(size / c) / cosPhi * f.scale,
                 std::asin(sinPhi)};
}

// The conic A x² + B xy + C y² + D x + E y + G1 u + G2 u² = 1, u the phase
// along the stretch: an ellipse of fixed centre and shape whose squared size
// changes as a quadratic along the phase.
std::optional<StretchFit> FitConic(std::span<const SignalPoint> points,
                                   std::vector<double> phase) {
  const Frame f = FrameOf(points);
  const std::vector<double> u = AlongStretch(phase);
  if (!(f.scale > 0) || !std::isfinite(u.front())) return std::nullopt;
  Eigen::MatrixXd m(points.size(), 7);
  for (Eigen::Index i = 0; i < m.rows(); ++i) {
    const double x = f.X(points[i]), y = f.Y(points[i]);
    m.row(i) << x * x, x * y, y * y, x, y, u[i], u[i] * u[i];
  }
  const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(m);
  if (qr.rank() < 7) return std::nullopt;
  const Eigen::VectorXd w = qr.solve(Eigen::VectorXd::Ones(m.rows()));
  const auto ellipse = EllipseOf(w[0], w[1], w[2], w[3], w[4], f);
  if (!ellipse) return std::nullopt;

  // Each sample's distance from the ellipse of its own size, as a fraction.
  const double p = (ellipse->ox - f.mx) / f.scale, q = (ellipse->oy - f.my) / f.scale;
  const double centre = w[0] * p * p + w[1] * p * q + w[2] * q * q;
  double squares = 0;
  for (Eigen::Index i = 0; i < m.rows(); ++i) {
    const double x = m(i, 3) - p, y = m(i, 4) - q;
    const double radius2 = (w[0] * x * x + w[1] * x * y + w[2] * y * y) /
                           (1 - w[5] * u[i] - w[6] * u[i] * u[i] + centre);
    squares += radius2 >= 0 ? std::pow(std::sqrt(radius2) - 1, 2) : HUGE_VAL;
  }
  return StretchFit{*ellipse, std::sqrt(squares / static_cast<double>(points.size())),
                    std::move(phase)};
}

// The first pass sees the phase from the origin, bent by the very offsets
// and phase error it measures; the second takes it from the first's ellipse.
std::optional<StretchFit> FitStretch(std::span<const SignalPoint> points,
                                     std::span<const double> phaseFromOrigin) {
  const auto first = FitConic(points, {phaseFromOrigin.begin(), phaseFromOrigin.end()});
  if (!first) return std::nullopt;
  return FitConic(points, UnwrappedPhase(points, first->ellipse));
}

enum Field {
  kSineOffset, kCosineOffset, kSinePercent, kCosinePercent, kSineAmplitude, kCosineAmplitude,
  kRatio, kPhase, kLevel, kFieldCount
};

std::array<double, kFieldCount> FiguresOf(const Ellipse& e, double level) {
  return {e.ox, e.oy, 100 * e.ox / e.a, 100 * e.oy / e.b, 2 * e.a, 2 * e.b, 100 * e.b / e.a,
          e.phi * 180 / kPi, level};
}

// A stretch whose figures are taken.
struct Accepted {
  std::span<const SignalPoint> points;
  StretchFit fit;
  double level;
};

// The centre and shape all the stretches share, each with its own size along
// its own phase: one least-squares problem over every sample. A sample's
// error in the equation grows with its stretch's amplitude, so each row is
// weighted by one over its stretch's level to make them count alike. The first stretch's size sets the scale of the
// equation, so it alone has no constant of its own.
std::optional<Ellipse> FitCommon(const std::vector<Accepted>& stretches,
                                 std::span<const SignalPoint> all) {
  const Frame f = FrameOf(all);
  size_t rows = 0;
  double strongest = 0;
  for (const Accepted& s : stretches) rows += s.points.size(), strongest = std::max(strongest, s.level);
  const auto columns = static_cast<Eigen::Index>(4 + 3 * stretches.size());
  Eigen::MatrixXd m = Eigen::MatrixXd::Zero(static_cast<Eigen::Index>(rows), columns);
  Eigen::VectorXd rhs(m.rows());
  Eigen::Index row = 0;
  for (size_t k = 0; k < stretches.size(); ++k) {
    const Accepted& s = stretches[k];
    const std::vector<double> u = AlongStretch(s.fit.phase);
    const double weight = strongest / s.level;
    const Eigen::Index own = k == 0 ? 5 : static_cast<Eigen::Index>(4 + 3 * k);
    for (size_t i = 0; i < s.points.size(); ++i, ++row) {
      const double x = f.X(s.points[i]), y = f.Y(s.points[i]);
      m.row(row).head(5) << x * x, x * y, y * y, x, y;
      if (k > 0) m(row, own) = 1;
      m(row, own + (k > 0)) = u[i];
      m(row, own + (k > 0) + 1) = u[i] * u[i];
      m.row(row) *= weight;
      rhs[row] = weight;
    }
  }
  const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(m);
  if (qr.rank() < columns) return std::nullopt;
  const Eigen::VectorXd w = qr.solve(rhs);
  return EllipseOf(w[0], w[1], w[2], w[3], w[4], f);
}

Figure MedianAndSpread(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t half = values.size() / 2;
  const double median =
      values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
  return {median, values.front(), values.back()};
}

// The offsets, the ratio and the phase error come from the common fit, which
// uses every sample; the amplitudes, the level and the offsets in % change
// along the travel and are the stretches' medians. Each spread is the
// stretches' own.
AlignmentFigures Combined(const std::vector<Accepted>& stretches, const Ellipse& common,
                          int samples, double periods) {
  std::array<Figure, kFieldCount> f{};
  for (size_t field = 0; field < kFieldCount; ++field) {
    std::vector<double> values;
    for (const Accepted& s : stretches) values.push_back(FiguresOf(s.fit.ellipse, s.level)[field]);
    f[field] = MedianAndSpread(std::move(values));
  }
  const auto shared = FiguresOf(common, 0);
  for (const Field field : {kSineOffset, kCosineOffset, kRatio, kPhase}) {
    f[field].value = shared[field];
    f[field].min = std::min(f[field].min, shared[field]);
    f[field].max = std::max(f[field].max, shared[field]);
  }
  return {f[kSineOffset],    f[kCosineOffset],    f[kSinePercent], f[kCosinePercent],
          f[kSineAmplitude], f[kCosineAmplitude], f[kRatio],       f[kPhase],
          f[kLevel],         samples,             static_cast<int>(stretches.size()),
          periods};
}

// The stretches between the breaks, fitted, and their common ellipse.
struct Fitted {
  std::vector<Accepted> stretches;
  Ellipse common;
};

std::variant<Fitted, FitRefusal> FitBetween(std::span<const SignalPoint> points,
                                            std::span<const double> phase, const Breaks& breaks) {
  std::vector<Accepted> good;
  size_t offEllipse = 0;
  const auto stretches = Stretches(phase, breaks);
  if (stretches.empty()) return FitRefusal::NotTravelled;
  for (const auto& [begin, end] : stretches) {
    const auto stretch = points.subspan(begin, end - begin);
    const double level = MeanLevel(stretch);
    if (level < kMinFitLevelPercent) continue;
    auto fit = FitStretch(stretch, phase.subspan(begin, end - begin));
    if (!fit || !(fit->residual <= kMaxResidual)) {
      ++offEllipse;
      continue;
    }
    good.push_back({stretch, std::move(*fit), level});
  }
  if (good.empty()) return offEllipse ? FitRefusal::OffEllipse : FitRefusal::LevelTooLow;
  if (offEllipse > good.size()) return FitRefusal::OffEllipse;
  const auto common = FitCommon(good, points);
  if (!common) return FitRefusal::OffEllipse;
  return Fitted{std::move(good), *common};
}

}  // namespace

AlignmentFit FitAlignment(std::span<const SignalPoint> points) {
  if (points.size() < static_cast<size_t>(kMinFitSamples)) return FitRefusal::TooFewSamples;
  // Too weak a signal has no phase to follow: noise around the origin would
  // seem to travel.
  if (MeanLevel(points) < kMinFitLevelPercent) return FitRefusal::LevelTooLow;
  const std::vector<double> phase = UnwrappedPhase(points, kAroundOrigin);
  Breaks breaks = Gaps(phase);
  const double periods = Travel(phase, breaks);
  if (periods < kMinTravelPeriods) return FitRefusal::NotTravelled;
  auto fitted = FitBetween(points, phase, breaks);
  if (const auto* f = std::get_if<Fitted>(&fitted); f && MarkLevelJumps(points, f->common, breaks))
    fitted = FitBetween(points, phase, breaks);
  if (const auto* refusal = std::get_if<FitRefusal>(&fitted)) return *refusal;
  const Fitted& f = std::get<Fitted>(fitted);
  return Combined(f.stretches, f.common, static_cast<int>(points.size()), periods);
}

}  // namespace measure
