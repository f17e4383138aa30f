// The text scanners and number formatters of the program's files. The last
// input byte picks a check, the rest is its text or the bits of its number:
//  - whole-text number conversions against the grammar their header states;
//  - the token reader against a plain split at white space;
//  - the line cursor and line splitting against a plain split at CR LF, LF
//    and lone CR;
//  - formatted numbers: each reads back within the rounding its layout
//    allows, with the digits and exponent form the header describes, and the
//    shortest form of a float reads back to that float and is shortest.
#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QString>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "number_format.h"
#include "text_scan.h"

namespace {

using quillon::FormatFixed;
using quillon::FormatGeneral;
using quillon::FormatShortest;

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string Trim(std::string s) {
  while (!s.empty() && IsSpace(s.front())) s.erase(0, 1);
  while (!s.empty() && IsSpace(s.back())) s.pop_back();
  return s;
}

bool AllDigits(const std::string& s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string::npos;
}

// Surrounding white space, one optional sign ("-" only where the type has
// negative values), then decimal digits and nothing else, in range.
std::optional<long long> ReferenceInteger(const std::string& text, long long low, long long high) {
  std::string s = Trim(text);
  bool negative = false;
  if (!s.empty() && s[0] == '+') {
    s.erase(0, 1);
  } else if (!s.empty() && s[0] == '-' && low < 0) {
    negative = true;
    s.erase(0, 1);
  }
  if (!AllDigits(s)) return std::nullopt;
  const size_t first = std::min(s.find_first_not_of('0'), s.size());
  if (s.size() - first > 12) return std::nullopt;
  const long long magnitude = s.size() == first ? 0 : std::stoll(s.substr(first));
  const long long value = negative ? -magnitude : magnitude;
  if (value < low || value > high) return std::nullopt;
  return value;
}

void CheckIntegers(const std::string& text) {
  int32_t i32 = 0x5A5A5A5A;
  const bool ok32 = quillon::ParseInt32(QByteArrayView(text.data(), qsizetype(text.size())), i32);
  const std::optional<long long> r32 = ReferenceInteger(text, INT32_MIN, INT32_MAX);
  CHECK(ok32 == r32.has_value());
  CHECK(ok32 ? i32 == *r32 : i32 == 0x5A5A5A5A);
  uint16_t u16 = 0x5A5A;
  const bool ok16 = quillon::ParseUInt16(QByteArrayView(text.data(), qsizetype(text.size())), u16);
  const std::optional<long long> r16 = ReferenceInteger(text, 0, 0xFFFF);
  CHECK(ok16 == r16.has_value());
  CHECK(ok16 ? u16 == *r16 : u16 == 0x5A5A);
}

bool SameFloat(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

// A float text that converts is one the C library reads whole, to the same
// value; a plain decimal of modest size always converts.
void CheckFloat(const std::string& text) {
  float value = 1234.5f;
  const bool ok = quillon::ParseFloat(QByteArrayView(text.data(), qsizetype(text.size())), value);
  std::string s = Trim(text);
  if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.erase(0, 1);
  if (!ok) {
    CHECK(value == 1234.5f);
    // Digits with at most one point, a sign, and no exponent: always a float.
    std::string body = s.size() > 0 && s[0] == '-' ? s.substr(1) : s;
    const size_t point = body.find('.');
    if (point != std::string::npos) body.erase(point, 1);
    CHECK(!(AllDigits(body) && body.size() <= 30));
    return;
  }
  CHECK(!s.empty() && !IsSpace(s.front()) && s.front() != '+');
  // The C library reads hexadecimal too; that text never converts here.
  CHECK(s.find_first_of("xX") == std::string::npos || s.find_first_of("nN") != std::string::npos);
  char* end = nullptr;
  const float expected = std::strtof(s.c_str(), &end);
  CHECK(end == s.c_str() + s.size());
  CHECK(SameFloat(value, expected));
}

std::vector<std::string> SplitAtSpace(const std::string& text) {
  std::vector<std::string> tokens;
  std::string token;
  for (char c : text) {
    if (!IsSpace(c)) {
      token += c;
    } else if (!token.empty()) {
      tokens.push_back(token);
      token.clear();
    }
  }
  if (!token.empty()) tokens.push_back(token);
  return tokens;
}

void CheckTokens(FuzzedDataProvider& in) {
  const std::string kinds = in.ConsumeBytesAsString(in.ConsumeIntegralInRange(0, 16));
  const std::string text = in.ConsumeRemainingBytesAsString();
  const std::vector<std::string> tokens = SplitAtSpace(text);
  quillon::TokenReader reader(QByteArrayView(text.data(), qsizetype(text.size())));
  // Past the last token every read fails.
  for (size_t i = 0; i < tokens.size() + 2; ++i) {
    const std::string token = i < tokens.size() ? tokens[i] : std::string();
    const QByteArrayView view(token.data(), qsizetype(token.size()));
    switch (kinds.empty() ? 0 : static_cast<unsigned char>(kinds[i % kinds.size()]) % 3) {
      case 0: {
        int32_t a = 7, b = 7;
        const bool ok = reader.Int32(a);
        CHECK(ok == quillon::ParseInt32(view, b) && a == b);
        break;
      }
      case 1: {
        uint16_t a = 7, b = 7;
        const bool ok = reader.UInt16(a);
        CHECK(ok == quillon::ParseUInt16(view, b) && a == b);
        break;
      }
      default: {
        float a = 7, b = 7;
        const bool ok = reader.Float(a);
        CHECK(ok == quillon::ParseFloat(view, b) && SameFloat(a, b));
        break;
      }
    }
  }
}

// Lines end at CR LF, LF or a lone CR; a break at the very end starts no
// further line.
std::vector<std::string> SplitAtBreaks(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

void CheckLines(const std::string& text) {
  const std::vector<std::string> expected = SplitAtBreaks(text);
  const QByteArrayView all(text.data(), qsizetype(text.size()));
  quillon::LineCursor cursor(all);
  QByteArrayView line;
  size_t consumed = 0;
  for (const std::string& want : expected) {
    CHECK(cursor.Next(line));
    CHECK(line == QByteArrayView(want.data(), qsizetype(want.size())));
    consumed = text.size() - size_t(cursor.Rest().size());
    CHECK(cursor.Rest() == all.sliced(qsizetype(consumed)));
  }
  CHECK(!cursor.Next(line) && cursor.Rest().isEmpty());

  const QStringList lines = quillon::SplitLines(all);
  CHECK(size_t(lines.size()) == expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    CHECK(lines[qsizetype(i)] == QString::fromUtf8(expected[i].data(), qsizetype(expected[i].size())));
  const QByteArray joined = quillon::JoinLines(lines);
  CHECK(quillon::SplitLines(joined) == lines);
  CHECK(quillon::JoinLines(quillon::SplitLines(joined)) == joined);
}

// ---- formatted numbers ----------------------------------------------------

struct Layout {
  bool negative = false;
  std::string whole, fraction;  // of the mantissa in scientific form
  bool point = false;
  std::optional<std::string> exponent;  // as written after "E", sign included
};

// "-"? digits ("." digits)? ("E" sign? digits)?, or nothing when malformed.
std::optional<Layout> Parse(const std::string& text) {
  Layout l;
  size_t i = 0;
  if (i < text.size() && text[i] == '-') l.negative = true, ++i;
  while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) l.whole += text[i++];
  if (i < text.size() && text[i] == '.') {
    l.point = true;
    ++i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
      l.fraction += text[i++];
  }
  if (i < text.size() && text[i] == 'E') {
    l.exponent = text.substr(i + 1);
    const std::string e = *l.exponent;
    const size_t digits = !e.empty() && (e[0] == '+' || e[0] == '-') ? 1 : 0;
    if (!AllDigits(e.substr(digits))) return std::nullopt;
    i = text.size();
  }
  if (i != text.size() || l.whole.empty()) return std::nullopt;
  return l;
}

// Digits from the first to the last that is not zero.
size_t SignificantDigits(const Layout& l) {
  const std::string digits = l.whole + l.fraction;
  const size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos) return 0;
  return digits.find_last_not_of('0') - first + 1;
}

// Read with more range than a double: a value near the largest double may
// round to a text beyond it.
long double Read(const std::string& text) {
  if (text == "NAN") return NAN;
  if (text == "INF") return INFINITY;
  if (text == "-INF") return -INFINITY;
  char* end = nullptr;
  const long double value = std::strtold(text.c_str(), &end);
  CHECK(end == text.c_str() + text.size());
  return value;
}

bool NonFiniteText(double value, const std::string& text) {
  if (std::isnan(value)) return text == "NAN";
  return text == (value < 0 ? "-INF" : "INF");
}

// The difference a correct rounding to `unit` leaves, with room for the one
// rounding error of reading the text back.
bool WithinRounding(double value, long double back, long double unit) {
  return std::fabs(back - value) <= 0.5L * unit * (1 + 1e-9L) + std::fabs(value) * 4e-16L;
}

void CheckFixed(double value, int precision, int decimals) {
  const std::string text = FormatFixed(value, precision, decimals).toStdString();
  if (!std::isfinite(value)) {
    CHECK(NonFiniteText(value, text));
    return;
  }
  const int p = std::clamp(precision, 1, 40), d = std::clamp(decimals, 0, 40);
  const std::optional<Layout> l = Parse(text);
  CHECK(l);
  const long double back = Read(text);
  if (back == 0) CHECK(!l->negative);
  if (l->exponent) {
    // The mantissa with `precision` significant digits, a signed exponent of
    // at least two digits.
    CHECK(l->whole.size() == 1 && l->whole != "0" && l->fraction.size() + 1 == size_t(p));
    CHECK(l->point == (p > 1));
    CHECK(l->exponent->size() >= 3 && ((*l->exponent)[0] == '+' || (*l->exponent)[0] == '-'));
    const int exponent = std::atoi(l->exponent->c_str());
    CHECK(exponent >= p);
    CHECK(WithinRounding(value, back, std::pow(10.0L, exponent - p + 1)));
  } else {
    // Exactly `decimals` places, rounded at whichever limit keeps fewer digits.
    CHECK(l->fraction.size() == size_t(d) && l->point == (d > 0));
    CHECK(SignificantDigits(*l) <= size_t(p));
    const long double unit = std::max(std::pow(10.0L, -d), std::fabs(value) * std::pow(10.0L, 1 - p));
    CHECK(WithinRounding(value, back, unit));
  }
}

void CheckGeneral(double value, int precision, int exponentDigits) {
  const std::string text = FormatGeneral(value, precision, exponentDigits).toStdString();
  if (!std::isfinite(value)) {
    CHECK(NonFiniteText(value, text));
    return;
  }
  const int p = std::clamp(precision, 1, 40);
  const std::optional<Layout> l = Parse(text);
  CHECK(l);
  const long double back = Read(text);
  if (back == 0) CHECK(text == "0");
  // No trailing zeros after a point, no point with nothing after it.
  CHECK(l->point == !l->fraction.empty());
  CHECK(l->fraction.empty() || l->fraction.back() != '0');
  CHECK(SignificantDigits(*l) <= size_t(p));
  if (l->exponent) {
    const std::string& e = *l->exponent;
    CHECK(e[0] != '+');
    CHECK(e.size() - (e[0] == '-') >= size_t(std::max(exponentDigits, 1)));
    CHECK(l->whole.size() == 1 && l->whole != "0");
    const int exponent = std::atoi(e.c_str());
    CHECK(exponent >= p || exponent < -5);
  } else if (back != 0) {
    // Fixed while no more than `precision` digits stand before the point and
    // the value is at least 0.00001.
    CHECK(l->whole == "0" || l->whole.size() <= size_t(p));
    CHECK(std::fabs(back) >= 1e-5L);
  }
  CHECK(WithinRounding(value, back, std::fabs(value) * std::pow(10.0L, 1 - p)));
}

void CheckShortest(float value) {
  const std::string text = FormatShortest(value).toStdString();
  if (!std::isfinite(value)) {
    CHECK(NonFiniteText(value, text));
    return;
  }
  // Reads back to the same float, with the parser of the files.
  float back = 0;
  CHECK(quillon::ParseFloat(QByteArrayView(text.data(), qsizetype(text.size())), back));
  CHECK(back == value);
  const std::optional<Layout> l = Parse(text);
  CHECK(l);
  // The layout of FormatGeneral at 15 digits, with no minimum exponent width.
  if (l->exponent) {
    const std::string& e = *l->exponent;
    const std::string digits = e.substr(e[0] == '-' ? 1 : 0);
    CHECK(e[0] != '+' && digits[0] != '0');
  }
  CHECK(l->fraction.empty() || l->fraction.back() != '0');
  // Shortest: one digit fewer, rounded to the nearest, reads back otherwise
  // (or not at all, beyond the largest float).
  const size_t digits = SignificantDigits(*l);
  if (digits > 1) {
    const std::string shorter = FormatGeneral(value, int(digits) - 1, 0).toStdString();
    float fewer = 0;
    if (quillon::ParseFloat(QByteArrayView(shorter.data(), qsizetype(shorter.size())), fewer))
      CHECK(fewer != value);
  }
}

// Any bit pattern: infinities, NaNs and subnormals too.
template <class T>
T Bits(FuzzedDataProvider& in) {
  T value = 0;
  const std::vector<uint8_t> bits = in.ConsumeBytes<uint8_t>(sizeof value);
  if (!bits.empty()) std::memcpy(&value, bits.data(), bits.size());
  return value;
}

// Floats as the files hold them, and doubles.
double ValueOf(FuzzedDataProvider& in) {
  return in.ConsumeBool() ? double(Bits<float>(in)) : Bits<double>(in);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The references read numbers the C library's way, in the C locale.
  std::setlocale(LC_ALL, "C");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  switch (in.ConsumeIntegralInRange(0, 6)) {
    case 0:
      CheckIntegers(in.ConsumeRemainingBytesAsString());
      break;
    case 1:
      CheckFloat(in.ConsumeRemainingBytesAsString());
      break;
    case 2:
      CheckTokens(in);
      break;
    case 3:
      CheckLines(in.ConsumeRemainingBytesAsString());
      break;
    case 4: {
      const int precision = in.ConsumeIntegralInRange(-2, 45);
      const int decimals = in.ConsumeIntegralInRange(-2, 45);
      CheckFixed(ValueOf(in), precision, decimals);
      break;
    }
    case 5: {
      const int precision = in.ConsumeIntegralInRange(-2, 45);
      const int exponentDigits = in.ConsumeIntegralInRange(-1, 6);
      CheckGeneral(ValueOf(in), precision, exponentDigits);
      break;
    }
    default: {
      CheckShortest(Bits<float>(in));
      break;
    }
  }
  return 0;
}
