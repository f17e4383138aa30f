#include "pixel_stamp.h"

namespace quillon {
namespace {

QImage DrawnOn(const QImage& like, const QColor& background, const PixelStamp::Drawing& draw) {
  QImage image(like.size(), like.format());
  image.fill(background);
  QPainter painter(&image);
  draw(painter);
  return image;
}

}  // namespace

void PixelStamp::Apply(QImage& image, const Key& key, const Drawing& draw) {
  if (image.depth() != 32) {
    QPainter painter(&image);
    draw(painter);
    return;
  }
  if (key != key_ || image.size() != size_ || image.format() != format_) {
    Learn(image, draw);
    key_ = key, size_ = image.size(), format_ = image.format();
  }
  auto* bits = reinterpret_cast<QRgb*>(image.bits());
  for (const auto& [offset, colour] : pixels_) bits[offset] = colour;
}

// A pixel is the drawing's where it came out the same on black and on white.
void PixelStamp::Learn(const QImage& image, const Drawing& draw) {
  const QImage onBlack = DrawnOn(image, Qt::black, draw);
  const QImage onWhite = DrawnOn(image, Qt::white, draw);
  const qsizetype stride = image.bytesPerLine() / qsizetype(sizeof(QRgb));
  pixels_.clear();
  for (int y = 0; y < image.height(); ++y) {
    const auto* black = reinterpret_cast<const QRgb*>(onBlack.constScanLine(y));
    const auto* white = reinterpret_cast<const QRgb*>(onWhite.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (black[x] == white[x]) pixels_.emplace_back(y * stride + x, black[x]);
  }
}

}  // namespace quillon
