#pragma once

#include <QImage>
#include <QString>

// Writes `image` as a baseline JPEG without chroma subsampling: thin red
// strokes on black bleed visibly when colour is stored at half resolution.
bool WriteJpeg(const QImage& image, const QString& path, int quality);
