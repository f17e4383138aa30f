// probelink-cli's stream against the paced emulator program: the records it
// delivers against the records the serial line can carry, and its CPU time
// per record. Both programs run as processes of their own, as a user runs them.
//   cli_bench [seconds] [path to veritrak-emulator] [path to probelink-cli]
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "emulator_process.h"
#include "temp_config_home.h"
#include "wire_limits.h"

namespace {

constexpr int kCom = 8;

struct Run {
  long records = 0;
  double first = 0, last = 0;  // the records' own timestamps
  double cpu = 0;              // of the program, seconds
};

double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec * 1e-6 + usage.ru_stime.tv_sec +
         usage.ru_stime.tv_usec * 1e-6;
}

// Reads the CSV the program writes: a header, then "time,values...".
Run Stream(const std::string& program, const std::string& fields, double seconds) {
  const std::string command = program + " stream COM" + std::to_string(kCom) + " --fields " +
                              fields + " --count-length 0.5um --seconds " + std::to_string(seconds);
  Run run;
  const double cpuBefore = ChildrenCpuSeconds();
  FILE* out = popen(command.c_str(), "r");
  if (!out) return run;
  char line[512];
  for (bool header = true; std::fgets(line, sizeof line, out); header = false) {
    if (header) continue;
    run.last = std::atof(line);
    if (run.records++ == 0) run.first = run.last;
  }
  pclose(out);
  run.cpu = ChildrenCpuSeconds() - cpuBefore;
  return run;
}

// `fields` decoded from `n` registers a record.
void Measure(const std::string& emulator, const std::string& cli, const char* fields, int n,
             double seconds) {
  testsupport::TempConfigHome home;
  bench::EmulatorProcess process(emulator, home, kCom, true);
  const Run run = Stream(cli, fields, seconds);
  const double wire = bench::WireSamplesPerSecond({2.0 + 2 * n, 0});
  const double span = run.last - run.first;
  const double steady = run.records > 1 && span > 0 ? (run.records - 1) / span / wire : 0;
  std::printf(
      "%-66s %d registers  %7ld records  wire %6.1f/s  delivered/carried %.4f (whole run %.4f)  "
      "cpu %6.1f us/record\n",
      fields, n, run.records, wire, steady, run.records / (seconds * wire),
      run.records ? run.cpu * 1e6 / run.records : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  const std::string emulator = bench::EmulatorProgram(argv[0], argc, argv, 2);
  const std::string cli =
      argc > 3 ? argv[3]
               : (std::filesystem::path(argv[0]).parent_path() / "../cli/probelink-cli").string();
  std::printf(
      "probelink-cli stream against the paced emulator, %.0f s a run (target: "
      "delivered/carried >= 0.99)\n",
      seconds);
  Measure(emulator, cli, "sine", 1, seconds);
  Measure(emulator, cli, "sine,cosine,signal_level,signal_level_band,0x67,0x26", 4, seconds);
  Measure(emulator, cli, "position,velocity,sine,cosine,signal_level,index,red_alarm,status", 6,
          seconds);
  return 0;
}
