// The window's pictures: each decodes from the resources at its design size,
// and damaged JPEG data never yields a picture.
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
