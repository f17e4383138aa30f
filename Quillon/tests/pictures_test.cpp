// The window's pictures: each decodes from the resources at its design size,
// the signal bar and its bands show their colours where the status panel
// needs them, and damaged JPEG data never yields a picture.
#include "pictures.h"

#include <gtest/gtest.h>

#include <QFile>

// The resources live in a static library: reading them directly needs them
// registered first.
static void RegisterPictureResources() { Q_INIT_RESOURCE(pictures); }

namespace quillon {
namespace {

TEST(Pictures, EachDecodesAtItsDesignSize) {
  const std::pair<const char*, QSize> sizes[] = {
      {"Logo", {160, 64}},      {"Logo800", {80, 32}},         {"SignalBar", {38, 304}},
      {"GreenBand", {18, 186}}, {"DarkGreenBand", {18, 45}},   {"YellowBand", {18, 52}},
      {"RedBand", {18, 73}},    {"StrengthPointer", {24, 16}}, {"NoSuchPicture", {0, 0}}};
  for (const auto& [name, size] : sizes) EXPECT_EQ(Picture(name).size(), size) << name;
}

// Green over the bar's upper 184 rows, yellow over the next 46 and red over
// the lowest 74, sampled near the ends of each zone; each band glows in its
// colour along its middle. A white-hot core may pale a colour, not turn it.
TEST(Pictures, TheBarAndTheBandsShowTheirColourZones) {
  // clang-format off
  const std::tuple<const char*, int, QColor> samples[] = {
      {"SignalBar", 1, Qt::green},    {"SignalBar", 181, Qt::green}, {"SignalBar", 187, Qt::yellow},
      {"SignalBar", 227, Qt::yellow}, {"SignalBar", 233, Qt::red},   {"SignalBar", 302, Qt::red},
      {"GreenBand", 93, Qt::green},   {"YellowBand", 26, Qt::yellow}, {"RedBand", 36, Qt::red}};
  // clang-format on
  for (const auto& [name, row, pure] : samples) {
    const QImage image = Picture(name);
    const QColor c = image.pixelColor(image.width() / 2, row);
    const int hueOff = (c.hsvHue() - pure.hsvHue() + 540) % 360 - 180;
    EXPECT_TRUE(qAbs(hueOff) < 20 && c.hsvSaturation() > 60 && c.value() > 150)
        << name << " row " << row << ": " << c.name().toStdString();
  }
}

TEST(Pictures, DamagedJpegDataNeverYieldsAPicture) {
  RegisterPictureResources();
  QFile file(":/pictures/SignalBar.jpg");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_EQ(DecodeJpeg(bytes).size(), QSize(38, 304)) << "the undamaged bytes decode";
  for (const QByteArray& damaged : {bytes.left(bytes.size() / 2), bytes.left(20), QByteArray(),
                                    QByteArray("not a picture at all")})
    EXPECT_TRUE(DecodeJpeg(damaged).isNull()) << damaged.size();
}

}  // namespace
}  // namespace quillon
