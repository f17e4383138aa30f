// The program's commands and options, read by CLI11, and its answers to a
// command line it cannot follow.
#pragma once

#include <CLI/CLI.hpp>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "count_length.h"
#include "fields.h"

namespace probelink_cli {

// What the command line asks for; each command reads the fields it owns.
struct Invocation {
  std::string command;
  bool json = false;
  bool bashCompletion = false;
  std::string port;                                 // "COM5" or an absolute device path
  bool probe = false;                               // ports
  std::vector<std::string> assign;                  // ports: COMn and a device
  std::string unassign;                             // ports: COMn
  bool watch = false;                               // status, align
  double interval = 0.1;                            // status --watch, seconds between samples
  std::optional<double> seconds;                    // status --watch, stream, align
  std::optional<long> count;                        // stream
  std::vector<int> registers;                       // read
  bool all = false;                                 // read: the display's whole survey
  std::vector<Field> fields;                        // stream
  std::string format;                               // stream: csv or json
  int reg = 0;                                      // write
  int value = 0;                                    // write
  bool yes = false;                                 // the commands that change the electronics
  bool software = false, hardware = false;          // reset
  std::optional<int> interpolation, frequency;      // set
  std::string tolerances;                           // align: the options file to read them from
  std::optional<Length> countLength, gratingPitch;  // stream, status
  std::optional<std::filesystem::path> settings;    // stream, status: the window's folder
  std::optional<LengthRule> length;                 // stream, status: from the three above
  std::string topic;                                // help
};

// The commands that change the electronics, each acting only with --yes.
inline constexpr const char* kChangingCommands[] = {"write", "set", "zero", "reset",
                                                    "center-index"};

// Declares every command and option on `app`, filling `invocation` when
// parsed.
void DescribeCommands(CLI::App& app, Invocation& invocation);
// The values an option takes from a fixed set, for completion: "csv json"
// for --format; "" for an option that takes anything.
std::string FixedValues(const std::string& option);
// The program's answer to a parse error: --help and --version print and
// give 0; anything else is told on standard error (as JSON with `json`)
// with the usage line of the command at fault, and gives 2.
int AnswerParseError(const CLI::App& app, const CLI::ParseError& error, bool json);

}  // namespace probelink_cli
