#include "text_scan.h"

#include <charconv>

namespace quillon {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

QByteArrayView Trimmed(QByteArrayView text) {
  while (!text.isEmpty() && IsSpace(text.front())) text = text.sliced(1);
  while (!text.isEmpty() && IsSpace(text.back())) text.chop(1);
  return text;
}

// from_chars takes no "+"; the old text streams did.
QByteArrayView WithoutPlus(QByteArrayView text) {
  return text.size() > 1 && text.front() == '+' && text[1] != '-' ? text.sliced(1) : text;
}

template <class T>
bool ParseWhole(QByteArrayView text, T& value) {
  text = WithoutPlus(Trimmed(text));
  if (text.isEmpty()) return false;
  const char* end = text.data() + text.size();
  T parsed{};
  const auto result = std::from_chars(text.data(), end, parsed);
  if (result.ec != std::errc() || result.ptr != end) return false;
  value = parsed;
  return true;
}

}  // namespace

bool LineCursor::Next(QByteArrayView& line) {
  if (pos_ >= text_.size()) return false;
  qsizetype end = pos_;
  while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
  line = text_.sliced(pos_, end - pos_);
  pos_ = end;
  if (pos_ < text_.size() && text_[pos_] == '\r') ++pos_;
  if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
  return true;
}

QStringList SplitLines(QByteArrayView text) {
  QStringList lines;
  LineCursor cursor(text);
  QByteArrayView line;
  while (cursor.Next(line)) lines << QString::fromUtf8(line);
  return lines;
}

QByteArray JoinLines(const QStringList& lines) {
  QByteArray text;
  for (const QString& line : lines) text += line.toUtf8() + kLineEnd;
  return text;
}

bool ParseInt32(QByteArrayView text, int32_t& value) { return ParseWhole(text, value); }
bool ParseUInt16(QByteArrayView text, uint16_t& value) { return ParseWhole(text, value); }
bool ParseFloat(QByteArrayView text, float& value) { return ParseWhole(text, value); }

QByteArrayView TokenReader::Next() {
  while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
  const qsizetype start = pos_;
  while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
  return text_.sliced(start, pos_ - start);
}

}  // namespace quillon
