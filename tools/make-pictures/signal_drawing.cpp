#include "signal_drawing.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kBarWidth = 38;
constexpr int kBarHeight = 304;
constexpr int kGreenRows = 184;
constexpr int kYellowRows = 46;

QColor BarColour(int row) {
  if (row < kGreenRows) return QColor(20, 215, 35);
  if (row < kGreenRows + kYellowRows) return QColor(250, 215, 0);
  return QColor(230, 25, 20);
}

int Channel(double value) { return std::clamp(static_cast<int>(std::lround(value)), 0, 255); }

// `base` scaled by `light`, plus white for the highlight.
QColor Lit(QColor base, double light, double white) {
  return QColor(Channel(base.red() * light + 255 * white),
                Channel(base.green() * light + 255 * white),
                Channel(base.blue() * light + 255 * white));
}

// Diffuse and specular light on a vertical cylinder at column `x`, with the
// light from the front left.
struct CylinderLight {
  double diffuse, specular;
};

CylinderLight LightAtColumn(int x) {
  const double nx = (x + 0.5) / kBarWidth * 2 - 1;
  const double nz = std::sqrt(std::max(0.0, 1 - nx * nx));
  const double lx = -0.42, lz = std::sqrt(1 - lx * lx);
  const double hx = lx, hz = lz + 1, hLength = std::hypot(hx, hz);
  const double diffuse = std::max(0.0, nx * lx + nz * lz);
  const double specular = std::pow(std::max(0.0, (nx * hx + nz * hz) / hLength), 40);
  return {0.16 + 0.84 * diffuse, 0.55 * specular};
}

double Smoothstep(double edge, double value) {
  const double t = std::clamp(value / edge, 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

}  // namespace

QImage DrawSignalBar() {
  QImage image(kBarWidth, kBarHeight, QImage::Format_RGB32);
  for (int x = 0; x < kBarWidth; ++x) {
    const CylinderLight light = LightAtColumn(x);
    for (int y = 0; y < kBarHeight; ++y) {
      image.setPixelColor(x, y, Lit(BarColour(y), light.diffuse, light.specular));
    }
  }
  return image;
}

QImage DrawBand(QColor colour, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  const double sigma = width * 0.3;
  // Only a bright colour burns white in the middle; a dark one stays dark.
  const double hotCore = 0.5 * colour.valueF() * colour.valueF();
  for (int x = 0; x < width; ++x) {
    const double offset = (x + 0.5 - width / 2.0) / sigma;
    const double across = std::exp(-offset * offset);
    for (int y = 0; y < height; ++y) {
      const double along = Smoothstep(5.0, std::min(y + 0.5, height - y - 0.5));
      const double glow = across * along;
      image.setPixelColor(x, y, Lit(colour, glow, hotCore * std::pow(glow, 5)));
    }
  }
  return image;
}

QImage DrawStrengthPointer() {
  QImage image(24, 16, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient shade(0, 2, 0, 14);
  shade.setColorAt(0.0, QColor(255, 255, 255));
  shade.setColorAt(1.0, QColor(120, 120, 125));
  p.setPen(QPen(QColor(70, 70, 75), 1.0));
  p.setBrush(shade);
  p.drawPolygon(QPolygonF({QPointF(2.5, 2.5), QPointF(21.5, 8), QPointF(2.5, 13.5)}));
  return image;
}
