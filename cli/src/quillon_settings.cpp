#include "quillon_settings.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace probelink_cli {
namespace {

constexpr char kNamesFile[] = "grating2.ini";
constexpr std::uintmax_t kMaxFileBytes = 64 * 1024;
constexpr int kMaxGratings = 100;
constexpr double kAny = 1e300;

// One key line: its key (cut off by length, not compared) and the range of
// values the window's dialogs accept; a text line has no range.
struct KeyLine {
  const char* key;
  enum { Float, Integer, Text } kind;
  double lowest = -kAny, highest = kAny;
};

const std::array<KeyLine, 13> kKeyLines{{
    {"siglevelmult=", KeyLine::Float},
    {"lissplot=", KeyLine::Integer, 5, 1000},
    {"minimumcircle=", KeyLine::Float, 0.01f, 0.75f},
    {"maximumcircle=", KeyLine::Float, 0.01f, 0.75f},
    {"encodertype=", KeyLine::Integer, 0, 1},
    {"unittype=", KeyLine::Integer, 0, 5},
    {"digits=", KeyLine::Integer, 0, 10},
    {"units=", KeyLine::Text},
    {"signalplot=", KeyLine::Integer, 100, 10000},
    {"gratingindex=", KeyLine::Integer},
    {"encoderplottype=", KeyLine::Integer, 0, 2},
    {"positionplottype=", KeyLine::Integer, 0, 2},
    {"numgratings=", KeyLine::Integer, 0, kMaxGratings},
}};
enum Line {
  kMinimumCircle = 2,
  kMaximumCircle = 3,
  kEncoderType = 4,
  kUnitType = 5,
  kGratingIndex = 9,
  kGratingCount = 12
};

std::optional<std::vector<std::string>> ReadLines(const std::filesystem::path& file) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  std::ifstream in(file, std::ios::binary);
  if (error || size > kMaxFileBytes || !in) return std::nullopt;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// A whole number or decimal, blanks around it allowed (as the window reads).
std::optional<double> Number(std::string text, bool integer) {
  text.erase(0, text.find_first_not_of(" \t"));
  text.erase(text.find_last_not_of(" \t") + 1);
  double value = 0;
  long whole = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] =
      integer ? std::from_chars(text.data(), end, whole) : std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return integer ? static_cast<double>(whole) : value;
}

// Blanks are removed wherever they stand before the key is cut off.
std::optional<double> KeyValue(const KeyLine& key, std::string line) {
  std::erase(line, ' ');
  const std::string value = line.substr(std::min(line.size(), std::strlen(key.key)));
  if (key.kind == KeyLine::Text) return 0;
  const auto number = Number(value, key.kind == KeyLine::Integer);
  if (!number || !std::isfinite(*number) || *number < key.lowest || *number > key.highest)
    return std::nullopt;
  return number;
}

std::optional<WindowUnits> Parse(const std::vector<std::string>& lines) {
  std::array<double, kKeyLines.size()> values{};
  for (size_t i = 0; i < kKeyLines.size(); ++i) {
    const auto value = i < lines.size() ? KeyValue(kKeyLines[i], lines[i]) : std::nullopt;
    if (!value) return std::nullopt;
    values[i] = *value;
  }
  const auto gratings = static_cast<size_t>(values[kGratingCount]);
  if (values[kMinimumCircle] > values[kMaximumCircle] ||
      lines.size() < kKeyLines.size() + gratings || values[kGratingIndex] < 0 ||
      values[kGratingIndex] >= static_cast<double>(gratings))
    return std::nullopt;
  for (size_t i = 0; i < gratings; ++i) {
    const auto counts = Number(lines[kKeyLines.size() + i], true);
    if (!counts || *counts < 1 || *counts > INT32_MAX) return std::nullopt;
  }
  return WindowUnits{static_cast<int>(values[kEncoderType]), static_cast<int>(values[kUnitType])};
}

}  // namespace

std::optional<WindowUnits> ReadWindowUnits(const std::filesystem::path& folder) {
  std::error_code error;
  if (!std::filesystem::exists(folder / kSettingsFile, error)) return std::nullopt;
  const auto lines = ReadLines(folder / kSettingsFile);
  const auto units = lines ? Parse(*lines) : std::nullopt;
  if (!units || !ReadLines(folder / kNamesFile)) return WindowUnits{};
  return units;
}

}  // namespace probelink_cli
