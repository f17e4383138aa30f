#include "number_format.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#include "text_scan.h"

namespace quillon {
namespace {

TEST(FormatFixed, PadsToTheDecimalsAfterRoundingToThePrecision) {
  EXPECT_EQ(FormatFixed(0.1, 5, 4), "0.1000");
  EXPECT_EQ(FormatFixed(0.1f, 5, 5), "0.10000");
  EXPECT_EQ(FormatFixed(1.23456789, 5, 8), "1.23460000");
  EXPECT_EQ(FormatFixed(1.15f, 3, 3), "1.150");
  EXPECT_EQ(FormatFixed(12345.4, 5, 1), "12345.0");
  EXPECT_EQ(FormatFixed(-1.5, 5, 4), "-1.5000");
  EXPECT_EQ(FormatFixed(0.0, 5, 5), "0.00000");
  EXPECT_EQ(FormatFixed(7.0, 5, 0), "7");
  EXPECT_EQ(FormatFixed(123.456787109375, 12, 8), "123.45678711");
  EXPECT_EQ(FormatFixed(-0.0000123456789, 12, 8), "-0.00001235");
}

TEST(FormatFixed, RoundsOnceAtTheTighterLimit) {
  // Rounding to 5 significant digits first would give 0.000050000 and then 0.0001.
  EXPECT_EQ(FormatFixed(0.00004999951, 5, 4), "0.0000");
  EXPECT_EQ(FormatFixed(0.99996, 5, 4), "1.0000");
  EXPECT_EQ(FormatFixed(9.99996, 5, 4), "10.0000");
}

TEST(FormatFixed, ValuesRoundingToZeroCarryNoSign) {
  EXPECT_EQ(FormatFixed(-0.00001, 5, 4), "0.0000");
  EXPECT_EQ(FormatFixed(-0.0, 5, 4), "0.0000");
  EXPECT_EQ(FormatFixed(-0.4, 5, 0), "0");
}

TEST(FormatFixed, TooManyWholeDigitsTurnScientific) {
  EXPECT_EQ(FormatFixed(123456.7, 5, 1), "1.2346E+05");
  EXPECT_EQ(FormatFixed(-123456.7, 5, 4), "-1.2346E+05");
  EXPECT_EQ(FormatFixed(99999.6, 5, 2), "1.0000E+05");  // the rounding adds the sixth digit
  EXPECT_EQ(FormatFixed(1e20, 12, 8), "1.00000000000E+20");
  EXPECT_EQ(FormatFixed(3.4028234663852886e38, 12, 8), "3.40282346639E+38");
  EXPECT_EQ(FormatFixed(2e100, 1, 0), "2E+100");
}

TEST(FormatGeneral, DropsTrailingZerosAndPicksTheLayout) {
  EXPECT_EQ(FormatGeneral(0.187f, 6, 0), "0.187");
  EXPECT_EQ(FormatGeneral(0.575f, 6, 0), "0.575");
  EXPECT_EQ(FormatGeneral(1.15, 7, 3), "1.15");
  EXPECT_EQ(FormatGeneral(100.0, 7, 3), "100");
  EXPECT_EQ(FormatGeneral(-2.5, 7, 3), "-2.5");
  EXPECT_EQ(FormatGeneral(0.0, 7, 3), "0");
  EXPECT_EQ(FormatGeneral(-0.0, 7, 3), "0");
  EXPECT_EQ(FormatGeneral(1234567.0, 7, 3), "1234567");
  EXPECT_EQ(FormatGeneral(12345678.0, 7, 3), "1.234568E007");
  EXPECT_EQ(FormatGeneral(9999999.6, 7, 3), "1E007");
  EXPECT_EQ(FormatGeneral(0.00001, 7, 3), "0.00001");
  EXPECT_EQ(FormatGeneral(0.0000015, 7, 3), "1.5E-006");
  EXPECT_EQ(FormatGeneral(-2.5e-12, 7, 0), "-2.5E-12");
}

TEST(FormatShortest, GivesTheShortestTextOfTheFloat) {
  EXPECT_EQ(FormatShortest(0.1f), "0.1");
  EXPECT_EQ(FormatShortest(1.0f), "1");
  EXPECT_EQ(FormatShortest(0.25f), "0.25");
  EXPECT_EQ(FormatShortest(-1.15f), "-1.15");
  EXPECT_EQ(FormatShortest(16777216.0f), "16777216");
  EXPECT_EQ(FormatShortest(1e-7f), "1E-7");
  EXPECT_EQ(FormatShortest(1e20f), "1E20");
  EXPECT_EQ(FormatShortest(0.0f), "0");
}

TEST(FormatShortest, ReadsBackToTheSameFloatAcrossTheRange) {
  // A deterministic walk over bit patterns: every exponent, many mantissas.
  for (uint32_t bits = 1; bits < 0x7F800000u; bits += 0x000F4243u) {
    for (const float value : {std::bit_cast<float>(bits), -std::bit_cast<float>(bits)}) {
      const QString text = FormatShortest(value);
      float back = 0;
      ASSERT_TRUE(ParseFloat(text.toLatin1(), back)) << text.toStdString();
      ASSERT_EQ(std::bit_cast<uint32_t>(back), std::bit_cast<uint32_t>(value))
          << text.toStdString();
    }
  }
}

TEST(NumberFormats, NonFiniteValuesHaveTextsTheReadersAccept) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(FormatFixed(inf, 12, 8), "INF");
  EXPECT_EQ(FormatFixed(-inf, 12, 8), "-INF");
  EXPECT_EQ(FormatGeneral(nan, 7, 3), "NAN");
  EXPECT_EQ(FormatShortest(-inf), "-INF");
  float back = 0;
  ASSERT_TRUE(ParseFloat("-INF", back));
  EXPECT_EQ(back, -inf);
  ASSERT_TRUE(ParseFloat("NAN", back));
  EXPECT_TRUE(std::isnan(back));
}

TEST(NumberFormats, IgnoreTheDefaultLocale) {
  const QLocale previous;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  const QString fixed = FormatFixed(1234.5, 7, 2);
  const QString general = FormatGeneral(1234.5, 7, 3);
  const QString shortest = FormatShortest(1234.5f);
  QLocale::setDefault(previous);
  EXPECT_EQ(fixed, "1234.50");
  EXPECT_EQ(general, "1234.5");
  EXPECT_EQ(shortest, "1234.5");
}

}  // namespace
}  // namespace quillon
