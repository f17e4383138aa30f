#include "alignment_fit.h"

#include <Eigen/Dense>
#include <array>
#include <cmath>
#include <numbers>

namespace quillon {
namespace {

// A signal of 0.5 V amplitude is the full 100 % of the strength plot.
constexpr double kFullLevelVolts = 0.5;
// The samples must be spread round the ellipse: of twelve sectors of its
// phase, at least ten hold samples (300 degrees).
constexpr int kSectors = 12;
constexpr int kCoveredSectors = 10;

// The conic A x² + B xy + C y² + D x + E y = 1 through the points, in
// coordinates centred on their mean and scaled to unit spread, which keeps
// the least-squares problem well conditioned.
struct Conic {
  double a, b, c, d, e;
};

struct Frame {
  double meanX, meanY, scale;
};

Frame FrameOf(std::span<const SignalPoint> points) {
  double sx = 0, sy = 0;
  for (const SignalPoint& p : points) sx += p.sine, sy += p.cosine;
  const double n = static_cast<double>(points.size());
  Frame f{sx / n, sy / n, 0};
  double spread = 0;
  for (const SignalPoint& p : points)
    spread += std::pow(p.sine - f.meanX, 2) + std::pow(p.cosine - f.meanY, 2);
  f.scale = std::sqrt(spread / n);
  return f;
}

std::variant<Conic, FitRefusal> FitConic(std::span<const SignalPoint> points, const Frame& f) {
  Eigen::MatrixXd m(points.size(), 5);
  for (Eigen::Index i = 0; i < m.rows(); ++i) {
    const double x = (points[i].sine - f.meanX) / f.scale;
    const double y = (points[i].cosine - f.meanY) / f.scale;
    m.row(i) << x * x, x * y, y * y, x, y;
  }
  const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(m);
  if (qr.rank() < 5) return FitRefusal::NoEllipse;
  const Eigen::VectorXd w = qr.solve(Eigen::VectorXd::Ones(m.rows()));
  return Conic{w[0], w[1], w[2], w[3], w[4]};
}

// The ellipse x = p + a sin t, y = q + b cos(t + phi), in the fit's frame.
struct Ellipse {
  double p, q, a, b, phi;
};

std::variant<Ellipse, FitRefusal> EllipseOf(const Conic& k) {
  const double det = 4 * k.a * k.c - k.b * k.b;
  if (!(det > 0)) return FitRefusal::NoEllipse;
  const double p = (k.b * k.e - 2 * k.c * k.d) / det;
  const double q = (k.b * k.d - 2 * k.a * k.e) / det;
  const double level = 1 - (k.a * p * p + k.b * p * q + k.c * q * q + k.d * p + k.e * q);
  const double a = k.a / level, b = k.b / level, c = k.c / level;
  if (!(a > 0 && c > 0)) return FitRefusal::NoEllipse;
  // a x² + b xy + c y² = 1 about the centre is x²/A² + 2 sin(phi) xy/(A B)
  // + y²/B² = cos²(phi) for the axes A, B and the phase error phi.
  const double sinPhi = b / (2 * std::sqrt(a * c));
  if (!(std::fabs(sinPhi) < 1)) return FitRefusal::NoEllipse;
  const double cosPhi = std::sqrt(1 - sinPhi * sinPhi);
  return Ellipse{p, q, 1 / (std::sqrt(a) * cosPhi), 1 / (std::sqrt(c) * cosPhi),
                 std::asin(sinPhi)};
}

// The phase t of each point on the ellipse, in sectors.
bool CoversTheCircle(std::span<const SignalPoint> points, const Frame& f, const Ellipse& e) {
  std::array<bool, kSectors> seen{};
  for (const SignalPoint& point : points) {
    const double s = ((point.sine - f.meanX) / f.scale - e.p) / e.a;
    const double y = ((point.cosine - f.meanY) / f.scale - e.q) / e.b;
    const double c = (y + s * std::sin(e.phi)) / std::cos(e.phi);
    const double t = std::atan2(s, c) + std::numbers::pi;  // 0 to 2 pi
    seen[static_cast<size_t>(t / (2 * std::numbers::pi) * kSectors) % kSectors] = true;
  }
  int covered = 0;
  for (bool sector : seen) covered += sector;
  return covered >= kCoveredSectors;
}

AlignmentFigures FiguresOf(const Frame& f, const Ellipse& e) {
  AlignmentFigures r{};
  const double a = e.a * f.scale, b = e.b * f.scale;
  r.sineOffset = f.meanX + e.p * f.scale;
  r.cosineOffset = f.meanY + e.q * f.scale;
  r.sineOffsetPercent = 100 * r.sineOffset / a;
  r.cosineOffsetPercent = 100 * r.cosineOffset / b;
  r.sineAmplitude = 2 * a;
  r.cosineAmplitude = 2 * b;
  r.amplitudeRatio = 100 * b / a;
  r.phaseError = e.phi * 180 / std::numbers::pi;
  r.signalLevel = 100 * (a + b) / 2 / kFullLevelVolts;
  return r;
}

}  // namespace

AlignmentFit FitAlignment(std::span<const SignalPoint> points) {
  if (points.size() < static_cast<size_t>(kMinFitSamples)) return FitRefusal::TooFewSamples;
  const Frame frame = FrameOf(points);
  if (!(frame.scale > 0)) return FitRefusal::NoEllipse;
  const auto conic = FitConic(points, frame);
  if (const auto* refusal = std::get_if<FitRefusal>(&conic)) return *refusal;
  const auto ellipse = EllipseOf(std::get<Conic>(conic));
  if (const auto* refusal = std::get_if<FitRefusal>(&ellipse)) return *refusal;
  const Ellipse& e = std::get<Ellipse>(ellipse);
  if (!CoversTheCircle(points, frame, e)) return FitRefusal::TooClustered;
  return FiguresOf(frame, e);
}

}  // namespace quillon
