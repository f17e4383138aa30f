#pragma once

#include <QColor>
#include <QImage>

// The signal level panel's pictures.

// 38 x 304: a lit cylinder, green over the upper 184 rows, yellow over the
// next 46, red over the lowest 74.
QImage DrawSignalBar();

// A strip glowing in `colour`, brightest along its middle, fading out at its
// sides and ends.
QImage DrawBand(QColor colour, int width, int height);

// A small light pointer aiming right, at the bar.
QImage DrawStrengthPointer();
