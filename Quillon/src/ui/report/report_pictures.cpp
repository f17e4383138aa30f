#include "report_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

#include "measure/signal_level.h"

namespace quillon {
namespace {

constexpr int kSide = 600;
constexpr int kMargin = 40;
const QColor kSamples(40, 70, 160);
const QColor kFitted(210, 30, 30);
const QColor kGrid(200, 200, 200);

QImage Blank(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QPainterPath EllipsePath(const measure::AlignmentFigures& f, const std::function<QPointF(double, double)>& at) {
  const double a = f.sineAmplitude.value / 2, b = a * f.amplitudeRatio.value / 100;
  const double phi = f.phaseError.value * std::numbers::pi / 180;
  QPainterPath path;
  for (int i = 0; i <= 360; ++i) {
    const double t = i * std::numbers::pi / 180;
    const QPointF p = at(f.sineOffset.value + a * std::sin(t), f.cosineOffset.value + b * std::cos(t + phi));
    i == 0 ? path.moveTo(p) : path.lineTo(p);
  }
  return path;
}

}  // namespace

QImage LissajousPicture(const std::vector<measure::SignalPoint>& samples,
                        const measure::AlignmentFit& fit) {
  if (samples.empty()) return {};
  double reach = 0.05;
  for (const auto& p : samples) reach = std::max({reach, std::fabs(p.sine), std::fabs(p.cosine)});
  reach *= 1.1;
  const double scale = (kSide / 2.0 - kMargin) / reach;
  const auto at = [&](double sine, double cosine) {
    return QPointF(kSide / 2.0 + sine * scale, kSide / 2.0 - cosine * scale);
  };
  QImage image = Blank(kSide, kSide);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(kGrid);
  painter.drawLine(kMargin, kSide / 2, kSide - kMargin, kSide / 2);
  painter.drawLine(kSide / 2, kMargin, kSide / 2, kSide - kMargin);
  painter.setPen(Qt::black);
  painter.drawText(QRect(0, kSide - kMargin + 8, kSide, 24), Qt::AlignCenter,
                   QStringLiteral("sine across, cosine up, ± %1 V").arg(reach, 0, 'f', 2));
  painter.setPen(QPen(kSamples, 2));
  for (const auto& p : samples) painter.drawPoint(at(p.sine, p.cosine));
  if (const auto* figures = std::get_if<measure::AlignmentFigures>(&fit)) {
    painter.setPen(QPen(kFitted, 2));
    painter.drawPath(EllipsePath(*figures, at));
  }
  return image;
}

QImage StrengthPicture(const std::vector<std::pair<int32_t, double>>& sweep) {
  if (sweep.empty()) return {};
  const auto extremes = std::minmax_element(sweep.begin(), sweep.end());
  const auto lo = extremes.first, hi = extremes.second;
  if (lo->first == hi->first) return {};
  const int width = 2 * kSide, height = kSide / 2;
  const double top = 120;  // %
  const auto at = [&](double position, double level) {
    return QPointF(kMargin + (position - lo->first) / (hi->first - lo->first) * (width - 2 * kMargin),
                   height - kMargin - std::min(level, top) / top * (height - 2 * kMargin));
  };
  QImage image = Blank(width, height);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  for (const auto band : {measure::LevelBand::Marginal, measure::LevelBand::Good,
                          measure::LevelBand::OverSignal}) {
    const double floor = measure::BandFloorPercent(band);
    painter.setPen(kGrid);
    painter.drawLine(at(lo->first, floor), at(hi->first, floor));
    painter.setPen(Qt::darkGray);
    painter.drawText(at(lo->first, floor) + QPointF(4, -4),
                     QStringLiteral("%1 above %2 %").arg(QString::fromLatin1(measure::BandName(band))).arg(floor, 0, 'f', 1));
  }
  painter.setPen(Qt::black);
  painter.drawText(QRect(0, height - kMargin + 8, width, 24), Qt::AlignCenter,
                   QStringLiteral("position %1 to %2 counts; signal level in %").arg(lo->first).arg(hi->first));
  painter.setPen(QPen(kSamples, 3));
  for (const auto& [position, level] : sweep) painter.drawPoint(at(position, level));
  return image;
}

}  // namespace quillon
