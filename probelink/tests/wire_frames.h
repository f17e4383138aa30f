// Frames as they travel on the line, built here from their layout rather than
// by the library or the emulator, so that the code on both ends must agree
// with the layout: the head, the body, then the sum of all their bytes, low
// byte first. The emulator's tests build the host's frames with these too.
#pragma once

#include <cstdint>
#include <numeric>
#include <vector>

using Bytes = std::vector<uint8_t>;

inline Bytes Join(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
inline Bytes Framed(const Bytes& head, const Bytes& body) {
  const Bytes frame = Join(head, body);
  const unsigned sum = std::accumulate(frame.begin(), frame.end(), 0u);
  return Join(frame, {static_cast<uint8_t>(sum), static_cast<uint8_t>(sum >> 8)});
}
inline Bytes Request(uint8_t code, const Bytes& payload) {
  const auto n = static_cast<uint8_t>(payload.size());
  return Framed({0x80, code, n, n}, payload);
}
// The library does not look at a reply's command byte; the emulator fills it in.
inline Bytes Reply(const Bytes& data, uint8_t command = 0) {
  return Framed({0x90, command, static_cast<uint8_t>(data.size()), 0}, data);
}
