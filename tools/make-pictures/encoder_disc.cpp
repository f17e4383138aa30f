#include "encoder_disc.h"

#include <QGradientStop>
#include <QPainterPath>
#include <QPen>
#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kGratingLines = 40;

QString Number(double value) { return QString::number(value, 'g', 6); }

QString SvgColour(const QColor& colour) { return colour.name(QColor::HexRgb); }

}  // namespace

EncoderDisc MakeEncoderDisc(QPointF centre) {
  EncoderDisc disc;
  disc.lineWidth = 1.7;
  for (int i = 0; i < kGratingLines; ++i) {
    const double angle = 2 * kPi * i / kGratingLines;
    const double light = 0.5 + 0.5 * std::cos(angle - 3 * kPi / 4);
    const int grey = static_cast<int>(95 + 150 * light);
    const QPointF direction(std::cos(angle), -std::sin(angle));
    disc.grating.push_back(
        {centre + 21.0 * direction, centre + 28.0 * direction, QColor(grey, grey, grey)});
  }

  disc.hubCentre = centre;
  disc.hubRadius = 17.5;
  disc.hubShade = QRadialGradient(centre + QPointF(-5, -6), 22, centre + QPointF(-6, -7));
  disc.hubShade.setColorAt(0.0, QColor(255, 120, 105));
  disc.hubShade.setColorAt(0.45, QColor(220, 20, 20));
  disc.hubShade.setColorAt(1.0, QColor(95, 0, 0));

  constexpr double kHalfWidth = 12.5;
  for (int i = 0; i <= 50; ++i) {
    const double t = -1.0 + 2.0 * i / 50;
    disc.trace << centre + QPointF(kHalfWidth * t, -6.0 * std::sin(kPi * t));
  }
  disc.traceColour = QColor(255, 235, 225);
  disc.traceWidth = 2.2;
  return disc;
}

void DrawEncoderDisc(QPainter& p, const EncoderDisc& disc) {
  for (const auto& line : disc.grating) {
    p.setPen(QPen(line.colour, disc.lineWidth, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(line.from, line.to);
  }

  p.setPen(Qt::NoPen);
  p.setBrush(disc.hubShade);
  p.drawEllipse(disc.hubCentre, disc.hubRadius, disc.hubRadius);

  QPainterPath trace;
  trace.addPolygon(disc.trace);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(disc.traceColour, disc.traceWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(trace);
}

QString EncoderDiscSvg(const EncoderDisc& disc, const QString& id) {
  QString svg;
  svg += QStringLiteral("<g stroke-width=\"%1\" stroke-linecap=\"butt\">\n").arg(Number(disc.lineWidth));
  for (const auto& line : disc.grating) {
    svg += QStringLiteral("  <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"%5\"/>\n")
               .arg(Number(line.from.x()), Number(line.from.y()), Number(line.to.x()),
                    Number(line.to.y()), SvgColour(line.colour));
  }
  svg += QStringLiteral("</g>\n");

  const QRadialGradient& shade = disc.hubShade;
  svg += QStringLiteral(
             "<defs>\n  <radialGradient id=\"%1\" gradientUnits=\"userSpaceOnUse\" cx=\"%2\" "
             "cy=\"%3\" r=\"%4\" fx=\"%5\" fy=\"%6\">\n")
             .arg(id, Number(shade.center().x()), Number(shade.center().y()),
                  Number(shade.radius()), Number(shade.focalPoint().x()),
                  Number(shade.focalPoint().y()));
  for (const QGradientStop& stop : shade.stops()) {
    svg += QStringLiteral("    <stop offset=\"%1\" stop-color=\"%2\"/>\n")
               .arg(Number(stop.first), SvgColour(stop.second));
  }
  svg += QStringLiteral("  </radialGradient>\n</defs>\n");
  svg += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"url(#%4)\"/>\n")
             .arg(Number(disc.hubCentre.x()), Number(disc.hubCentre.y()),
                  Number(disc.hubRadius), id);

  QString points;
  for (const QPointF& point : disc.trace) {
    if (!points.isEmpty()) points += QLatin1Char(' ');
    points += Number(point.x()) + QLatin1Char(',') + Number(point.y());
  }
  svg += QStringLiteral(
             "<polyline points=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"%3\" "
             "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
             .arg(points, SvgColour(disc.traceColour), Number(disc.traceWidth));
  return svg;
}
