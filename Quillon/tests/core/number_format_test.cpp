// The number texts of the files and labels: rounding, padding, the switch
// to scientific notation and shortest round-trip texts, whatever the locale.
#include "number_format.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>

#include "text_scan.h"

namespace quillon {

// Every text is made under a locale with a decimal comma, which must not show.
const bool kCommaLocale = (QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)), true);
constexpr float kInf = std::numeric_limits<float>::infinity();

// Fixed texts round once, to the tighter of the significant digits and the
// decimals, then pad: rounding to 5 digits first would turn 0.00004999951
// into 0.000050000 and then 0.0001. A value rounding to zero carries no sign.
// Too many whole digits, also after rounding, turn scientific. General texts
// drop trailing zeros and pick their layout by the exponent.
TEST(NumberFormats, TextsRoundPadPickTheirLayoutAndReadBack) {
  // 'f' fixed (precision, decimals) or 'g' general (precision, exponent digits).
  // clang-format off
  const std::tuple<char, double, int, int, const char*> cases[] = {
    {'f', 3.4028234663852886e38, 12, 8, "3.40282346639E+38"}, {'f', 1.23456789, 5, 8, "1.23460000"},
    {'f', 123.456787109375, 12, 8, "123.45678711"}, {'f', -0.0000123456789, 12, 8, "-0.00001235"},
    {'f', -123456.7, 5, 4, "-1.2346E+05"}, {'f', 0.00004999951, 5, 4, "0.0000"},
    {'f', 123456.7, 5, 1, "1.2346E+05"}, {'f', 99999.6, 5, 2, "1.0000E+05"}, {'f', -0.4, 5, 0, "0"},
    {'f', 12345.4, 5, 1, "12345.0"}, {'f', 9.99996, 5, 4, "10.0000"}, {'f', 0.1f, 5, 5, "0.10000"},
    {'f', 0.0, 5, 5, "0.00000"}, {'f', -0.0, 5, 4, "0.0000"}, {'f', -kInf, 12, 8, "-INF"},
    {'f', 1e20, 12, 8, "1.00000000000E+20"}, {'g', 12345678.0, 7, 3, "1.234568E007"},
    {'f', -0.00001, 5, 4, "0.0000"}, {'g', 9999999.6, 7, 3, "1E007"}, {'f', -1.5, 5, 4, "-1.5000"},
    {'g', 0.00001, 7, 3, "0.00001"}, {'f', 0.99996, 5, 4, "1.0000"}, {'f', 2e100, 1, 0, "2E+100"},
    {'g', -2.5e-12, 7, 0, "-2.5E-12"}, {'g', std::nan(""), 7, 3, "NAN"}, {'f', 0.1, 5, 4, "0.1000"},
    {'g', 0.187f, 6, 0, "0.187"}, {'g', 0.575f, 6, 0, "0.575"}, {'f', 1.15f, 3, 3, "1.150"},
    {'f', kInf, 12, 8, "INF"}, {'g', 1.15, 7, 3, "1.15"}, {'g', 100.0, 7, 3, "100"},
    {'g', -2.5, 7, 3, "-2.5"}, {'f', 7.0, 5, 0, "7"}, {'g', 0.0, 7, 3, "0"},
    {'g', 0.0000015, 7, 3, "1.5E-006"}, {'g', 1234567.0, 7, 3, "1234567"}, {'g', -0.0, 7, 3, "0"}};
  // clang-format on
  for (const auto& [kind, value, precision, digits, text] : cases) {
    EXPECT_EQ(kind == 'f' ? FormatFixed(value, precision, digits)
                          : FormatGeneral(value, precision, digits), text) << value;
  }
  // Shortest texts read back to the same float, nine digits where needed.
  // clang-format off
  const std::pair<float, const char*> shortest[] = {
      {0.1f, "0.1"}, {1.0f, "1"}, {0.25f, "0.25"}, {-1.15f, "-1.15"}, {16777216.0f, "16777216"},
      {1e-7f, "1E-7"}, {1e20f, "1E20"}, {0.0f, "0"}, {-kInf, "-INF"}, {123.800964f, "123.800964"},
      {0.120154776f, "0.120154776"}, {3.40282347e38f, "3.4028235E38"}, {1e-45f, "1E-45"}};
  // clang-format on
  for (const auto& [value, text] : shortest) {
    float back = 0;
    EXPECT_EQ(FormatShortest(value), text);
    EXPECT_TRUE(ParseFloat(text, back) && back == value) << text;
  }
  float back = 0;
  EXPECT_TRUE(ParseFloat("NAN", back) && std::isnan(back));
}

}  // namespace quillon
