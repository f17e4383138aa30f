#include "electronics.h"

#include <charconv>
#include <cstdio>
#include <iterator>

namespace probelink_cli {

std::optional<std::string> ModelName(int code) {
  static const char* const names[] = {"Kestrel", "Kestrel", "Heron", "Osprey", "Plover"};
  if (code < 0 || code > 4) return std::nullopt;
  return names[code];
}

std::optional<double> OutputFrequencyMHz(uint16_t statusSetup) {
  static const double megahertz[] = {14.4, 7.2, 3.6, 1.8, 0.9, 0.45, 0.225};
  const size_t setting = statusSetup & 7u;
  if (setting >= std::size(megahertz)) return std::nullopt;
  return megahertz[setting];
}

std::optional<long> ParseNumber(std::string_view text) {
  int base = 10;
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
    base = 16;
  }
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

std::string Hex(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

}  // namespace probelink_cli
