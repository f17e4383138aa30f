#include "measure/tolerances.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <utility>

namespace measure {
namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void Take(const std::string& text, double& value) {
  char* end = nullptr;
  const double read = std::strtod(text.c_str(), &end);
  if (end != text.c_str() && *end == '\0' && std::isfinite(read) && read >= 0) value = read;
}

}  // namespace

Verdict Judge(double distance, double good, double marginal) {
  const double d = std::fabs(distance);
  if (d <= good) return Verdict::Good;
  return d <= marginal ? Verdict::Marginal : Verdict::Poor;
}

Verdict VerdictOfBand(LevelBand band) {
  switch (band) {
    case LevelBand::Good: return Verdict::Good;
    case LevelBand::Marginal: return Verdict::Marginal;
    case LevelBand::Poor:
    case LevelBand::OverSignal: break;
  }
  return Verdict::Poor;
}

const char* VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::Good: return "good";
    case Verdict::Marginal: return "marginal";
    case Verdict::Poor: break;
  }
  return "poor";
}

Verdict Worst(std::span<const Verdict> verdicts) {
  Verdict worst = Verdict::Good;
  for (Verdict v : verdicts) worst = std::max(worst, v);
  return worst;
}

// The file is a Qt INI file that people edit by hand; the few numeric keys
// need no more than sections and key=value lines. A library is no help here:
// the Windows build of probelink-cli takes header-only libraries alone.
AlignmentTolerances ReadTolerances(const std::string& optionsFile) {
  AlignmentTolerances t;
  const std::pair<const char*, double*> keys[] = {
      {"offset_good", &t.offsetGood}, {"offset_marginal", &t.offsetMarginal},
      {"ratio_good", &t.ratioGood},   {"ratio_marginal", &t.ratioMarginal},
      {"phase_good", &t.phaseGood},   {"phase_marginal", &t.phaseMarginal}};
  std::ifstream file(optionsFile);
  std::string line, section;
  while (std::getline(file, line)) {
    line = Trimmed(line);
    if (line.starts_with('[') && line.ends_with(']')) {
      section = line.substr(1, line.size() - 2);
      continue;
    }
    const auto equals = line.find('=');
    if (section != "tolerances" || equals == std::string::npos) continue;
    const std::string key = Trimmed(line.substr(0, equals));
    for (const auto& [name, value] : keys)
      if (key == name) Take(Trimmed(line.substr(equals + 1)), *value);
  }
  return t;
}

}  // namespace measure
