#include "command_line.h"

#include <strings.h>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <string_view>

#include "electronics.h"

namespace probelink_cli {
namespace {

constexpr int kMaxStreamRegisters = 70;

// Hexadecimal with 0x, else decimal: a leading zero is not octal.
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

// Leaves the number in plain decimal for CLI11's own conversion.
CLI::Validator Number(long low, long high) {
  return {[=](std::string& text) {
            const auto value = ParseNumber(text);
            if (!value || *value < low || *value > high)
              return "'" + text + "' is not a number from " + std::to_string(low) + " to " +
                     std::to_string(high) + " (0x for hexadecimal)";
            text = std::to_string(*value);
            return std::string();
          },
          ""};
}

// COM5, com5 or plain 5.
CLI::Validator ComPort() {
  return {[](std::string& text) {
            std::string_view number = text;
            if (number.size() > 3 && strncasecmp(text.c_str(), "COM", 3) == 0)
              number.remove_prefix(3);
            const auto value = ParseNumber(number);
            if (!value || *value < kFirstCom || *value > kLastCom)
              return "'" + text + "' is not a port from COM1 to COM16";
            text = std::to_string(*value);
            return std::string();
          },
          ""};
}

CLI::Option* AddPort(CLI::App& command, Invocation& inv) {
  return command.add_option("port", inv.com, "the COM port, COM1 to COM16")
      ->required()
      ->type_name("COMn")
      ->transform(ComPort());
}

void AddPorts(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand("ports", "COM1 to COM16: device, whether it exists and opens");
  c->add_flag("--probe", inv.probe, "ask each port that opens whether electronics answer");
}

void AddIdentify(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand(
      "identify", "model, firmware, power-on hours and cycles, interpolation, frequency");
  AddPort(*c, inv);
}

void AddStatus(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand("status", "position, index, alarms and signal level");
  AddPort(*c, inv);
  CLI::Option* watch = c->add_flag("--watch", inv.watch, "one line a sample until Ctrl-C");
  c->add_option("--seconds", inv.seconds, "stop watching after this long")
      ->type_name("S")
      ->check(CLI::PositiveNumber)
      ->needs(watch);
  c->add_option("--interval", inv.interval, "seconds between samples (default 0.1)")
      ->type_name("S")
      ->check(CLI::NonNegativeNumber)
      ->needs(watch);
}

void AddAlign(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand(
      "align", "alignment figures of the moving read-head, with verdicts (exit 4: out of tolerance)");
  AddPort(*c, inv);
  c->add_option("--seconds", inv.seconds,
                "measure this long (default 5); with --watch, stop after this long")
      ->type_name("S")
      ->check(CLI::PositiveNumber);
  c->add_option("--tolerances", inv.tolerances,
                "read the bounds from this file's [tolerances], as Quillon-options.ini")
      ->type_name("FILE")
      ->check(CLI::ExistingFile);
  c->add_flag("--watch", inv.watch,
              "a live meter, four updates a second until Ctrl-C: each figure with an arrow, "
              "up when it came nearer its ideal, down when it went further");
}

void AddRead(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand("read", "registers by number (all the survey's without)");
  AddPort(*c, inv);
  c->add_option("registers", inv.registers, "register numbers, 0x hexadecimal or decimal")
      ->type_name("REG")
      ->transform(Number(0, 0xFF));
}

void AddWrite(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand("write", "write a register, then read it back");
  AddPort(*c, inv);
  c->add_option("register", inv.reg, "register number, 0x00 to 0x7F")
      ->required()
      ->type_name("REG")
      ->transform(Number(0, reg::kWriteOffset - 1));
  c->add_option("value", inv.value, "16-bit value")
      ->required()
      ->type_name("VALUE")
      ->transform(Number(0, 0xFFFF));
  c->add_flag("--yes", inv.yes, "confirm the change")->required();
}

void AddStream(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand("stream", "records of registers with a timestamp each");
  AddPort(*c, inv);
  c->add_option("--registers", inv.registers, "registers in each record, comma-separated")
      ->required()
      ->delimiter(',')
      ->type_name("LIST")
      ->transform(Number(0, 0xFF));
  CLI::Option* count = c->add_option("--count", inv.count, "stop after N records")
                           ->type_name("N")
                           ->check(CLI::PositiveNumber);
  c->add_option("--seconds", inv.seconds, "stop after S seconds")
      ->type_name("S")
      ->check(CLI::PositiveNumber)
      ->excludes(count);
  c->add_option("--format", inv.format, "csv (default) or json lines")
      ->check(CLI::IsMember({"csv", "json"}));
  c->final_callback([&inv] {
    if (!inv.count && !inv.seconds) throw CLI::RequiredError("--count or --seconds");
    if (inv.registers.size() > kMaxStreamRegisters)
      throw CLI::ValidationError("--registers", "at most 70 registers a record");
    // Each register names a column.
    for (size_t i = 0; i < inv.registers.size(); ++i)
      if (std::count(inv.registers.begin(), inv.registers.begin() + i, inv.registers[i]))
        throw CLI::ValidationError("--registers", Hex(inv.registers[i], 2) + " twice");
  });
}

void AddReset(CLI::App& app, Invocation& inv) {
  CLI::App* c = app.add_subcommand("reset", "restart the electronics");
  AddPort(*c, inv);
  CLI::Option* software = c->add_flag("--software", inv.software, "by command");
  c->add_flag("--hardware", inv.hardware, "by a DTR pulse")->excludes(software);
  c->final_callback([&inv] {
    if (!inv.software && !inv.hardware) throw CLI::RequiredError("--software or --hardware");
  });
}

void AddDeviceCommands(CLI::App& app, Invocation& inv) {
  CLI::App* zero = app.add_subcommand("zero", "zero the position counter");
  AddPort(*zero, inv);
  zero->add_flag("--yes", inv.yes, "confirm the change")->required();
  AddPort(*app.add_subcommand("center-index", "centre the index mark"), inv);
  CLI::App* set = app.add_subcommand("set", "interpolation level and output frequency");
  AddPort(*set, inv);
  set->add_option("--interpolation", inv.interpolation, "level, 4 to 4096")
      ->type_name("LEVEL")
      ->transform(Number(kLowestInterpolation, kHighestInterpolation));
  set->add_option("--frequency", inv.frequency, "setting, 1 (7.2 MHz) to 6 (225 kHz)")
      ->type_name("SETTING")
      ->transform(Number(kFastestFrequency, kSlowestFrequency));
  set->add_flag("--yes", inv.yes, "confirm the change")->required();
  set->final_callback([&inv] {
    if (!inv.interpolation && !inv.frequency)
      throw CLI::RequiredError("--interpolation or --frequency");
  });
}

}  // namespace

void DescribeCommands(CLI::App& app, Invocation& inv) {
  app.description("The Veritrak II electronics from a shell, through probelink.");
  app.set_version_flag("--version", "probelink-cli " PROBELINK_CLI_VERSION);
  app.add_flag("--json", inv.json, "one JSON document, or one JSON object a line for streams");
  app.add_flag("--bash-completion", inv.bashCompletion, "print the bash completion script")
      ->group("");
  app.fallthrough();
  app.require_subcommand(0, 1);
  AddPorts(app, inv);
  AddIdentify(app, inv);
  AddStatus(app, inv);
  AddAlign(app, inv);
  AddRead(app, inv);
  AddWrite(app, inv);
  AddStream(app, inv);
  AddReset(app, inv);
  AddDeviceCommands(app, inv);
  app.final_callback([&app, &inv] {
    if (!app.get_subcommands().empty())
      inv.command = app.get_subcommands().front()->get_name();
    else if (!inv.bashCompletion)
      throw CLI::RequiredError::Subcommand(1);
  });
}

int AnswerParseError(const CLI::App& app, const CLI::ParseError& error) {
  if (error.get_exit_code() == 0) {
    std::cout << (dynamic_cast<const CLI::CallForVersion*>(&error)
                      ? std::string(error.what()) + "\n"
                      : app.help());
    return 0;
  }
  const CLI::App* at = &app;
  std::string name = app.get_name();
  for (const CLI::App* command = &app; !command->get_subcommands().empty();) {
    command = command->get_subcommands().back();
    at = command;
    name += " " + command->get_name();
  }
  std::cerr << "probelink-cli: " << error.what() << '\n' << CLI::Formatter().make_usage(at, name);
  return 2;
}

}  // namespace probelink_cli
