#include "plot_drawing.h"

#include <cmath>
#include <limits>
#include <vector>

#include "number_format.h"
#include "signal_words.h"

namespace quillon::plot {
namespace {

constexpr double kCordicGain = 6742.016;  // 4096 times the vector unit's gain
constexpr double kTwoPi = 2 * 3.14159;
constexpr double kPercentPerCount = 0.1953125;  // 100 / 512

QPen PointPen(const QColor& colour) { return QPen(colour, 2, Qt::DotLine); }

void DrawDot(QPainter& painter, QPoint p) { painter.drawLine(p, p + QPoint(1, 1)); }

// A float mapped to pixels, or nothing when the mapping breaks down.
std::optional<int> Pixel(double value) {
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<int>::max() / 2)
    return std::nullopt;
  return static_cast<int>(value);
}

std::optional<int> TimeX(double t, double start, double span, int width) {
  if (span == 0) return std::nullopt;
  return Pixel(std::floor((t - start) * width / span));
}

// Equal limits are taken as a tenth apart, so the mapping stays defined.
std::optional<int> ValueY(double value, double lowest, double highest, int height) {
  if (highest == lowest) highest = lowest + 0.1;
  return Pixel(height - height / (highest - lowest) * (value - lowest));
}

bool Within(double value, double lowest, double highest) {
  return lowest <= value && value <= highest;
}

void DrawTraceLine(QPainter& painter, const QColor& colour, std::optional<int> x1,
                   std::optional<int> y1, std::optional<int> x2, std::optional<int> y2) {
  if (!x1 || !y1 || !x2 || !y2) return;
  painter.setPen(QPen(colour, 1, Qt::SolidLine));
  painter.drawLine(*x1, *y1, *x2, *y2);
}

bool ShowsFirst(int plotType) { return plotType == FirstOnly || plotType == Both; }
bool ShowsSecond(int plotType) { return plotType == SecondOnly || plotType == Both; }

template <class Format>
std::array<QString, 5> Spread(double lowest, double highest, Format format) {
  const double step = highest - lowest;
  return {format(highest), format(lowest + 0.75 * step), format(lowest + 0.5 * step),
          format(lowest + 0.25 * step), format(lowest)};
}

double DisplayPosition(int32_t counts, Units units) {
  return std::floor(counts * units.positionScale) * units.countLength;
}

}  // namespace

LissajousPoints MapLissajous(const SignalSample& sample, int width) {
  const int centre = width / 2;
  const double angle = UnsignedSignal(sample.angle) / 4096.0 * kTwoPi;
  const double radius = UnsignedSignal(sample.magnitude) / kCordicGain * kFullScaleVolts;
  return {{static_cast<int>(std::floor(width * SignalVolts(sample.x))) + centre,
           static_cast<int>(std::floor(width * SignalVolts(sample.y))) + centre},
          {static_cast<int>(std::floor(width * radius * std::cos(angle))) + centre,
           static_cast<int>(std::floor(width * radius * std::sin(angle))) + centre}};
}

void DrawLissajousSample(QPainter& painter, const SignalSample& sample, int width, int plotType,
                         bool erase) {
  const LissajousPoints points = MapLissajous(sample, width);
  if (erase || ShowsFirst(plotType)) {
    painter.setPen(PointPen(erase ? kBackground : kRaw));
    DrawDot(painter, points.raw);
  }
  if (erase || ShowsSecond(plotType)) {
    painter.setPen(PointPen(erase ? kBackground : kProcessed));
    DrawDot(painter, points.processed);
  }
  painter.setPen(QPen(kBackground, 1));
}

double StrengthLevel(int32_t xWord, int32_t yWord) {
  const double x = SignedSignal(static_cast<uint16_t>(xWord));
  const double y = SignedSignal(static_cast<uint16_t>(yWord));
  return std::min(100.0, std::sqrt(x * x + y * y) * 0.25 * kFullScaleVolts * kPercentPerCount);
}

int StrengthHeight(int32_t xWord, int32_t yWord, int height) {
  return static_cast<int>(std::floor(height * StrengthLevel(xWord, yWord) * 0.01));
}

int StrengthX(int32_t position, int32_t minimum, int32_t maximum, int width) {
  const double range = maximum == minimum ? 1.0 : double(maximum) - minimum;
  return Pixel((double(position) - minimum) / range * width).value_or(-1);
}

