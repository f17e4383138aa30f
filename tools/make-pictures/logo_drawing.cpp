#include "logo_drawing.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "encoder_disc.h"

namespace {

constexpr QSizeF kDesign(160, 64);
constexpr QPointF kDiscCentre(31, 32);

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
  DrawEncoderDisc(p, MakeEncoderDisc(kDiscCentre));
  DrawWord(p);
  DrawScale(p);
  return image;
}
