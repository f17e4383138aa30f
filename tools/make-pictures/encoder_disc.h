#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>
#include <vector>

// The grating disc of the logo: a ring of radial lines lit from the upper
// left, a red hub and one period of a sine across it, 28 units in radius.
// Kept as shapes rather than drawn at once, so that the raster pictures and
// the scalable icon are one drawing.
struct EncoderDisc {
  struct Line {
    QPointF from;
    QPointF to;
    QColor colour;
  };
  double lineWidth = 0;
  std::vector<Line> grating;
  QPointF hubCentre;
  double hubRadius = 0;
  QRadialGradient hubShade;
  QPolygonF trace;
  QColor traceColour;
  double traceWidth = 0;
};

EncoderDisc MakeEncoderDisc(QPointF centre);

void DrawEncoderDisc(QPainter& p, const EncoderDisc& disc);

// The same shapes as SVG elements, in the same units; `id` names the hub's
// gradient.
QString EncoderDiscSvg(const EncoderDisc& disc, const QString& id);
