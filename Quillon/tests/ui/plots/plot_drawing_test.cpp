// The plot drawing: sample values map to pixels as the plots' axes say, at
// the corners, the centre, negative values, the limits and just beyond them;
// erasing leaves black; degenerate limits never break the mapping.
#include "plot_drawing.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "pixel_stamp.h"

namespace quillon::plot {

// The plot's width and height; the image reaches a margin round the plot, to
// see just beyond it.
constexpr int kSide = 400, kMargin = 20, kImage = kSide + 2 * kMargin;

// A 12-bit value in bits 4 to 15 of a word.
uint16_t Word(int value) { return static_cast<uint16_t>((value & 0xFFF) << 4); }

// Raw x and y, magnitude and angle words; the two points they map to.
TEST(PlotMapping, LissajousPointsCentreOnThePlotAndFloorTheirOffsets) {
  // clang-format off
  const std::tuple<int, int, int, int, QPoint, QPoint> cases[] = {
      {0, 0, 0, 0, {200, 200}, {200, 200}}, {1024, -512, 1024, 0, {398, 101}, {320, 200}},
      {2047, 2047, 4095, 1024, {595, 595}, {200, 681}},
      {-2048, -2048, 4095, 2048, {-196, -196}, {-282, 200}},
      {-1, 1, 2048, 3072, {199, 200}, {199, -41}}, {1, -1, 4095, 512, {200, 199}, {540, 540}}};
  // clang-format on
  for (const auto& [x, y, magnitude, angle, raw, processed] : cases) {
    const LissajousPoints p = MapLissajous({Word(x), Word(y), Word(magnitude), Word(angle)}, kSide);
    EXPECT_EQ(std::pair(p.raw, p.processed), std::pair(raw, processed)) << x << ", " << angle;
  }
}

// Heights of x and y words: 100 % at an amplitude of 1034.3. Positions
// between limits across the width, truncated toward zero.
TEST(PlotMapping, StrengthHeightsClampAtFullScaleAndPositionsSpanTheLimits) {
  // clang-format off
  const int heights[][3] = {{0, 0, 0}, {256, 0, 99}, {-256, 0, 99}, {0, -256, 99}, {1034, 0, 399},
                            {1035, 0, 400}, {-1035, 0, 400}, {731, 731, 399}, {2047, -2048, 400}};
  const int xs[][4] = {{-100, -100, 300, 0}, {300, -100, 300, 400}, {100, -100, 300, 200},
                       {-101, -100, 300, -1}, {301, -100, 300, 401}, {-1, 0, 3, -133},
                       {-200, -300, -100, 200}, {50, 50, 50, 0}};
  // clang-format on
  for (const auto& [x, y, height] : heights)
    EXPECT_EQ(StrengthHeight(Word(x), Word(y), kSide), height) << x << ", " << y;
  for (const auto& [position, min, max, x] : xs)
    EXPECT_EQ(StrengthX(position, min, max, kSide), x) << position << " in " << min << ".." << max;
}

class Canvas : public ::testing::Test {
 protected:
  Canvas() : image_(kImage, kImage, QImage::Format_RGB32) { image_.fill(Qt::black); }
  // Draws with the plot's origin kMargin pixels into the image.
  template <class Draw>
  void Paint(Draw draw) {
    QPainter painter(&image_);
    painter.translate(kMargin, kMargin);
    draw(painter);
  }
  // The rectangle round the pixels of a colour, in plot coordinates.
  QRect Box(const QColor& colour) const {
    QRect box;
    for (int y = 0; y < kImage; ++y)
      for (int x = 0; x < kImage; ++x)
        if (image_.pixel(x, y) == colour.rgb()) box |= QRect(x - kMargin, y - kMargin, 1, 1);
    return box;
  }
  QImage image_;
};

// Level segments from t0 to t1 in a window of 4 s from 1 s: the position
// (lime), the velocity (red), their limits and the manual scale. A time that
// does not map skips the segment.
TEST_F(Canvas, TraceSegmentsMapTimeAcrossAndValuesUpToTheLimits) {
  const AxisLimits l{-100, 300, -10, 10};
  const auto line = [](int x1, int x2, int y) { return QRect(x1, y, x2 - x1 + 1, 1); };
  // clang-format off
  const std::tuple<int32_t, float, float, float, AxisLimits, bool, QRect, QRect> cases[] = {
      {100, 5, 2, 3, l, false, line(100, 200, 200), line(100, 200, 100)},
      {-100, 10, 1, 5, l, true, line(0, 400, 400), line(0, 400, 0)},
      {300, -10, 1, 5, l, true, line(0, 400, 0), line(0, 400, 400)},
      {301, -10.05f, 2, 3, l, false, line(100, 200, -1), line(100, 200, 401)},
      {301, -10.05f, 2, 3, l, true, QRect(), QRect()}, {100, 5, NAN, 3, l, false, QRect(), QRect()},
      {-101, 3, 2, 3, l, true, QRect(), line(100, 200, 140)},
      {100, 10.01f, 0.999f, 5.001f, l, false, line(-1, 400, 200), line(-1, 400, 0)},
      {5, 3.05f, 2, 3, {5, 5, 3, 3}, false, line(100, 200, 400), line(100, 200, 200)}};
  // clang-format on
  for (const auto& [position, velocity, t0, t1, limits, manual, lime, red] : cases) {
    image_.fill(Qt::black);
    const TraceSegment s{position, position, velocity, velocity, t1, 1, 4, t0, limits, manual};
    Paint([&](QPainter& painter) { DrawTraceSegment(painter, s, {kSide, kSide}, Both); });
    EXPECT_EQ(Box(kLime), lime) << position << (manual ? " manual" : "");
    EXPECT_EQ(Box(kRaw), red) << velocity << (manual ? " manual" : "");
  }
  // A replot starts at the left edge with the first position.
  const int32_t positions[] = {0, 50, 50};
  const float velocities[] = {0, 0, 0}, times[] = {0, 3, 5};
  image_.fill(Qt::black);
  Paint([&](QPainter& painter) {
    ReplotTrace(painter, positions, velocities, times, 2, 1, 4, {0, 100, -1, 1}, {kSide, kSide},
                FirstOnly);
  });
  EXPECT_EQ(Box(kLime), QRect(0, 200, 401, 1));
}

// The raw point in red by type 0, the processed one by type 2; erasing
// overdraws both in black. A dot is a line to the next pixel down the
// diagonal, 2 pixels wide: (398, 101) to (399, 102) for the raw point. A
// strength mark stands its height above the bottom, one pixel up the diagonal;
// the reference lines of the smallest layout span its plot.
TEST_F(Canvas, PointsShowByPlotTypeAndEraseToBlack) {
  const SignalSample sample{Word(1024), Word(-512), Word(1024), Word(0)};
  Paint([&](QPainter& painter) { DrawLissajousSample(painter, sample, kSide, FirstOnly, false); });
  EXPECT_EQ(std::pair(Box(kRaw), Box(kProcessed)), std::pair(QRect(397, 100, 3, 3), QRect()));
  Paint([&](QPainter& painter) { DrawLissajousSample(painter, sample, kSide, Both, false); });
  EXPECT_TRUE(Box(kProcessed).contains(320, 200));
  Paint([&](QPainter& painter) { DrawLissajousSample(painter, sample, kSide, SecondOnly, true); });
  EXPECT_TRUE(Box(kRaw).isNull() && Box(kProcessed).isNull());
  Paint([&](QPainter& painter) { DrawStrengthMark(painter, 100, 40, kSide); });
  EXPECT_EQ(Box(kLime), QRect(99, 358, 3, 3)) << "(100, 360) to (101, 359)";
  Paint([&](QPainter& painter) { DrawStrengthReferenceLines(painter, 0); });
  EXPECT_EQ(Box(kGreen), QRect(QPoint(-1, 19), QPoint(400, 230))) << "20 and 230, 2 pixels wide";
}

// A grid laid by its stamp leaves exactly the pixels of drawing it anew, over
// any picture, also when the stamp learns a changed grid.
TEST(PixelStamp, LeavesThePixelsOfDrawingAnew) {
  QImage drawn(100, 80, QImage::Format_RGB32);
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) drawn.setPixel(x, y, qRgb(x * 2, y * 3, x * y));
  QImage stamped = drawn.copy();
  PixelStamp stamp;
  for (const int radius : {30, 30, 20}) {
    const auto grid = [&](QPainter& painter) {
      painter.setPen(QPen(kGreen, 2));
      painter.drawEllipse(QPoint(50, 40), radius, radius);
      painter.setPen(QPen(Qt::black, 1));
      painter.drawLine(0, 40, 99, 40);
    };
    QPainter painter(&drawn);
    grid(painter);
    painter.end();
    stamp.Apply(stamped, {double(radius)}, grid);
    EXPECT_EQ(stamped, drawn) << radius;
  }
}

TEST(PlotLabels, SpreadFromHighestToLowestInTheirFormats) {
  using L = std::array<QString, 5>;
  EXPECT_EQ(TimeLabels(0, 10), (L{"10.0", "7.5", "5.0", "2.5", "0.0"}));
  // Positions are whole scaled counts, floored, times the count length.
  EXPECT_EQ(PositionLabels(-3, 3, {0.5, 0.5}), (L{"0.500", "0.125", "-0.250", "-0.625", "-1.000"}));
  EXPECT_EQ(VelocityLabels(-200, 200, {1, 0.01}), (L{"2.00", "1.00", "0.00", "-1.00", "-2.00"}));
  EXPECT_EQ(StrengthXLabels(0, 4000, {1, 1}), (L{"4000", "3000", "2000", "1000", "0"}));
  EXPECT_EQ(TimeText(12.34f), "12.3");
}

}  // namespace quillon::plot
