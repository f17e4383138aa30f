#include "number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace quillon {
namespace {

// Far beyond the 17 digits that mean anything in a double; it bounds the
// conversion buffers below.
constexpr int kMaxDigits = 40;
constexpr int kShortestPrecision = 15;
// General layout switches to scientific below this power of ten.
constexpr int kSmallestFixedExponent = -5;

// A finite value as its sign, its significant digits d1 d2 d3 ... and the
// power of ten of d1.
struct Decimal {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// Reads std::to_chars' scientific form, "-1.2345e+05".
Decimal FromScientific(std::string_view text) {
  Decimal d;
  if (text.front() == '-') {
    d.negative = true;
    text.remove_prefix(1);
  }
  const size_t e = text.find('e');
  for (char c : text.substr(0, e)) {
    if (c != '.') d.digits += c;
  }
  std::string_view exponent = text.substr(e + 1);
  if (exponent.front() == '+') exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), d.exponent);
  return d;
}

// Rounded to `fractionDigits` + 1 significant digits, or the shortest
// round-trip digits when no count is given.
template <class T, class... FractionDigits>
Decimal Scientific(T value, FractionDigits... fractionDigits) {
  char buffer[kMaxDigits + 16];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::scientific, fractionDigits...)
                       .ptr;
  return FromScientific({buffer, static_cast<size_t>(end - buffer)});
}

std::string Fixed(double value, int places) {
  char buffer[2 * kMaxDigits + 8];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places).ptr;
  return {buffer, end};
}

QString NonFinite(double value) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

void DropNegativeZero(std::string& text) {
  if (text.starts_with('-') && text.find_first_of("123456789") == std::string::npos) {
    text.erase(0, 1);
  }
}

std::string Mantissa(const Decimal& d) {
  std::string text = d.negative ? "-" : "";
  text += d.digits.front();
  if (d.digits.size() > 1) {
    text += '.';
    text.append(d.digits, 1);
  }
  return text;
}

std::string ExponentPart(int exponent, bool plusSign, int minDigits) {
  std::string digits = std::to_string(std::abs(exponent));
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
  const char* sign = exponent < 0 ? "-" : (plusSign ? "+" : "");
  return "E" + (sign + digits);
}

// Digits laid out without an exponent, no trailing point.
std::string PlainLayout(const Decimal& d) {
  std::string text = d.negative ? "-" : "";
  if (d.exponent < 0) {
    text += "0.";
    text.append(-d.exponent - 1, '0');
    return text + d.digits;
  }
  const size_t whole = static_cast<size_t>(d.exponent) + 1;
  if (d.digits.size() <= whole) {
    text += d.digits;
    text.append(whole - d.digits.size(), '0');
    return text;
  }
  text.append(d.digits, 0, whole);
  text += '.';
  text.append(d.digits, whole);
  return text;
}

QString GeneralLayout(Decimal d, int precision, int exponentDigits) {
  const size_t last = d.digits.find_last_not_of('0');
  if (last == std::string::npos) return QStringLiteral("0");
  d.digits.resize(last + 1);
  const bool plain = d.exponent < precision && d.exponent >= kSmallestFixedExponent;
  const std::string text =
      plain ? PlainLayout(d) : Mantissa(d) + ExponentPart(d.exponent, false, exponentDigits);
  return QString::fromLatin1(text);
}

}  // namespace

QString FormatFixed(double value, int precision, int decimals) {
  if (!std::isfinite(value)) return NonFinite(value);
  precision = std::clamp(precision, 1, kMaxDigits);
  decimals = std::clamp(decimals, 0, kMaxDigits);
  const Decimal rounded = Scientific(value, precision - 1);
  if (rounded.exponent >= precision) {
    return QString::fromLatin1(Mantissa(rounded) + ExponentPart(rounded.exponent, true, 2));
  }
  // Rounding happens once, at whichever of the two limits keeps fewer digits;
  // the places the precision leaves empty are padded with zeros.
  const int places = std::min(decimals, precision - 1 - rounded.exponent);
  std::string text = Fixed(value, places);
  if (decimals > places) {
    if (places == 0) text += '.';
    text.append(decimals - places, '0');
  }
  DropNegativeZero(text);
  return QString::fromLatin1(text);
}

QString FormatGeneral(double value, int precision, int exponentDigits) {
  if (!std::isfinite(value)) return NonFinite(value);
  precision = std::clamp(precision, 1, kMaxDigits);
  return GeneralLayout(Scientific(value, precision - 1), precision, exponentDigits);
}

QString FormatShortest(float value) {
  if (!std::isfinite(value)) return NonFinite(value);
  return GeneralLayout(Scientific(value), kShortestPrecision, 0);
}

}  // namespace quillon
