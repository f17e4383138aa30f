#include "logo_drawing.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <numbers>

namespace {

constexpr QSizeF kDesign(160, 64);
constexpr QPointF kDiscCentre(31, 32);
constexpr double kPi = std::numbers::pi;

// The grating: radial lines lit from the upper left, so the ring reads as
// metal rather than as a flat pattern.
void DrawGratingRing(QPainter& p) {
  constexpr int kLines = 40;
  for (int i = 0; i < kLines; ++i) {
    const double angle = 2 * kPi * i / kLines;
    const double light = 0.5 + 0.5 * std::cos(angle - 3 * kPi / 4);
    const int grey = static_cast<int>(95 + 150 * light);
    p.setPen(QPen(QColor(grey, grey, grey), 1.7, Qt::SolidLine, Qt::FlatCap));
    const QPointF direction(std::cos(angle), -std::sin(angle));
    p.drawLine(kDiscCentre + 21.0 * direction, kDiscCentre + 28.0 * direction);
  }
}

void DrawRedHub(QPainter& p) {
  QRadialGradient shade(kDiscCentre + QPointF(-5, -6), 22, kDiscCentre + QPointF(-6, -7));
  shade.setColorAt(0.0, QColor(255, 120, 105));
  shade.setColorAt(0.45, QColor(220, 20, 20));
  shade.setColorAt(1.0, QColor(95, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(shade);
  p.drawEllipse(kDiscCentre, 17.5, 17.5);
}

// One period of the encoder's sine across the hub.
void DrawSineTrace(QPainter& p) {
  QPainterPath trace;
  constexpr double kHalfWidth = 12.5;
  for (int i = 0; i <= 50; ++i) {
    const double t = -1.0 + 2.0 * i / 50;
    const QPointF point = kDiscCentre + QPointF(kHalfWidth * t, -6.0 * std::sin(kPi * t));
    if (i == 0) {
      trace.moveTo(point);
    } else {
      trace.lineTo(point);
    }
  }
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(255, 235, 225), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(trace);
}

void DrawWord(QPainter& p) {
  QFont font("Liberation Sans");
  font.setPixelSize(25);
  font.setBold(true);
  QPainterPath word;
  word.addText(QPointF(64, 35), font, "Veritrak");
  QLinearGradient shade(0, 16, 0, 36);
  shade.setColorAt(0.0, QColor(255, 85, 70));
  shade.setColorAt(1.0, QColor(205, 0, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(shade);
  p.drawPath(word);
}

// A linear scale under the word, with a red read-head riding on it.
void DrawScale(QPainter& p) {
  constexpr double kLeft = 65, kRight = 155, kBase = 50;
  p.setPen(QPen(QColor(150, 150, 150), 1.0, Qt::SolidLine, Qt::FlatCap));
  p.drawLine(QPointF(kLeft, kBase + 0.5), QPointF(kRight, kBase + 0.5));
  for (int i = 0; kLeft + 3.0 * i <= kRight; ++i) {
    const double x = kLeft + 3.0 * i + 0.5;
    const double height = i % 5 == 0 ? 6.0 : 3.0;
    p.drawLine(QPointF(x, kBase), QPointF(x, kBase - height));
  }
  QPainterPath head;
  head.moveTo(121, 41);
  head.lineTo(131, 41);
  head.lineTo(126, 46.5);
  head.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(230, 20, 20));
  p.drawPath(head);
}

}  // namespace

QImage DrawLogo(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter p(&image);
  p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  p.scale(size.width() / kDesign.width(), size.height() / kDesign.height());
  DrawGratingRing(p);
  DrawRedHub(p);
  DrawSineTrace(p);
  DrawWord(p);
  DrawScale(p);
  return image;
}
