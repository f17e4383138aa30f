// Reading the program's text files as the old text streams did: lines ended
// by CR LF, LF or a lone CR, and numbers separated by white space. Numbers are
// read without regard to the process locale.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <cstdint>

namespace quillon {

inline constexpr char kLineEnd[] = "\r\n";

class LineCursor {
 public:
  explicit LineCursor(QByteArrayView text) : text_(text) {}
  // The next line without its ending; false once the text is used up (a
  // line break at the very end starts no further line).
  bool Next(QByteArrayView& line);
  QByteArrayView Rest() const { return text_.sliced(pos_); }

 private:
  QByteArrayView text_;
  qsizetype pos_ = 0;
};

// Every line of a UTF-8 text.
QStringList SplitLines(QByteArrayView text);
// Each line followed by CR LF, as UTF-8.
QByteArray JoinLines(const QStringList& lines);

// Whole-text conversions: surrounding white space is allowed, anything else
// that is not part of the number fails. Infinite and NaN floats are accepted
// (the writers produce them for such values); out-of-range numbers fail.
bool ParseInt32(QByteArrayView text, int32_t& value);
bool ParseUInt16(QByteArrayView text, uint16_t& value);
bool ParseFloat(QByteArrayView text, float& value);

// White-space separated numbers, one after the other.
class TokenReader {
 public:
  explicit TokenReader(QByteArrayView text) : text_(text) {}
  bool Int32(int32_t& value) { return ParseInt32(Next(), value); }
  bool UInt16(uint16_t& value) { return ParseUInt16(Next(), value); }
  bool Float(float& value) { return ParseFloat(Next(), value); }

 private:
  QByteArrayView Next();
  QByteArrayView text_;
  qsizetype pos_ = 0;
};

}  // namespace quillon
