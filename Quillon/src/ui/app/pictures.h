// The main window's pictures, stored as JPEG resources (drawn by
// tools/make-pictures) and decoded with libjpeg.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace quillon {

// The picture called `name`: "Logo" (160 x 64), "Logo800" (80 x 32),
// "SignalBar" (38 x 304), the band strips "GreenBand", "DarkGreenBand",
// "YellowBand", "RedBand" (18 wide, as high as their zone) and
// "StrengthPointer". A null image for an unknown name.
QImage Picture(const QString& name);

// Decodes JPEG bytes into an RGB image; a null image when the bytes are not
// a complete, undamaged JPEG.
QImage DecodeJpeg(QByteArrayView bytes);

}  // namespace quillon
