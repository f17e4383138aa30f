#include "icon_drawing.h"

#include <QPainter>
#include <QPen>

#include "encoder_disc.h"

namespace {

constexpr double kDesign = 64;
constexpr QPointF kCentre(32, 32);
constexpr double kPlateRadius = 30.5;
constexpr double kRimWidth = 1.5;
const QColor kRim(85, 85, 85);

}  // namespace

QImage DrawIcon(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHints(QPainter::Antialiasing);
  p.scale(size / kDesign, size / kDesign);
  p.setPen(QPen(kRim, kRimWidth));
  p.setBrush(Qt::black);
  p.drawEllipse(kCentre, kPlateRadius, kPlateRadius);
  DrawEncoderDisc(p, MakeEncoderDisc(kCentre));
  return image;
}

QString IconSvg() {
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
             "viewBox=\"0 0 %1 %1\">\n"
             "<circle cx=\"%2\" cy=\"%3\" r=\"%4\" fill=\"#000000\" stroke=\"%5\" "
             "stroke-width=\"%6\"/>\n")
             .arg(kDesign)
             .arg(kCentre.x())
             .arg(kCentre.y())
             .arg(kPlateRadius)
             .arg(kRim.name(QColor::HexRgb))
             .arg(kRimWidth) +
         EncoderDiscSvg(MakeEncoderDisc(kCentre), QStringLiteral("hub")) +
         QStringLiteral("</svg>\n");
}
