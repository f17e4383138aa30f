// The alignment figures against heads with planted errors: the emulator
// program, paced at the wire's rate, and probelink-cli's live meter, which
// fits the newest samples four times a second as the window's read-out does.
// For each head it prints the planted and the read values and the worst
// error over 20 successive fits once the meter's window is full, or the
// refusal the meter gave.
//   alignment_bench [path to veritrak-emulator] [path to probelink-cli]
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "emulator_process.h"
#include "measure/alignment_fit.h"
#include "temp_config_home.h"

namespace {

constexpr int kCom = 9;
constexpr int kFits = 20;

struct Plants {
  double sineOffset = 0, cosineOffset = 0, ratio = 1, phase = 0;  // V, -, deg
};

struct Head {
  const char* name;
  std::vector<std::string> options;  // of the emulator, beside the plants
  Plants plants;
};

// The read-outs compared with the plants: offsets in mV, ratio in %, phase in degrees.
const std::array<const char*, 4> kFigures = {"sine_offset", "cosine_offset", "amplitude_ratio",
                                             "phase_error"};

std::array<double, 4> Expected(const Plants& p) {
  return {p.sineOffset * 1000, p.cosineOffset * 1000, p.ratio * 100, p.phase};
}

std::vector<std::string> Options(const Head& head) {
  std::vector<std::string> options = head.options;
  const Plants& p = head.plants;
  for (const auto& [name, value] :
       {std::pair{"--offset-sin", p.sineOffset}, {"--offset-cos", p.cosineOffset},
        {"--gain-ratio", p.ratio}, {"--phase-error", p.phase}})
    options.insert(options.end(), {name, std::to_string(value)});
  return options;
}

struct Outcome {
  int fits = 0;
  std::array<double, 4> worst{}, lowest{}, highest{}, last{};
  std::map<std::string, int> refusals;
};

// Reads the meter's JSON lines until 20 updates came after its window filled.
Outcome Measure(const std::string& cli, const Plants& plants) {
  const std::string command = cli + " align COM" + std::to_string(kCom) + " --watch --json --seconds 30";
  Outcome o;
  o.lowest.fill(HUGE_VAL), o.highest.fill(-HUGE_VAL);
  FILE* out = popen(command.c_str(), "r");
  if (!out) return o;
  char line[4096];
  int updates = 0;
  while (updates < kFits && std::fgets(line, sizeof line, out)) {
    const auto update = nlohmann::json::parse(line, nullptr, false);
    if (update.is_discarded() || update["samples"] < measure::kFitWindowSamples) continue;
    ++updates;
    if (update["refusal"].is_string()) {
      ++o.refusals[update["refusal"]];
      continue;
    }
    ++o.fits;
    const std::array<double, 4> expected = Expected(plants);
    for (size_t i = 0; i < kFigures.size(); ++i) {
      const double read = update[kFigures[i]];
      o.last[i] = read;
      o.worst[i] = std::max(o.worst[i], std::fabs(read - expected[i]));
      o.lowest[i] = std::min(o.lowest[i], read), o.highest[i] = std::max(o.highest[i], read);
    }
  }
  pclose(out);
  return o;
}

void Print(const Head& head, const Outcome& o) {
  const auto e = Expected(head.plants);
  std::printf("%-24s %6.1f %6.1f %7.2f %6.2f |", head.name, e[0], e[1], e[2], e[3]);
  if (o.fits == 0) {
    std::printf(" no figures:");
    for (const auto& [reason, n] : o.refusals) std::printf(" %dx \"%.60s...\"", n, reason.c_str());
    std::printf("\n");
    return;
  }
  std::printf(" %6.1f %6.1f %7.2f %6.2f | %5.2f %5.2f %5.2f %5.3f | %5.2f %5.2f %5.2f %5.3f | %2d",
              o.last[0], o.last[1], o.last[2], o.last[3], o.worst[0], o.worst[1], o.worst[2],
              o.worst[3], o.highest[0] - o.lowest[0], o.highest[1] - o.lowest[1],
              o.highest[2] - o.lowest[2], o.highest[3] - o.lowest[3], o.fits);
  for (const auto& [reason, n] : o.refusals) std::printf(" +%d refused", n);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path here = std::filesystem::path(argv[0]).parent_path();
  const std::string emulator = bench::EmulatorProgram(argv[0], argc, argv, 1);
  const std::string cli =
      argc > 2 ? argv[2] : (here / "../cli/probelink-cli").string();
  const Plants all{0.02, -0.01, 1.05, 3}, negative{-0.02, 0.015, 0.95, -3};
  const std::vector<std::string> steady = {"--amplitude", "700"};
  const std::vector<Head> heads = {
      {"sweep, no plant", {}, {}},
      {"sweep, sine offset", {}, {0.02, 0, 1, 0}},
      {"sweep, cosine offset", {}, {0, -0.02, 1, 0}},
      {"sweep, gain ratio", {}, {0, 0, 1.05, 0}},
      {"sweep, phase error", {}, {0, 0, 1, 3}},
      {"sweep, all", {}, all},
      {"sweep, all negative", {}, negative},
      {"steady 700, no plant", steady, {}},
      {"steady 700, all", steady, all},
      {"steady 700, all negative", steady, negative},
      {"slow 500 c/s, all", {"--speed", "500"}, all},
      {"fast 200000 c/s, all", {"--speed", "200000"}, all},
      {"noise 0.01 V, all", {"--noise", "0.01"}, all},
      {"noise 0.01 V, steady, all", {"--noise", "0.01", "--amplitude", "700"}, all},
      {"at rest, all", {"--speed", "0"}, all},
  };
  std::printf("%-24s %27s | %28s | %-26s | %-26s | fits\n", "head", "planted: sin cos mV, ratio %, phase deg",
              "read (last fit)", "worst error of 20 fits", "range of the 20 fits");
  for (const Head& head : heads) {
    testsupport::TempConfigHome home;
    bench::EmulatorProcess process(emulator, home, kCom, true, Options(head));
    if (!process.Running()) return 1;
    Print(head, Measure(cli, head.plants));
    std::fflush(stdout);
  }
  return 0;
}
