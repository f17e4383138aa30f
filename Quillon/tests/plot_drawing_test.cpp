// Pixel checks of the plot drawing: points land where the mapping says,
// erasing leaves black, and degenerate limits never break the mapping.
#include <gtest/gtest.h>

#include <QImage>

#include "plot_drawing.h"

namespace quillon::plot {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 400;

// A 12-bit two's-complement value in bits 4 to 15 of a word.
uint16_t Word(int value) { return static_cast<uint16_t>((value & 0xFFF) << 4); }

class Canvas : public ::testing::Test {
 protected:
  Canvas() : image_(kWidth, kHeight, QImage::Format_RGB32) { image_.fill(Qt::black); }
  QColor At(QPoint p) const { return image_.pixelColor(p); }
  QColor At(int x, int y) const { return image_.pixelColor(x, y); }
  int Count(const QColor& colour) const {
    int n = 0;
    for (int y = 0; y < image_.height(); ++y)
      for (int x = 0; x < image_.width(); ++x) n += image_.pixelColor(x, y) == colour;
    return n;
  }
  QImage image_;
};

TEST_F(Canvas, LissajousPointsLandWhereTheMappingSaysAndEraseToBlack) {
  const SignalSample sample{Word(1024), Word(-512), Word(1024), Word(0)};
  const LissajousPoints p = MapLissajous(sample, kWidth);
  EXPECT_EQ(p.raw, QPoint(398, 101)) << "x: 0.495 V of 400 px; y: -0.2475 V";
  EXPECT_EQ(p.processed, QPoint(320, 200)) << "angle 0, radius 1024 / 6742.016 x 1.98 V";
  {
    QPainter painter(&image_);
    DrawLissajousSample(painter, sample, kWidth, FirstOnly, false);
  }
  EXPECT_EQ(At(p.raw), kRaw);
  EXPECT_EQ(At(p.processed), kBackground) << "type 0 shows the raw point only";
  {
    QPainter painter(&image_);
    DrawLissajousSample(painter, sample, kWidth, Both, false);
  }
  EXPECT_EQ(At(p.processed), kProcessed);
  {
    QPainter painter(&image_);
    DrawLissajousSample(painter, sample, kWidth, SecondOnly, true);
  }
  EXPECT_EQ(Count(kRaw) + Count(kProcessed), 0) << "erasing overdraws both points";
}

TEST_F(Canvas, StrengthPointsClampAtFullScaleAndStartAtTheLowerLimit) {
  EXPECT_DOUBLE_EQ(StrengthLevel(Word(2047), Word(2047)), 100.0);
  EXPECT_EQ(StrengthHeight(Word(2047), Word(-2048), kHeight), kHeight);
  EXPECT_NEAR(StrengthLevel(Word(256), Word(0)), 256 * 0.25 * 1.98 * 0.1953125, 1e-9);
  EXPECT_EQ(StrengthX(-100, -100, 300, kWidth), 0);
  EXPECT_EQ(StrengthX(300, -100, 300, kWidth), kWidth);
  EXPECT_EQ(StrengthX(50, 50, 50, kWidth), 0) << "equal limits do not divide by zero";
  {
    QPainter painter(&image_);
    DrawStrengthMark(painter, 100, 40, kHeight);
    DrawStrengthReferenceLines(painter, 1);
  }
  EXPECT_EQ(At(100, kHeight - 40), kLime);
  EXPECT_EQ(At(250, 25), kGreen);
  EXPECT_EQ(At(250, 287), kGreen);
}

TraceSegment Segment(int32_t before, int32_t now, float velocityNow, bool manual) {
  TraceSegment s;
  s.positionBefore = before;
  s.positionNow = now;
  s.velocityBefore = 0;
  s.velocityNow = velocityNow;
  s.timeBefore = 1.0f;
  s.timeNow = 2.0f;
  s.windowStart = 0;
  s.windowSpan = 4.0f;
  s.limits = {0, 100, -10, 10};
  s.manualScale = manual;
  return s;
}

TEST_F(Canvas, TraceSegmentsMapTimeAcrossAndValuesUp) {
  {
    QPainter painter(&image_);
    DrawTraceSegment(painter, Segment(50, 50, 0, false), {kWidth, kHeight}, FirstOnly);
  }
  EXPECT_EQ(Count(kLime), 101) << "a level line from x 100 to 200 halfway up";
  EXPECT_EQ(At(150, 200), kLime);
  image_.fill(Qt::black);
  TraceSegment flat = Segment(5, 5, 0, false);
  flat.limits = {5, 5, 3, 3};
  flat.velocityBefore = flat.velocityNow = 3.05f;
  {
    QPainter painter(&image_);
    DrawTraceSegment(painter, flat, {kWidth, kHeight}, Both);
    flat.windowSpan = 0;
    DrawTraceSegment(painter, flat, {kWidth, kHeight}, Both);
  }
  EXPECT_GT(Count(kRaw), 0) << "equal limits are taken a tenth apart";
}

TEST_F(Canvas, ManualScaleDrawsOnlyTheTracesWithinTheirLimits) {
  {
    QPainter painter(&image_);
    DrawTraceSegment(painter, Segment(50, 150, 5, true), {kWidth, kHeight}, Both);
  }
  EXPECT_EQ(Count(kLime), 0) << "the position is above its limit";
  EXPECT_GT(Count(kRaw), 0) << "the velocity is within its own";
}

TEST_F(Canvas, ReplotStartsAtTheLeftEdge) {
  const int32_t positions[] = {0, 50, 50};
  const float velocities[] = {0, 0, 0};
  const float times[] = {0, 2.0f, 4.0f};
  {
    QPainter painter(&image_);
    ReplotTrace(painter, positions, velocities, times, 2, 0, 4.0f, {0, 100, -1, 1},
                {kWidth, kHeight}, FirstOnly);
  }
  EXPECT_EQ(At(0, 200), kLime);
  EXPECT_EQ(At(399, 200), kLime);
}

TEST(PlotLabels, SpreadFromHighestToLowestInTheirFormats) {
  const auto time = TimeLabels(0, 10);
  EXPECT_EQ(time[0], "10.0");
  EXPECT_EQ(time[1], "7.5");
  EXPECT_EQ(time[4], "0.0");
  const auto position = PositionLabels(-1000, 1000, {0.5, 0.001});
  EXPECT_EQ(position[0], "0.500");
  EXPECT_EQ(position[4], "-0.500");
  const auto velocity = VelocityLabels(-200, 200, {1, 0.01});
  EXPECT_EQ(velocity[0], "2.00");
  EXPECT_EQ(velocity[2], "0.00");
  const auto strength = StrengthXLabels(0, 4000, {1, 1});
  EXPECT_EQ(strength[0], "4000");
  EXPECT_EQ(strength[1], "3000");
  EXPECT_EQ(TimeText(12.34f), "12.3");
}

}  // namespace
}  // namespace quillon::plot
