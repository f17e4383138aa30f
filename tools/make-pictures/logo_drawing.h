#pragma once

#include <QImage>
#include <QSize>

// The title-block logo on the window's black: a grating disc with a sine
// trace, and the word "Veritrak" over a scale. Drawn as vectors in a 160 x 64
// design box and scaled to `size`, so the small variant stays crisp.
QImage DrawLogo(QSize size);
