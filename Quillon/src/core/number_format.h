// Number texts of the settings files, the data files and the window. They
// never depend on the process locale: the separator is always ".", there is
// no digit grouping, and a value that rounds to zero carries no "-".
// Not-a-number and infinities are written "NAN", "INF" and "-INF", which the
// readers accept back. Rounding is to the nearest; a value exactly halfway
// (possible only for binary fractions such as 0.125) rounds to even.
#pragma once

#include <QString>

namespace quillon {

// `value` rounded to `precision` significant digits (or to `decimals` places,
// whichever keeps fewer digits) and written with exactly `decimals` digits
// after the point: FormatFixed(0.1, 5, 4) is "0.1000". A value with more than
// `precision` digits before the point is written in scientific form instead:
// the mantissa with `precision` significant digits, "E", the exponent's sign
// and at least two exponent digits: FormatFixed(123456.7, 5, 1) is
// "1.2346E+05".
QString FormatFixed(double value, int precision, int decimals);

// At most `precision` significant digits, trailing zeros dropped and no point
// when nothing follows it. Fixed layout while the value has no more than
// `precision` digits before the point and is at least 0.00001 in magnitude;
// otherwise scientific: "E", a "-" only for a negative exponent, and at least
// `exponentDigits` exponent digits: FormatGeneral(1.5e-6, 7, 3) is "1.5E-006".
QString FormatGeneral(double value, int precision, int exponentDigits);

// The shortest text that reads back to the same float, in the layout of
// FormatGeneral with 15 digits of precision and no minimum exponent width:
// 0.1f gives "0.1", 1e-7f gives "1E-7".
QString FormatShortest(float value);

}  // namespace quillon