void DrawStrengthReferenceLines(QPainter& painter, int layoutMode) {
  struct Lines {
    int top, bottom, right;
  };
  static constexpr Lines kLines[] = {{20, 230, 400}, {25, 287, 500}, {33, 357, 640}};
  const Lines& lines = kLines[std::clamp(layoutMode, 0, 2)];
  painter.setPen(QPen(kGreen, 2, Qt::SolidLine));
  painter.drawLine(0, lines.top, lines.right, lines.top);
  painter.drawLine(0, lines.bottom, lines.right, lines.bottom);
  painter.setPen(QPen(kBackground, 1));
}

void DrawStrengthMark(QPainter& painter, int x, int pointHeight, int height) {
  painter.setPen(PointPen(kLime));
  painter.drawLine(x, height - pointHeight, x + 1, height - pointHeight - 1);
  painter.setPen(QPen(kBackground, 1));
}

void DrawTraceSegment(QPainter& painter, const TraceSegment& s, Size size, int plotType) {
  const AxisLimits& l = s.limits;
  const auto x1 = TimeX(s.timeBefore, s.windowStart, s.windowSpan, size.width);
  const auto x2 = TimeX(s.timeNow, s.windowStart, s.windowSpan, size.width);
  const auto positionY = [&](double p) {
    return ValueY(p, l.positionMin, l.positionMax, size.height);
  };
  const auto velocityY = [&](double v) {
    return ValueY(v, l.velocityMin, l.velocityMax, size.height);
  };
  if (ShowsFirst(plotType) &&
      (!s.manualScale || Within(s.positionNow, l.positionMin, l.positionMax)))
    DrawTraceLine(painter, kLime, x1, positionY(s.positionBefore), x2, positionY(s.positionNow));
  if (ShowsSecond(plotType) &&
      (!s.manualScale || Within(s.velocityNow, l.velocityMin, l.velocityMax)))
    DrawTraceLine(painter, kRaw, x1, velocityY(s.velocityBefore), x2, velocityY(s.velocityNow));
  painter.setPen(QPen(kBackground, 1));
}

void ReplotTrace(QPainter& painter, const int32_t* positions, const float* velocities,
                 const float* times, int32_t n, float windowStart, float windowSpan,
                 const AxisLimits& limits, Size size, int plotType) {
  if (n < 1) return;
  std::vector<int> xs(n + 1, 0);
  for (int32_t i = 1; i <= n; ++i) {
    const auto x = TimeX(times[i], windowStart, windowSpan, size.width);
    if (!x) return;
    xs[i] = *x;
  }
  const auto polyline = [&](const QColor& colour, auto valueAt, double lowest, double highest) {
    QPolygon line(n + 1);
    for (int32_t i = 0; i <= n; ++i) {
      const auto y = ValueY(valueAt(i), lowest, highest, size.height);
      if (!y) return;
      line[i] = QPoint(xs[i], *y);
    }
    painter.setPen(QPen(colour, 1, Qt::SolidLine));
    painter.drawPolyline(line);
  };
  // The line starts at the left edge: at the first position, and at the
  // velocity store's unused entry 0.
  if (ShowsFirst(plotType))
    polyline(kLime, [&](int32_t i) { return double(positions[i == 0 ? 1 : i]); },
             limits.positionMin, limits.positionMax);
  if (ShowsSecond(plotType))
    polyline(kRaw, [&](int32_t i) { return double(velocities[i]); }, limits.velocityMin,
             limits.velocityMax);
  painter.setPen(QPen(kBackground, 1));
}

std::array<QString, 5> StrengthXLabels(int32_t minimum, int32_t maximum, Units units) {
  return Spread(DisplayPosition(minimum, units), DisplayPosition(maximum, units),
                [](double v) { return FormatGeneral(v, 7, 3); });
}

std::array<QString, 5> TimeLabels(float start, float end) {
  return Spread(start, end, [](double v) { return FormatFixed(v, 9, 1); });
}

std::array<QString, 5> PositionLabels(int32_t minimum, int32_t maximum, Units units) {
  return Spread(DisplayPosition(minimum, units), DisplayPosition(maximum, units),
                [](double v) { return FormatFixed(v, 8, 3); });
}

std::array<QString, 5> VelocityLabels(float minimum, float maximum, Units units) {
  const double scale = units.positionScale * units.countLength;
  return Spread(minimum * scale, maximum * scale, [](double v) { return FormatFixed(v, 4, 2); });
}

QString TimeText(float seconds) { return FormatFixed(seconds, 6, 1); }

}  // namespace quillon::plot
