#pragma once

#include <QImage>
#include <QString>

// The program's icon: the logo's grating disc on a round black plate, as the
// logo shows it on the window's black, so that it reads on light and dark
// desktops alike. Drawn in a 64-unit box.

// `size` x `size` pixels, transparent around the plate.
QImage DrawIcon(int size);

// The same drawing as an SVG document.
QString IconSvg();
