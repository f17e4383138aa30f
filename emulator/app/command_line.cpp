#include "command_line.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace veritrak {
namespace {

constexpr int64_t kMaxCount = (1 << 29) - 1;
constexpr int64_t kDayMs = 24LL * 3600 * 1000;

std::string OutOfRange(const std::string& text, double low, double high) {
  std::ostringstream message;
  message << "'" << text << "' is not a number from " << low << " to " << high;
  return message.str();
}

bool ParseNumber(const std::string& text, double low, double high, double& value) {
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return !text.empty() && *end == '\0' && value >= low && value <= high;
}

// CLI11's own ranges let NaN through and its integers read a leading 0 as
// octal; these keep the program's plain decimal (or hexadecimal) numbers.
CLI::Validator NumberIn(double low, double high) {
  return {[=](std::string& text) {
            double value = 0;
            return ParseNumber(text, low, high, value) ? std::string()
                                                       : OutOfRange(text, low, high);
          },
          ""};
}

// Leaves the number in plain decimal for CLI11's conversion.
CLI::Validator IntegerIn(int64_t low, int64_t high, int base = 10) {
  return {[=](std::string& text) {
            const char* first = text.c_str();
            if (base == 16 && text.starts_with("0x")) first += 2;
            int64_t value = 0;
            const auto [end, error] =
                std::from_chars(first, text.c_str() + text.size(), value, base);
            if (text.empty() || error != std::errc() || *end != '\0' || value < low || value > high)
              return OutOfRange(text, static_cast<double>(low), static_cast<double>(high));
            text = std::to_string(value);
            return std::string();
          },
          ""};
}

CLI::Validator AmplitudeRange() {
  return {[](std::string& text) {
            const size_t colon = text.find(':');
            double low = 0, high = 0;
            const std::string first = text.substr(0, colon);
            const std::string second = colon == std::string::npos ? first : text.substr(colon + 1);
            if (!ParseNumber(first, 0, 2047, low)) return OutOfRange(first, 0, 2047);
            if (!ParseNumber(second, 0, 2047, high)) return OutOfRange(second, 0, 2047);
            return high < low ? std::string("the high amplitude is below the low one")
                              : std::string();
          },
          ""};
}

void SetAmplitude(HeadSettings& head, const std::string& text) {
  const size_t colon = text.find(':');
  head.amplitudeLow = std::strtod(text.substr(0, colon).c_str(), nullptr);
  head.amplitudeHigh = colon == std::string::npos
                           ? head.amplitudeLow
                           : std::strtod(text.substr(colon + 1).c_str(), nullptr);
}

using Millis = std::chrono::milliseconds;

void AddMillis(CLI::App& app, const char* name, const char* help, std::function<void(Millis)> set) {
  app.add_option_function<int64_t>(
         name, [set](int64_t ms) { set(Millis(ms)); }, help)
      ->type_name("MS")
      ->transform(IntegerIn(0, kDayMs));
}

void Describe(CLI::App& app, ProgramOptions& p) {
  app.description(
      "Plays the Veritrak II electronics on a pseudo-terminal linked as a COM port\n"
      "in ${XDG_CONFIG_HOME:-~/.config}/probelink/ports, until SIGINT or SIGTERM.\n"
      "SIGUSR1 pulls the cable, SIGUSR2 plugs it back in. SIGRTMIN unplugs the\n"
      "adapter: the pseudo-terminal closes, and a new one is linked as the same\n"
      "COM port after --vanish-for.");
  app.set_help_flag("--help", "show this text");
  app.set_version_flag("--version", VersionText(), "show the version");
  DeviceSettings& device = p.emulator.device;
  HeadSettings& head = p.emulator.head;
  FaultSettings& faults = p.emulator.faults;
  app.add_option("--com", p.com, "link the port as COMn, 1 to 16 (default 3)")
      ->type_name("N")
      ->transform(IntegerIn(1, 16));
  app.add_flag("--paced", p.emulator.line.paced,
               "send and take bytes at the real 38400 baud 8E1 rate");
  AddMillis(app, "--burst",
            "with --paced, hand the bytes over in packets every MS milliseconds, as a USB "
            "adapter does (default 0: as they are due)",
            [&p](Millis ms) { p.emulator.line.packetPeriod = ms; });
  app.add_option("--record-rate", p.emulator.line.recordRate,
                 "unpaced stream records a second, 0 as fast as the line drains (default 2000)")
      ->type_name("HZ")
      ->check(NumberIn(0, 1e7));
  app.add_option("--model", device.modelCode, "model code 0 to 15 in register 0x20 (default 1)")
      ->type_name("CODE")
      ->transform(IntegerIn(0, 15));
  app.add_option("--firmware", device.firmwareVersion,
                 "firmware version word; the host wants 5 in bits 8 to 11 (default 0512)")
      ->type_name("HEX")
      ->transform(IntegerIn(0, 0xFFFF, 16));
  app.add_option("--hours", device.powerOnHours, "power-on hours (default 1234)")
      ->type_name("N")
      ->transform(IntegerIn(0, INT32_MAX));
  app.add_option("--cycles", device.powerOnCycles, "power-on cycles (default 56)")
      ->type_name("N")
      ->transform(IntegerIn(0, INT32_MAX));
  AddMillis(app, "--reset-ms",
            "how long a software reset leaves the electronics deaf (default 800)",
            [&](Millis ms) { device.resetTime = ms; });
  app.add_option("--start", head.startPosition,
                 "where the read-head starts, 4096 counts a signal period (default 0)")
      ->type_name("COUNTS")
      ->transform(IntegerIn(-kMaxCount, kMaxCount));
  app.add_option("--speed", head.speed, "head speed; 0 stands still (default 20000)")
      ->type_name("COUNTS/S")
      ->check(NumberIn(0, 1e9));
  app.add_option("--travel", head.travel,
                 "length of the head's sweep back and forth (default 163840)")
      ->type_name("COUNTS")
      ->transform(IntegerIn(0, kMaxCount));
  app.add_option_function<int32_t>(
         "--index-at", [&](int32_t at) { head.indexAt = at; },
         "position of the index mark (default the middle of the sweep)")
      ->type_name("COUNTS")
      ->transform(IntegerIn(-kMaxCount, kMaxCount));
  app.add_option_function<std::string>(
         "--amplitude", [&](const std::string& text) { SetAmplitude(head, text); },
         "signal amplitude along the sweep, 12-bit counts (default 180:1200)")
      ->type_name("LOW[:HIGH]")
      ->check(AmplitudeRange());
  app.add_option_function<double>(
         "--noise", [&](double volts) { head.noise = volts / kVoltsPerCount; },
         "peak noise on each signal channel (default 0.002)")
      ->type_name("V")
      ->check(NumberIn(0, 1));
  // A misaligned head, to check the alignment figures against.
  app.add_option("--offset-sin", head.sineOffset, "offset of the sine channel (default 0)")
      ->type_name("V")
      ->check(NumberIn(-0.5, 0.5));
  app.add_option("--offset-cos", head.cosineOffset, "offset of the cosine channel (default 0)")
      ->type_name("V")
      ->check(NumberIn(-0.5, 0.5));
  app.add_option("--gain-ratio", head.gainRatio, "cosine amplitude over sine amplitude (default 1)")
      ->type_name("R")
      ->check(NumberIn(0.1, 10));
  app.add_option("--phase-error", head.phaseError,
                 "degrees the cosine leads the sine beyond a quarter period (default 0)")
      ->type_name("DEG")
      ->check(NumberIn(-45, 45));
  app.add_option("--seed", head.seed, "seed of the noise and of the line faults (default 1)")
      ->type_name("N")
      ->transform(IntegerIn(0, UINT32_MAX));
  app.add_option("--drop", faults.dropFraction, "lose this fraction of the bytes sent")
      ->type_name("FRACTION")
      ->check(NumberIn(0, 1));
  app.add_option("--corrupt", faults.corruptFraction, "corrupt this fraction of the bytes sent")
      ->type_name("FRACTION")
      ->check(NumberIn(0, 1));
  app.add_flag("--refuse-acks", faults.refuseAcks, "refuse every write and mode command");
  AddMillis(app, "--late", "answer this many milliseconds late",
            [&](Millis ms) { faults.lateBy = ms; });
  AddMillis(app, "--silent-after", "pull the cable this long after start",
            [&](Millis ms) { p.silentAfter = ms; });
  AddMillis(app, "--silent-for", "how long a pulled cable stays out (default until SIGUSR2)",
            [&](Millis ms) { p.silentFor = ms; });
  AddMillis(app, "--vanish-after", "unplug the adapter this long after start",
            [&](Millis ms) { p.vanishAfter = ms; });
  AddMillis(app, "--vanish-for", "how long an unplugged adapter stays out (default 2000)",
            [&](Millis ms) { p.vanishFor = ms; });
}

}  // namespace

ProgramOptions ParseCommandLine(std::span<const char* const> args) {
  ProgramOptions options;
  CLI::App app("", "veritrak-emulator");
  Describe(app, options);
  std::vector<const char*> argv{"veritrak-emulator"};
  argv.insert(argv.end(), args.begin(), args.end());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::CallForHelp&) {
    options.help = true;
  } catch (const CLI::CallForVersion&) {
    options.version = true;
  } catch (const CLI::ParseError& e) {
    throw std::invalid_argument(e.what());
  }
  return options;
}

std::string VersionText() { return "veritrak-emulator " VERITRAK_EMULATOR_VERSION "\n"; }

std::string UsageText() {
  ProgramOptions unused;
  CLI::App app("", "veritrak-emulator");
  Describe(app, unused);
  return app.help();
}

}  // namespace veritrak
