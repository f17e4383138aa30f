#include "command_line.h"

#include <charconv>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace veritrak {
namespace {

struct OptionEntry {
  const char* name;
  const char* argument;  // nullptr for a flag
  const char* help;
  std::function<void(ProgramOptions&, const std::string&)> apply;
};

std::invalid_argument OutOfRange(const std::string& text, double low, double high) {
  std::ostringstream message;
  message << "'" << text << "' is not a number from " << low << " to " << high;
  return std::invalid_argument(message.str());
}

double Number(const std::string& text, double low, double high) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(value >= low && value <= high))
    throw OutOfRange(text, low, high);
  return value;
}

int64_t Integer(const std::string& text, int64_t low, int64_t high, int base = 10) {
  const char* first = text.c_str();
  if (base == 16 && text.starts_with("0x")) first += 2;
  int64_t value = 0;
  const auto [end, error] = std::from_chars(first, text.c_str() + text.size(), value, base);
  if (text.empty() || error != std::errc() || *end != '\0' || value < low || value > high)
    throw OutOfRange(text, static_cast<double>(low), static_cast<double>(high));
  return value;
}

std::chrono::milliseconds Millis(const std::string& text) {
  return std::chrono::milliseconds(Integer(text, 0, 24LL * 3600 * 1000));
}

void Amplitude(HeadSettings& head, const std::string& text) {
  const size_t colon = text.find(':');
  head.amplitudeLow = Number(text.substr(0, colon), 0, 2047);
  head.amplitudeHigh =
      colon == std::string::npos ? head.amplitudeLow : Number(text.substr(colon + 1), 0, 2047);
  if (head.amplitudeHigh < head.amplitudeLow)
    throw std::invalid_argument("the high amplitude is below the low one");
}

constexpr int64_t kMaxCount = (1 << 29) - 1;

const std::vector<OptionEntry>& Entries() {
  using P = ProgramOptions;
  using S = const std::string&;
  static const std::vector<OptionEntry> entries = {
      {"--com", "N", "link the port as COMn, 1 to 16 (default 3)",
       [](P& p, S v) { p.com = static_cast<int>(Integer(v, 1, 16)); }},
      {"--paced", nullptr, "send and take bytes at the real 38400 baud 8E1 rate",
       [](P& p, S) { p.emulator.line.paced = true; }},
      {"--record-rate", "HZ",
       "unpaced stream records a second, 0 as fast as the line drains (default 2000)",
       [](P& p, S v) { p.emulator.line.recordRate = Number(v, 0, 1e7); }},
      {"--model", "CODE", "model code 0 to 15 in register 0x20 (default 1)",
       [](P& p, S v) { p.emulator.device.modelCode = static_cast<uint16_t>(Integer(v, 0, 15)); }},
      {"--firmware", "HEX",
       "firmware version word; the host wants 5 in bits 8 to 11 (default 0512)",
       [](P& p, S v) {
         p.emulator.device.firmwareVersion = static_cast<uint16_t>(Integer(v, 0, 0xFFFF, 16));
       }},
      {"--hours", "N", "power-on hours (default 1234)",
       [](P& p, S v) {
         p.emulator.device.powerOnHours = static_cast<uint32_t>(Integer(v, 0, INT32_MAX));
       }},
      {"--cycles", "N", "power-on cycles (default 56)",
       [](P& p, S v) {
         p.emulator.device.powerOnCycles = static_cast<uint32_t>(Integer(v, 0, INT32_MAX));
       }},
      {"--reset-ms", "MS", "how long a software reset leaves the electronics deaf (default 800)",
       [](P& p, S v) { p.emulator.device.resetTime = Millis(v); }},
      {"--start", "COUNTS", "where the read-head starts, 4096 counts a signal period (default 0)",
       [](P& p, S v) {
         p.emulator.head.startPosition = static_cast<int32_t>(Integer(v, -kMaxCount, kMaxCount));
       }},
      {"--speed", "COUNTS/S", "head speed; 0 stands still (default 20000)",
       [](P& p, S v) { p.emulator.head.speed = Number(v, 0, 1e9); }},
      {"--travel", "COUNTS", "length of the head's sweep back and forth (default 163840)",
       [](P& p, S v) { p.emulator.head.travel = static_cast<int32_t>(Integer(v, 0, kMaxCount)); }},
      {"--index-at", "COUNTS", "position of the index mark (default the middle of the sweep)",
       [](P& p, S v) {
         p.emulator.head.indexAt = static_cast<int32_t>(Integer(v, -kMaxCount, kMaxCount));
       }},
      {"--amplitude", "LOW[:HIGH]",
       "signal amplitude along the sweep, 12-bit counts (default 180:1200)",
       [](P& p, S v) { Amplitude(p.emulator.head, v); }},
      {"--noise", "COUNTS", "peak noise on each signal channel (default 4)",
       [](P& p, S v) { p.emulator.head.noise = Number(v, 0, 2047); }},
      {"--seed", "N", "seed of the noise and of the line faults (default 1)",
       [](P& p, S v) { p.emulator.head.seed = static_cast<uint32_t>(Integer(v, 0, UINT32_MAX)); }},
      {"--drop", "FRACTION", "lose this fraction of the bytes sent",
       [](P& p, S v) { p.emulator.faults.dropFraction = Number(v, 0, 1); }},
      {"--corrupt", "FRACTION", "corrupt this fraction of the bytes sent",
       [](P& p, S v) { p.emulator.faults.corruptFraction = Number(v, 0, 1); }},
      {"--refuse-acks", nullptr, "refuse every write and mode command",
       [](P& p, S) { p.emulator.faults.refuseAcks = true; }},
      {"--late", "MS", "answer this many milliseconds late",
       [](P& p, S v) { p.emulator.faults.lateBy = Millis(v); }},
      {"--silent-after", "MS", "pull the cable this long after start",
       [](P& p, S v) { p.silentAfter = Millis(v); }},
      {"--silent-for", "MS", "how long a pulled cable stays out (default until SIGUSR2)",
       [](P& p, S v) { p.silentFor = Millis(v); }},
      {"--help", nullptr, "show this text", [](P& p, S) { p.help = true; }},
  };
  return entries;
}

const OptionEntry& Find(const std::string& name) {
  for (const OptionEntry& entry : Entries())
    if (name == entry.name) return entry;
  throw std::invalid_argument("unknown option " + name);
}

}  // namespace

ProgramOptions ParseCommandLine(std::span<const char* const> args) {
  ProgramOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const OptionEntry& entry = Find(args[i]);
    if (entry.argument && i + 1 == args.size())
      throw std::invalid_argument(std::string(entry.name) + " needs " + entry.argument);
    try {
      entry.apply(options, entry.argument ? args[++i] : "");
    } catch (const std::invalid_argument& e) {
      throw std::invalid_argument(std::string(entry.name) + ": " + e.what());
    }
  }
  return options;
}

std::string UsageText() {
  std::ostringstream out;
  out << "Usage: veritrak-emulator [options]\n"
         "Plays the Veritrak II electronics on a pseudo-terminal linked as a COM port\n"
         "in ${XDG_CONFIG_HOME:-~/.config}/probelink/ports, until SIGINT or SIGTERM.\n"
         "SIGUSR1 pulls the cable, SIGUSR2 plugs it back in.\n\nOptions:\n";
  for (const OptionEntry& entry : Entries()) {
    std::string left = std::string("  ") + entry.name;
    if (entry.argument) left += std::string(" ") + entry.argument;
    left.resize(std::max<size_t>(left.size() + 1, 26), ' ');
    out << left << entry.help << "\n";
  }
  return out.str();
}

}  // namespace veritrak
