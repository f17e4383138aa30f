// The window's pictures: each decodes from the resources at its design size
// with its colours in the right places, and damaged JPEG data never yields a
// picture.
#include "pictures.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <algorithm>

// The resources live in a static library: reading them directly needs them
// registered first.
static void RegisterPictureResources() { Q_INIT_RESOURCE(pictures); }

namespace quillon {
namespace {

struct Expected {
  const char* name;
  int width, height;
};

class PictureSize : public ::testing::TestWithParam<Expected> {};

TEST_P(PictureSize, DecodesAtItsDesignSize) {
  const Expected e = GetParam();
  const QImage image = Picture(e.name);
  ASSERT_FALSE(image.isNull()) << e.name;
  EXPECT_EQ(image.size(), QSize(e.width, e.height)) << e.name;
}

INSTANTIATE_TEST_SUITE_P(
    AllPictures, PictureSize,
    ::testing::Values(Expected{"Logo", 160, 64}, Expected{"Logo800", 80, 32},
                      Expected{"SignalBar", 38, 304}, Expected{"GreenBand", 18, 186},
                      Expected{"DarkGreenBand", 18, 45}, Expected{"YellowBand", 18, 52},
                      Expected{"RedBand", 18, 73}, Expected{"StrengthPointer", 24, 16}));

enum class Hue { Green, Yellow, Red };

// The hue's components stand well above the others; a white-hot core may
// lift all three.
::testing::AssertionResult HasHue(const QImage& image, int x, int y, Hue hue) {
  const QColor c = image.pixelColor(x, y);
  const int r = c.red(), g = c.green(), b = c.blue();
  const bool match = hue == Hue::Green    ? g > 150 && g - std::max(r, b) > 60
                     : hue == Hue::Yellow ? std::min(r, g) > 150 && std::min(r, g) - b > 60
                                          : r > 150 && r - std::max(g, b) > 60;
  if (match) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "pixel (" << x << ", " << y << ") is " << r << ", " << g << ", " << b;
}

int Brightness(const QImage& image, int x, int y) {
  const QColor c = image.pixelColor(x, y);
  return c.red() + c.green() + c.blue();
}

constexpr int kBarMiddle = 19;

TEST(SignalBar, GreenOverTheUpper184RowsYellowOver46RedBelow) {
  const QImage bar = Picture("SignalBar");
  ASSERT_FALSE(bar.isNull());
  for (int row : {1, 90, 181}) EXPECT_TRUE(HasHue(bar, kBarMiddle, row, Hue::Green));
  for (int row : {187, 207, 227}) EXPECT_TRUE(HasHue(bar, kBarMiddle, row, Hue::Yellow));
  for (int row : {233, 270, 302}) EXPECT_TRUE(HasHue(bar, kBarMiddle, row, Hue::Red));
}

TEST(SignalBar, IsShadedLikeALitCylinder) {
  const QImage bar = Picture("SignalBar");
  ASSERT_FALSE(bar.isNull());
  for (int row : {90, 207, 270}) {
    int brightest = 0;
    for (int x = 1; x < bar.width(); ++x) {
      if (Brightness(bar, x, row) > Brightness(bar, brightest, row)) brightest = x;
    }
    EXPECT_GT(brightest, 4) << row;
    EXPECT_LT(brightest, kBarMiddle) << "lit from the left, row " << row;
    EXPECT_LT(Brightness(bar, 0, row), Brightness(bar, brightest, row) * 3 / 4) << row;
    EXPECT_LT(Brightness(bar, 37, row), Brightness(bar, brightest, row) / 3) << row;
  }
}

struct BandColour {
  const char* name;
  Hue hue;
};

class Band : public ::testing::TestWithParam<BandColour> {};

TEST_P(Band, GlowsInItsColourAlongTheMiddleAndFadesToBlackAtTheSides) {
  const QImage band = Picture(GetParam().name);
  ASSERT_FALSE(band.isNull());
  const int middle = band.height() / 2;
  EXPECT_TRUE(HasHue(band, 9, middle, GetParam().hue));
  EXPECT_LT(Brightness(band, 0, middle), 60);
  EXPECT_LT(Brightness(band, 17, middle), 60);
}

INSTANTIATE_TEST_SUITE_P(BrightBands, Band,
                         ::testing::Values(BandColour{"GreenBand", Hue::Green},
                                           BandColour{"YellowBand", Hue::Yellow},
                                           BandColour{"RedBand", Hue::Red}));

TEST(Band, DarkGreenIsAGreenDimmerThanTheGreen) {
  const QImage dark = Picture("DarkGreenBand");
  const QImage bright = Picture("GreenBand");
  ASSERT_FALSE(dark.isNull());
  const QColor c = dark.pixelColor(9, dark.height() / 2);
  EXPECT_GT(c.green(), 2 * std::max(c.red(), c.blue()));
  EXPECT_LT(c.green(), bright.pixelColor(9, bright.height() / 2).green() - 60);
}

// Pixels that are clearly red: the logo's word and hub.
int RedPixels(const QImage& image, QRect area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      count += c.red() > 150 && c.green() < 80 && c.blue() < 80;
    }
  }
  return count;
}

TEST(Logo, RedWordBesideTheMarkOnBlackInBothSizes) {
  const QImage logo = Picture("Logo");
  ASSERT_FALSE(logo.isNull());
  EXPECT_GT(RedPixels(logo, QRect(64, 10, 96, 30)), 300);
  EXPECT_GT(RedPixels(logo, QRect(14, 14, 36, 36)), 200);
  for (QPoint corner : {QPoint(0, 0), QPoint(159, 0), QPoint(0, 63), QPoint(159, 63)}) {
    EXPECT_LT(Brightness(logo, corner.x(), corner.y()), 30);
  }
  const QImage small = Picture("Logo800");
  ASSERT_FALSE(small.isNull());
  EXPECT_GT(RedPixels(small, QRect(32, 5, 48, 15)), 60);
  EXPECT_LT(Brightness(small, 79, 0), 30);
}

TEST(Pictures, UnknownNameGivesANullImage) { EXPECT_TRUE(Picture("NoSuchPicture").isNull()); }

QByteArray ResourceBytes(const char* name) {
  RegisterPictureResources();
  QFile file(QString(":/pictures/%1.jpg").arg(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(DecodeJpeg, DamagedDataNeverYieldsAPicture) {
  const QByteArray bytes = ResourceBytes("SignalBar");
  ASSERT_GT(bytes.size(), 200);
  ASSERT_EQ(DecodeJpeg(bytes).size(), QSize(38, 304)) << "the undamaged bytes decode";
  QByteArray header = bytes;
  for (int i = 2; i < 200; ++i) header[i] = static_cast<char>(0xA5);
  for (const QByteArray& damaged : {bytes.left(bytes.size() / 2), bytes.left(20), header,
                                    QByteArray(), QByteArray("not a picture at all")}) {
    EXPECT_TRUE(DecodeJpeg(damaged).isNull()) << damaged.size();
  }
}

}  // namespace
}  // namespace quillon
