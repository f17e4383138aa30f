#include "electronics.h"

#include <cstdio>

namespace probelink_cli {

std::optional<std::string> ModelName(int code) {
  static const char* const names[] = {"Kestrel", "Kestrel", "Heron", "Osprey", "Plover"};
  if (code < 0 || code > 4) return std::nullopt;
  return names[code];
}

std::string OutputFrequency(uint16_t statusSetup) {
  static const char* const frequencies[] = {"14.4 MHz", "7.2 MHz", "3.6 MHz", "1.8 MHz",
                                            "900 kHz",  "450 kHz", "225 kHz", "unknown"};
  return frequencies[statusSetup & 7];
}

std::string Hex(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, value);
  return text;
}

}  // namespace probelink_cli
