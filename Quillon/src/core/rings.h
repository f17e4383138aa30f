// The four sample rings of a connection. Each is a set of parallel arrays
// indexed by slot; the acquisition threads write them, and the window reads
// them only between samples (inside a synchronised call) or after a run.
#pragma once

#include <array>
#include <cstdint>

namespace quillon {

enum View : int { StatusView = 0, SignalView = 1, StrengthView = 2, PositionView = 3,
                  EngineeringView = 4 };
constexpr int kPlottedViews = 4;

constexpr int32_t kStatusRingSize = 2000;
constexpr int32_t kPlotRingSize = 20000;

constexpr int32_t RingSize(int view) { return view == StatusView ? kStatusRingSize : kPlotRingSize; }

struct StatusRing {
  std::array<int32_t, kStatusRingSize> position{};
  std::array<int32_t, kStatusRingSize> x{};
  std::array<int32_t, kStatusRingSize> y{};
  std::array<int32_t, kStatusRingSize> status{};
  std::array<float, kStatusRingSize> interval{};
};

struct SignalRing {
  std::array<uint16_t, kPlotRingSize> x{};
  std::array<uint16_t, kPlotRingSize> y{};
  std::array<uint16_t, kPlotRingSize> magnitude{};
  std::array<uint16_t, kPlotRingSize> angle{};
  std::array<float, kPlotRingSize> interval{};
};

struct StrengthRing {
  std::array<int32_t, kPlotRingSize> position{};
  std::array<int32_t, kPlotRingSize> x{};
  std::array<int32_t, kPlotRingSize> y{};
  std::array<float, kPlotRingSize> interval{};
};

struct PositionRing {
  std::array<int32_t, kPlotRingSize> position{};
  std::array<float, kPlotRingSize> velocity{};
  std::array<float, kPlotRingSize> interval{};
};

}  // namespace quillon
