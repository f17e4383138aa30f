// A drawing of opaque, aliased lines that is laid over an image again and
// again, such as a plot's grid after each batch of points. Such a drawing
// sets each of its pixels to its colour whatever lies beneath, so it is
// drawn once on blank images to find those pixels, and they are then set
// directly: the same pixels as drawing it anew, for a fraction of the cost.
#pragma once

#include <QImage>
#include <QPainter>
#include <array>
#include <functional>
#include <utility>
#include <vector>

namespace quillon {

class PixelStamp {
 public:
  using Drawing = std::function<void(QPainter&)>;
  // What the drawing depends on besides the image's size: a new key draws
  // it anew to find its pixels.
  using Key = std::array<double, 5>;

  void Apply(QImage& image, const Key& key, const Drawing& draw);

 private:
  void Learn(const QImage& image, const Drawing& draw);

  Key key_{};
  QSize size_;
  QImage::Format format_ = QImage::Format_Invalid;
  std::vector<std::pair<qsizetype, QRgb>> pixels_;  // offset in pixels, colour
};

}  // namespace quillon
